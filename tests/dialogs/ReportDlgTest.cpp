// The parameter report opened with REPORT: its list as it was at that
// moment, printing through the print dialog into PDFs, the worksheet export,
// and zr470ctl's report of the same setup.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>

#include <fstream>

#include "BoxAnswerer.h"
#include "CFStatic.h"
#include "DataViewDlg.h"
#include "DelayTable.h"
#include "KTV_Data.h"
#include "PresetFile.h"
#include "ProgramFixture.h"
#include "ReportReaders.h"
#include "ReportTable.h"
#include "SmallDisk.h"
#include "TestPaths.h"

class ReportDlgTest : public ProgramTest {
protected:
    bool WithReport(const std::function<void(CDataViewDlg&)>& act) { return WithModal<CDataViewDlg>(8803, act); }
    static QString ButtonText(CDataViewDlg& dialog, int nId)
    {
        auto* pButton = dialog.findChild<QPushButton*>(ControlName(nId));
        return pButton ? pButton->text() : QString();
    }
    static void Press(CDataViewDlg& dialog, int nId)
    {
        if (auto* pButton = dialog.findChild<QPushButton*>(ControlName(nId)))
            QTest::mouseClick(pButton, Qt::LeftButton);
    }
    static QTableWidget* List(CDataViewDlg& dialog)
    {
        return dialog.findChild<QTableWidget*>(ControlName(CDataViewDlg::kIdList));
    }
    std::string Path(const char* szName) const { return m_dir.filePath(szName).toStdString(); }

