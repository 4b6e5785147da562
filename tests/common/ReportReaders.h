// Reads printed and exported reports back with real readers: poppler's
// pdftotext and pdfinfo for PDFs, openpyxl (Debian's python3) for
// workbooks.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

inline std::string CommandOutput(const std::string& strCommand)
{
    std::string strOut;
    if (FILE* pPipe = popen(strCommand.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pPipe)) > 0)
            strOut.append(buffer, n);
        pclose(pPipe);
    }
    return strOut;
}

// The text of page nPage (every page when 0), laid out as printed.
inline std::string PdfText(const std::string& strPath, int nPage = 0)
{
    const std::string strRange =
        nPage > 0 ? " -f " + std::to_string(nPage) + " -l " + std::to_string(nPage) : std::string();
    return CommandOutput("pdftotext -layout" + strRange + " '" + strPath + "' - 2>/dev/null");
}

// A field of pdfinfo ("Pages", "Title"), empty when missing.
inline std::string PdfInfo(const std::string& strPath, const std::string& strKey)
{
    std::istringstream lines(CommandOutput("pdfinfo '" + strPath + "' 2>/dev/null"));
    for (std::string strLine; std::getline(lines, strLine);) {
        if (strLine.rfind(strKey + ":", 0) == 0)
            return strLine.substr(strLine.find_first_not_of(' ', strKey.size() + 1));
    }
    return {};
}

// True when every text appears in order, each after the one before it.
inline bool InOrder(const std::string& strText, const std::vector<std::string>& texts)
{
    size_t nAt = 0;
    for (const std::string& str : texts) {
        if (str.empty())
            continue;
        nAt = strText.find(str, nAt);
        if (nAt == std::string::npos)
            return false;
        nAt += str.size();
    }
    return true;
}

struct Workbook {
    std::vector<std::string> sheets;
    std::vector<std::vector<std::string>> rows;  // of the first sheet; an empty cell reads ""
    std::vector<std::string> types;              // openpyxl's data type of each cell of row 2
};

inline Workbook ReadWorkbook(const std::string& strPath)
{
    const std::string strScript =
        "import sys, openpyxl\n"
        "wb = openpyxl.load_workbook(sys.argv[1])\n"
        "print('\\t'.join(wb.sheetnames))\n"
        "ws = wb.worksheets[0]\n"
        "print('\\t'.join(c.data_type for c in ws[2]))\n"
        "for row in ws.iter_rows(values_only=True):\n"
        "    print('\\t'.join('' if v is None else str(v) for v in row))\n";
    std::istringstream lines(CommandOutput("/usr/bin/python3 -c \"" + strScript + "\" '" + strPath + "' 2>&1"));
    auto split = [](const std::string& strLine) {
        std::vector<std::string> cells;
        std::istringstream fields(strLine);
        for (std::string strCell; std::getline(fields, strCell, '\t');)
            cells.push_back(strCell);
        if (!strLine.empty() && strLine.back() == '\t')
            cells.emplace_back();
        return cells;
    };
    Workbook book;
    std::string strLine;
    if (std::getline(lines, strLine))
        book.sheets = split(strLine);
    if (std::getline(lines, strLine))
        book.types = split(strLine);
    while (std::getline(lines, strLine))
        book.rows.push_back(split(strLine));
    return book;
}
