#include "XlsxExport.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "AtomicFileWriter.h"
#include "ReportTable.h"

namespace fs = std::filesystem;

namespace {

constexpr double kColumnChars = 12.0;

// The folder the workbook goes to; its scratch work is done there too, so
// that a missing or odd TMPDIR cannot stop the export.
fs::path FolderOf(const fs::path& target)
{
    return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

// A private file for libxlsxwriter, which writes only to a named file.
struct ScratchFile {
    fs::path path;
    int nError = 0;
    explicit ScratchFile(const fs::path& folder)
    {
        std::string strPattern = (folder / ".zr470-XXXXXX").string();
        const int fd = mkstemp(strPattern.data());
        nError = fd < 0 ? errno : 0;
        if (fd >= 0) {
            close(fd);
            path = strPattern;
        }
    }
    ~ScratchFile()
    {
        std::error_code ec;
        if (!path.empty())
            fs::remove(path, ec);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
};

// Every cell carries the text format: an empty one is then still a cell
// (a blank with that format), so a separator row is a row of the sheet.
lxw_error WriteRow(lxw_worksheet* pSheet, lxw_row_t nRow, const std::vector<std::string>& cells, lxw_format* pText)
{
    for (size_t i = 0; i < cells.size(); ++i) {
        const lxw_error error =
            worksheet_write_string(pSheet, nRow, static_cast<lxw_col_t>(i), cells[i].c_str(), pText);
        if (error != LXW_NO_ERROR)
            return error;
    }
    return LXW_NO_ERROR;
}

lxw_error WriteWorkbook(const fs::path& path, const ReportTable& table)
{
    std::string strFolder = path.parent_path().string();
    lxw_workbook_options options{};
    options.tmpdir = strFolder.data();  // libxlsxwriter's own temporary files
    lxw_workbook* pBook = workbook_new_opt(path.c_str(), &options);
    if (!pBook)
        return LXW_ERROR_CREATING_XLSX_FILE;
    lxw_worksheet* pSheet = workbook_add_worksheet(pBook, kReportSheetName);
    lxw_format* pText = workbook_add_format(pBook);
    lxw_error error = pSheet && pText ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    if (error == LXW_NO_ERROR) {
        format_set_num_format(pText, "@");
        if (!table.columns.empty())
            worksheet_set_column(pSheet, 0, static_cast<lxw_col_t>(table.columns.size() - 1), kColumnChars, nullptr);
        error = WriteRow(pSheet, 0, table.columns, pText);
    }
    for (size_t nRow = 0; error == LXW_NO_ERROR && nRow < table.rows.size(); ++nRow)
        error = WriteRow(pSheet, static_cast<lxw_row_t>(nRow + 1), table.rows[nRow], pText);
    const lxw_error closed = workbook_close(pBook);  // also frees the workbook
    return error != LXW_NO_ERROR ? error : closed;
}

}  // namespace

XlsxResult ExportReportXlsx(const fs::path& target, const ReportTable& table)
{
    XlsxResult result;
    const ScratchFile scratch(FolderOf(target));
    if (scratch.path.empty()) {
        result.strError = std::system_category().message(scratch.nError);
        return result;
    }
    if (const lxw_error error = WriteWorkbook(scratch.path, table); error != LXW_NO_ERROR) {
        result.strError = lxw_strerror(error);
        return result;
    }
    std::ifstream in(scratch.path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        result.strError = "the workbook could not be read back";
        return result;
    }
    if (!CAtomicFileWriter::Write(target, bytes, &result.strError))
        return result;
    result.bOk = true;
    return result;
}