    // Prints as a user does: the print dialog's file printer into strPdf,
    // its "Handover pages" box ticked or not, then Print.
    void PrintToFileThroughDialog(CDataViewDlg& dialog, const std::string& strPdf, bool bHandover)
    {
        OnNextModal<QPrintDialog>([&](QPrintDialog& print) {
            auto* pPrinters = print.findChild<QComboBox*>(QStringLiteral("printers"));
            auto* pFile = print.findChild<QLineEdit*>(QStringLiteral("filename"));
            auto* pButtons = print.findChild<QDialogButtonBox*>();
            QCheckBox* pBox = nullptr;
            for (QCheckBox* pCheck : print.findChildren<QCheckBox*>())
                pBox = pCheck->text() == Tr(kTxtHandoverPages) ? pCheck : pBox;
            if (!pPrinters || !pFile || !pButtons || !pBox) {
                ADD_FAILURE() << "the print dialog's fields";
                print.reject();
                return;
            }
            pPrinters->setCurrentIndex(pPrinters->count() - 1);  // the file printer comes last
            pFile->setText(QString::fromStdString(strPdf));
            if (pBox->isChecked() != bHandover)
                QTest::mouseClick(pBox, Qt::LeftButton, {}, QPoint(6, pBox->height() / 2));
            EXPECT_EQ(pBox->isChecked(), bHandover);
            QTest::mouseClick(pButtons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        Press(dialog, CDataViewDlg::kIdPrint);
    }
};

TEST_F(ReportDlgTest, ListsTheSetupAsItWasWhenOpened)
{
    ASSERT_TRUE(ConnectOnline());
    View().Data().Output(1).EQ()[2].SetShelfMode(2);
    g_nDelayUnit = kDelayUnitCm;
    const ReportTable expected = BuildReportTable(View().Data(), kDelayUnitCm);
    ASSERT_TRUE(WithReport([&](CDataViewDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Report");
        EXPECT_EQ(ButtonText(dialog, CDataViewDlg::kIdPrint), "Print");
        EXPECT_EQ(ButtonText(dialog, CDataViewDlg::kIdExport), "Export Excel");
        QTableWidget* pList = List(dialog);
        ASSERT_NE(pList, nullptr);
        ASSERT_EQ(pList->columnCount(), 7);
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(pList->columnWidth(i), 100);
            EXPECT_EQ(pList->horizontalHeader()->sectionResizeMode(i), QHeaderView::Fixed) << "dividers stay";
        }
        EXPECT_EQ(dialog.ListTable().rows, expected.rows);
        EXPECT_EQ(dialog.ListTable().columns, expected.columns);
        View().Data().Output(0).SetMute(1);
        EXPECT_EQ(dialog.ListTable().rows[168][1], "OFF") << "the list is not refreshed while it is open";
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    }));
    g_nDelayUnit = kDelayUnitMs;
}

TEST_F(ReportDlgTest, ChineseReport)
{
    StartApp(true);
    ASSERT_TRUE(WithReport([&](CDataViewDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "参数值显示");
        EXPECT_EQ(ButtonText(dialog, CDataViewDlg::kIdPrint), "打印");
        EXPECT_EQ(ButtonText(dialog, CDataViewDlg::kIdExport), "导出Excel");
        EXPECT_EQ(dialog.ListTable().columns[0], "参数");
        EXPECT_EQ(dialog.ListTable().rows[155][0], "低切类型");
    }));
}

TEST_F(ReportDlgTest, PrintGoesWhereThePrintDialogSays)
{
    const std::string strPdf = Path("report.pdf");
    ASSERT_TRUE(ConnectOnline());
    View().SetSceneName("Hall B");
    ASSERT_TRUE(WithReport([&](CDataViewDlg& dialog) {
        dialog.m_printDialogHook = [](QPrinter&) { return false; };
        Press(dialog, CDataViewDlg::kIdPrint);
        dialog.m_printDialogHook = [&](QPrinter& printer) {
            printer.setOutputFileName(QString::fromStdString(strPdf));
            return true;
        };
        List(dialog)->item(0, 1)->setText("Lo_Shf");  // printing takes the list's texts
        Press(dialog, CDataViewDlg::kIdPrint);
        dialog.m_printDialogHook = [&](QPrinter& printer) {
            printer.setOutputFileName(QString::fromStdString(Path("missing/report.pdf")));
            return true;
        };
        Press(dialog, CDataViewDlg::kIdPrint);
    }));
    const std::string strText = PdfText(strPdf);
    EXPECT_NE(strText.find("Page 1 of " + PdfInfo(strPdf, "Pages")), std::string::npos);
    EXPECT_TRUE(InOrder(strText, {"ZR-470 parameter report", "Scene: Hall B", "Processor: SVH1-WV1.00", "EQ1 Type",
                                  "Lo_Shf", "PEQ", "EQ1 Gain", "ZR-470 Software"}));
    EXPECT_EQ(PdfInfo(strPdf, "Title"), "ZR-470 report – Hall B");
    EXPECT_EQ(m_messages, std::vector<std::string>{"The report could not be printed completely.\nNo such file or directory"})
        << "a cancelled dialog says nothing";
}

TEST_F(ReportDlgTest, HandoverPagesTickedInThePrintDialogFollowTheTableWithTheGraphsSum)
{
    View().Graph()->SetSumMember(0, true);
    View().Graph()->SetSumMember(2, true);
    View().Graph()->ShowSum(true);
    std::vector<std::string> pdfs;
    ASSERT_TRUE(WithReport([&](CDataViewDlg& dialog) {
        for (const bool bHandover : {false, true, false}) {
            pdfs.push_back(Path(("report" + std::to_string(pdfs.size()) + ".pdf").c_str()));
            PrintToFileThroughDialog(dialog, pdfs.back(), bHandover);
        }
    }));
    const int nTable = std::stoi(PdfInfo(pdfs[0], "Pages"));
    ASSERT_EQ(std::stoi(PdfInfo(pdfs[1], "Pages")), nTable + kOutputs + 1);
    EXPECT_NE(PdfText(pdfs[1], nTable + kOutputs + 1).find("Sum of outputs 1, 3"), std::string::npos);
    EXPECT_EQ(std::stoi(PdfInfo(pdfs[2], "Pages")), nTable) << "unticked again";
}

TEST_F(ReportDlgTest, ExportWritesTheListAsAWorksheet)
{
    AnswerFiles("setup");
    ReportTable shown;
    ASSERT_TRUE(WithReport([&](CDataViewDlg& dialog) {
        List(dialog)->item(3, 2)->setText("it's");
        shown = dialog.ListTable();
        Press(dialog, CDataViewDlg::kIdExport);
        {
            BoxAnswerer answers({QMessageBox::No});  // ".xlsx" added after the dialog: asked here
            List(dialog)->item(3, 2)->setText("not saved");
            Press(dialog, CDataViewDlg::kIdExport);
            EXPECT_EQ(answers.m_asked, std::vector<QString>{m_dir.filePath("setup.xlsx") +
                                                            " already exists.\nDo you want to replace it?"});
        }
        AnswerFiles("taken.xlsx");
        QDir(m_dir.path()).mkdir("taken.xlsx");
        Press(dialog, CDataViewDlg::kIdExport);
        State().m_nDeviceType = 3;
        Press(dialog, CDataViewDlg::kIdExport);
    }));
    ASSERT_EQ(m_requests.size(), 3u) << "only variants 1 and 2 export";
    for (const FileDialogRequest& request : m_requests) {
        EXPECT_TRUE(request.bSave);
        EXPECT_EQ(request.strFilter, "Excel(*.xlsx)");
        EXPECT_EQ(request.strTitle, "Load");
        EXPECT_EQ(request.strDefault, QDir::currentPath() + "/MusicFile/ZR470") << "the same name every time";
    }
    const Workbook book = ReadWorkbook(Path("setup.xlsx"));
    EXPECT_EQ(book.sheets, std::vector<std::string>{"ZR470"});
    ASSERT_EQ(book.rows.size(), 175u);
    EXPECT_EQ(book.rows[0], shown.columns);
    EXPECT_EQ(std::vector<std::vector<std::string>>(book.rows.begin() + 1, book.rows.end()), shown.rows);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Error while replacing the file!\nIs a directory"});
}

TEST_F(ReportDlgTest, ZrctlReportsASavedSceneAsTheDialogDoes)
{
    ASSERT_TRUE(ConnectOnline());
    View().Data().Output(4).EQ()[6].SetGainCode(GainToCode(-4.5));
    View().Data().Output(2).SetMute(1);
    ASSERT_TRUE(SaveSceneFile(View().Data(), Path("room.ZR4C")).bOk);
    ReportTable shown;
    ASSERT_TRUE(WithReport([&](CDataViewDlg& dialog) { shown = dialog.ListTable(); }));
    std::string strExpected;
    shown.rows.insert(shown.rows.begin(), shown.columns);
    for (const std::vector<std::string>& row : shown.rows) {
        for (size_t i = 0; i < row.size(); ++i)
            strExpected += (i ? "\t" : "") + row[i];
        strExpected += '\n';
    }
    // As from a shell with no display, whatever platform it names: the PDF
    // is drawn offscreen.
    QProcess ctl;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("DISPLAY");
    env.remove("XDG_RUNTIME_DIR");
    ctl.setProcessEnvironment(env);
    ctl.start(Zr470CtlPath(), {"report", "--from", m_dir.filePath("room.ZR4C")});
    ASSERT_TRUE(ctl.waitForFinished(10000));
    EXPECT_EQ(ctl.exitCode(), 0);
    EXPECT_EQ(ctl.readAllStandardOutput().toStdString(), strExpected);
    ctl.start(Zr470CtlPath(), {"report", "--from", m_dir.filePath("room.ZR4C"), "--pdf", m_dir.filePath("room.pdf")});
    ASSERT_TRUE(ctl.waitForFinished(10000));
    EXPECT_EQ(ctl.exitCode(), 0);
    EXPECT_EQ(ctl.readAllStandardError().toStdString(), "");
    const std::string strPdf = PdfText(Path("room.pdf"));
    EXPECT_TRUE(InOrder(strPdf, {"Scene: room.ZR4C", "EQ7 Gain", "-4.5dB", "Mute", "On"})) << strPdf.substr(0, 400);

    const SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Refusal();
    std::ofstream(disk.Path("out.pdf")) << "old";
    ctl.start(Zr470CtlPath(), {"report", "--from", m_dir.filePath("room.ZR4C"), "--pdf", disk.Path("out.pdf").c_str()});
    ASSERT_TRUE(ctl.waitForFinished(10000));
    EXPECT_NE(ctl.exitCode(), 0);
    EXPECT_NE(ctl.readAllStandardError().toStdString().find("No space left on device"), std::string::npos);
    std::ifstream in(disk.Path("out.pdf"));
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == "old") << "the old file is kept whole";
}
