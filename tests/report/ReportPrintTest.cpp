// The report printed into PDFs on the offscreen platform and exported as
// workbooks, each read back with a real reader.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>

#include "GlobalData.h"
#include "KTV_Data.h"
#include "ListCtrlPrint.h"
#include "ReportHeading.h"
#include "ReportReaders.h"
#include "ReportTable.h"
#include "SmallDisk.h"
#include "XlsxExport.h"

namespace {

class ReportPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bChinese = 0;
        ASSERT_TRUE(m_dir.isValid());
        m_table = BuildReportTable(m_data, 0);
    }
    std::string Path(const char* szName) const { return m_dir.filePath(szName).toStdString(); }

    QTemporaryDir m_dir;
    CKTV_Data m_data;
    ReportTable m_table;
};

std::vector<std::string> Labels(const ReportTable& table)
{
    std::vector<std::string> labels;
    for (const std::vector<std::string>& row : table.rows)
        labels.push_back(row[0]);
    return labels;
}

}  // namespace

TEST_F(ReportPrintTest, EveryRowIsPrintedInOrderUnderAHeadingThatNamesWhatItReports)
{
    const std::string strPdf = Path("report.pdf");
    CListCtrlPrint job(m_table);
    std::memcpy(m_data.State().m_IdString, "SVH1-WV1.00", 11);
    std::memcpy(m_data.State().m_LiveImage + kOffSceneName, "Hall A\0", 7);
    ReportSubject subject = LiveReportSubject(m_data.State(), true, "zr470ctl");
    subject.when = QDateTime(QDate(2026, 3, 14), QTime(9, 26));
    NameReport(job, subject);
    ASSERT_EQ(job.PrintToPdf(QString::fromStdString(strPdf)), CPrinterJob::Result::Printed);
    const int nPages = std::stoi(PdfInfo(strPdf, "Pages"));
    EXPECT_EQ(nPages, job.Pages());
    EXPECT_GE(nPages, 2) << "174 rows do not fit an A4 page at 8 points";
    EXPECT_EQ(PdfInfo(strPdf, "Title"), "ZR-470 report – Hall A");
    for (int nPage = 1; nPage <= nPages; ++nPage) {
        const std::string strPage = PdfText(strPdf, nPage);
        EXPECT_NE(strPage.find("Page " + std::to_string(nPage) + " of " + std::to_string(nPages)), std::string::npos);
        EXPECT_TRUE(InOrder(strPage, {"ZR-470 parameter report", "Scene: Hall A", "Processor: SVH1-WV1.00",
                                      "2026-03-14 09:26", "Args", "CH6"}))
            << strPage;
        EXPECT_TRUE(std::regex_search(strPage, std::regex("zr470ctl [0-9]+\\.[0-9]+\\.[0-9]+"))) << "the footer";
        const size_t nFirstRow = static_cast<size_t>((nPage - 1) * job.RowsPerPage());
        EXPECT_NE(strPage.find(m_table.rows[nFirstRow][0]), std::string::npos) << "page " << nPage << " has rows";
    }
    EXPECT_TRUE(InOrder(PdfText(strPdf), Labels(m_table)));

    g_bChinese = 1;
    NameReport(job, LiveReportSubject(m_data.State(), false, "zr470ctl"));
    ASSERT_EQ(job.PrintToPdf(QString::fromStdString(strPdf), 1, 1), CPrinterJob::Result::Printed);
    EXPECT_EQ(PdfInfo(strPdf, "Title"), "ZR-470 报告 – Hall A");
    EXPECT_TRUE(InOrder(PdfText(strPdf), {"ZR-470 参数报告", "场景：Hall A"}));
    EXPECT_EQ(PdfText(strPdf).find("SVH1"), std::string::npos) << "no processor named when none is connected";
}

TEST_F(ReportPrintTest, AFullDiskKeepsTheOldFilesAndTheReportSaysWhy)
{
    const SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Refusal();
    for (const char* szName : {"out.pdf", "out.xlsx"})
        std::ofstream(disk.Path(szName)) << "old " << szName;
    CListCtrlPrint job(m_table);
    EXPECT_EQ(job.PrintToPdf(QString::fromStdString(disk.Path("out.pdf"))), CPrinterJob::Result::Failed);
    EXPECT_EQ(job.m_strError, "No space left on device");
    ReportTable big = m_table;  // texts that do not compress: far more than the disk holds
    std::mt19937 random(7);
    big.rows.assign(2000, std::vector<std::string>(7));
    for (std::vector<std::string>& row : big.rows)
        for (std::string& strCell : row)
            strCell = std::to_string(random());
    const XlsxResult result = ExportReportXlsx(disk.Path("out.xlsx"), big);
    EXPECT_FALSE(result.bOk);
    EXPECT_FALSE(result.strError.empty());
    for (const char* szName : {"out.pdf", "out.xlsx"}) {
        std::ifstream in(disk.Path(szName));
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == std::string("old ") + szName) << szName;
    }
}

