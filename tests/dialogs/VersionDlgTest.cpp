// The Help dialog: what it shows, its keys, the help document, the way on to
// the update dialog, and both dialogs' Chinese texts.
#include <QPushButton>
#include <QUrl>

#include "ButtonRadio.h"
#include "FirmwareFixture.h"
#include "SxGroupBox.h"

class VersionDlgTest : public FirmwareTest {
protected:
    // Documents opened with Help, recorded instead of shown.
    void RecordOpened()
    {
        Prompts().m_openUrl = [this](const QUrl& url) {
            m_opened.push_back(url.toLocalFile());
            return true;
        };
    }
    std::vector<QString> m_opened;
};

TEST_F(VersionDlgTest, ShowsTheIdentificationReadAtConnectAndTheFamily)
{
    ASSERT_TRUE(ConnectOnline());
    ASSERT_TRUE(WithVersionDialog([](CVersionDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "About");
        EXPECT_EQ(Find<CTransparentStatic>(dialog, CVersionDlg::kIdIdentification)->GetText(), "SVH1-WV1.00");
        EXPECT_EQ(Find<CTransparentStatic>(dialog, CVersionDlg::kIdFamily)->GetText(), "RVH1-WV1.01(F)");
        EXPECT_EQ(Find<QPushButton>(dialog, CVersionDlg::kIdHelp)->text(), "Help");
        EXPECT_EQ(Find<QPushButton>(dialog, CVersionDlg::kIdFirmwareUpdate)->text(), "Firmware Update");
    }));
}

TEST_F(VersionDlgTest, EnterAndEscOnlyMoveTheFocus)
{
    View().m_strManualPath.clear();  // Help pressed would say "Not Find Help File"
    ASSERT_TRUE(WithVersionDialog([](CVersionDlg& dialog) {
        auto* pHelp = Find<QPushButton>(dialog, CVersionDlg::kIdHelp);
        pHelp->setFocus();
        QTest::keyClick(pHelp, Qt::Key_Return);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
    }));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(VersionDlgTest, HelpOpensHelpChmThenTheManualElseSaysSo)
{
    RecordOpened();
    ASSERT_TRUE(WriteFile("manual.html", {'<', 'p', '>'}));
    View().m_strManualPath = m_dir.filePath("manual.html");
    ASSERT_TRUE(WithVersionDialog([this](CVersionDlg& dialog) {
        ClickOn(dialog, CVersionDlg::kIdHelp);
        ASSERT_TRUE(WriteFile("Help.chm", {'I', 'T', 'S', 'F'}));
        ClickOn(dialog, CVersionDlg::kIdHelp);
        QFile::remove(m_dir.filePath("Help.chm"));
        QFile::remove(m_dir.filePath("manual.html"));
        ClickOn(dialog, CVersionDlg::kIdHelp);
    }));
    EXPECT_EQ(m_opened, (std::vector<QString>{m_dir.filePath("manual.html"), m_dir.filePath("Help.chm")}));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Not Find Help File"});
}

TEST_F(VersionDlgTest, FirmwareUpdateOpensTheUpdateDialogAsTheTemplateHasIt)
{
    QSettings("ZR_470.exe", "DspMcu").setValue("Name", "/data/last.bin");
    StartApp();  // the stored file is read at start-up
    ASSERT_TRUE(WithUpgradeDialog([this](CUpgradeDlg& dialog) {
        EXPECT_EQ(View().UpgradeDialog(), &dialog);
        EXPECT_EQ(dialog.windowTitle(), "Device Firmware Update");
        EXPECT_EQ(dialog.pos(), QPoint(500, 400));
        EXPECT_EQ(dialog.size(), QSize(385, 220));
        EXPECT_EQ(Find<QLineEdit>(dialog, CUpgradeDlg::kIdFile)->text(), "/data/last.bin");
        auto* pStatus = Find<CTransparentStatic>(dialog, CUpgradeDlg::kIdStatus);
        EXPECT_TRUE(pStatus->GetText().isEmpty());
        EXPECT_EQ(pStatus->TextColor(), QColor(Qt::red));
        EXPECT_EQ(Find<QPushButton>(dialog, CUpgradeDlg::kIdQuit)->text(), "Quit");
        for (int nId : CUpgradeDlg::kIdLinkChoices)
            EXPECT_FALSE(Find(dialog, nId)->isVisible());
        EXPECT_FALSE(Find(dialog, CUpgradeDlg::kIdLinkPorts)->isVisible());
    }));
    EXPECT_EQ(View().UpgradeDialog(), nullptr);
}

TEST_F(VersionDlgTest, BothDialogsSpeakChinese)
{
    StartApp(true);
    ASSERT_TRUE(WithVersionDialog([](CVersionDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "关于");
        EXPECT_EQ(Find<QPushButton>(dialog, CVersionDlg::kIdHelp)->text(), "帮助");
        EXPECT_EQ(Find<QPushButton>(dialog, CVersionDlg::kIdFirmwareUpdate)->text(), "设备固件更新");
    }));
    ASSERT_TRUE(WithUpgradeDialog([](CUpgradeDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "设备固件更新");
        EXPECT_EQ(Find<CSxGroupBox>(dialog, CUpgradeDlg::kIdFileGroup)->GetText(), "Hex文件");
        EXPECT_EQ(Find<CTransparentStatic>(dialog, CUpgradeDlg::kIdHexLabel)->GetText(), "Hex文件");
        EXPECT_EQ(Find<QPushButton>(dialog, CUpgradeDlg::kIdBrowse)->text(), "浏览");
        EXPECT_EQ(Find<QPushButton>(dialog, CUpgradeDlg::kIdUpdate)->text(), "更新");
        EXPECT_EQ(Find<QPushButton>(dialog, CUpgradeDlg::kIdQuit)->text(), "退出");
    }));
}
