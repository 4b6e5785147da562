// The parameter report as an .xlsx worksheet, for LibreOffice and Excel:
// sheet "ZR470", the column names in the first row, then every row, each
// cell as text exactly as the list shows it.
//
// Threads: any; no shared state.
#pragma once

#include <filesystem>
#include <string>

struct ReportTable;

constexpr const char* kReportSheetName = "ZR470";

struct XlsxResult {
    bool bOk = false;
    std::string strError;  // what went wrong, for a log or the command line
};

// The workbook is built in a scratch file in the target's own folder (no
// TMPDIR needed) and then replaces the file in one step: a failed export
// leaves the file that was there as it was, and strError says why.
XlsxResult ExportReportXlsx(const std::filesystem::path& target, const ReportTable& table);