TEST_F(ReportPrintTest, RowsThatFillTheLastPageExactlyLeaveNoBlankSheet)
{
    EXPECT_EQ(CListCtrlPrint::PageCount(174, 60), 3);
    EXPECT_EQ(CListCtrlPrint::PageCount(59, 60), 1);
    EXPECT_EQ(CListCtrlPrint::PageCount(120, 60), 2);
    // The same on paper: as many rows as two pages hold.
    CListCtrlPrint probe(m_table);
    ASSERT_EQ(probe.PrintToPdf(QString::fromStdString(Path("probe.pdf"))), CPrinterJob::Result::Printed);
    ReportTable twoPages = m_table;
    twoPages.rows.resize(static_cast<size_t>(2 * probe.RowsPerPage()), m_table.rows[1]);
    CListCtrlPrint job(twoPages);
    ASSERT_EQ(job.PrintToPdf(QString::fromStdString(Path("two.pdf"))), CPrinterJob::Result::Printed);
    EXPECT_EQ(PdfInfo(Path("two.pdf"), "Pages"), "2");
}

TEST_F(ReportPrintTest, PageRangesPrintInEitherDirection)
{
    CListCtrlPrint job(m_table);
    ASSERT_EQ(job.PrintToPdf(QString::fromStdString(Path("back.pdf")), 3, 1), CPrinterJob::Result::Printed);
    ASSERT_EQ(job.Pages(), 3);
    EXPECT_NE(PdfText(Path("back.pdf"), 1).find("Page 3 of 3"), std::string::npos);
    EXPECT_NE(PdfText(Path("back.pdf"), 3).find("Page 1 of 3"), std::string::npos);
    ASSERT_EQ(job.PrintToPdf(QString::fromStdString(Path("one.pdf")), 2, 2), CPrinterJob::Result::Printed);
    EXPECT_EQ(PdfInfo(Path("one.pdf"), "Pages"), "1");
    EXPECT_NE(PdfText(Path("one.pdf")).find("Page 2 of 3"), std::string::npos);
    EXPECT_EQ(job.PrintToPdf(QString::fromStdString(Path("missing/x.pdf"))), CPrinterJob::Result::Failed);
}

TEST_F(ReportPrintTest, WorkbookHoldsEveryCellAsText)
{
    m_table.rows[3][2] = "it's 7.208";
    const std::string strXlsx = Path("report.xlsx");
    ASSERT_TRUE(ExportReportXlsx(strXlsx, BuildReportTable(m_data, 0)).bOk);
    ASSERT_TRUE(ExportReportXlsx(strXlsx, m_table).bOk) << "an existing file is replaced";
    const Workbook book = ReadWorkbook(strXlsx);
    EXPECT_EQ(book.sheets, std::vector<std::string>{"ZR470"});
    ASSERT_EQ(book.rows.size(), 175u);
    EXPECT_EQ(book.rows[0], m_table.columns);
    for (size_t nRow = 0; nRow < m_table.rows.size(); ++nRow)
        EXPECT_EQ(book.rows[nRow + 1], m_table.rows[nRow]) << "row " << nRow;
    EXPECT_EQ(book.types, std::vector<std::string>(7, "s")) << "numbers stay texts";
}

TEST_F(ReportPrintTest, AWorkbookNeedsNoTemporaryFolder)
{
    const char* szOld = std::getenv("TMPDIR");
    const std::string strOld = szOld ? szOld : "";
    setenv("TMPDIR", Path("no-such-folder").c_str(), 1);
    const XlsxResult result = ExportReportXlsx(Path("report.xlsx"), m_table);
    szOld ? setenv("TMPDIR", strOld.c_str(), 1) : unsetenv("TMPDIR");
    EXPECT_TRUE(result.bOk) << result.strError;
    EXPECT_EQ(ReadWorkbook(Path("report.xlsx")).rows.size(), 175u);
}
