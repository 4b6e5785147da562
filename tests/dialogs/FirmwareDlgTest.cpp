// The firmware update dialog against the virtual processor: a whole update,
// Update pressed twice, Quit during the erase, refused files, a processor
// that is not there, and Browse.
#include <QSettings>

#include "FirmwareFixture.h"

using FirmwareDlgTest = FirmwareTest;

TEST_F(FirmwareDlgTest, DspAndMcuUpdateSucceedsAndTheProcessorHoldsTheNewFirmware)
{
    const std::vector<uint8_t> dsp = PatternBytes(kDspImageSize, 1);
    const std::vector<uint8_t> mcu = PatternBytes(kMcuHeaderSize + 96, 2);
    ASSERT_TRUE(WriteFile("new.bin", DspFile(dsp, mcu)));
    ASSERT_TRUE(WithUpgradeDialog([this](CUpgradeDlg& dialog) {
        Update(dialog, "new.bin");
        EXPECT_TRUE(WaitStatus(dialog, "Update successfully!"));
        EXPECT_TRUE(QTest::qWaitFor([this] { return !View().Session().IsFirmwareMode(); }, 5000));
        const auto* pBar = Find<CGradientProgressCtrl>(dialog, CUpgradeDlg::kIdProgress);
        EXPECT_GT(pBar->GetUpper(), 1000);
        EXPECT_EQ(pBar->GetPos(), pBar->GetUpper());
    }));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Update successfully!"});
    EXPECT_FALSE(View().IsConnected());
    const CVirtualLoader loader = m_pDevice->Loader();
    EXPECT_EQ(loader.DspImage(), dsp);
    EXPECT_TRUE(loader.McuVerified());
    EXPECT_TRUE(std::equal(mcu.begin() + kMcuHeaderSize, mcu.end(), loader.McuData().begin()));
}

TEST_F(FirmwareDlgTest, UpdatePressedTwiceStartsOneTransfer)
{
    ASSERT_TRUE(WriteFile("mcu.bin", WithTag("WMCU", PatternBytes(100, 3))));
    ASSERT_TRUE(WithUpgradeDialog([this](CUpgradeDlg& dialog) {
        Update(dialog, "mcu.bin");
        ClickOn(dialog, CUpgradeDlg::kIdUpdate);
        EXPECT_TRUE(WaitStatus(dialog, "Update successfully!"));
    }));
    EXPECT_EQ(StepCount(54), 1);
    EXPECT_EQ(StepCount(57), 1);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Update successfully!"});
}

TEST_F(FirmwareDlgTest, QuitDuringTheEraseFailsPromptlyAndTheWindowKeepsTurning)
{
    VirtualFaults faults;
    faults.nRestartMs = 30;
    faults.nNoReplyStep = 58;  // the erase would hold the link for its whole 30 s wait
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(WriteFile("dsp.bin", DspFile(PatternBytes(kDspImageSize, 1))));
    ASSERT_TRUE(WithUpgradeDialog([this](CUpgradeDlg& dialog) {
        Update(dialog, "dsp.bin");
        ASSERT_TRUE(WaitStatus(dialog, "Erasing......", 10000));
        EXPECT_LT(LongestStallMs(300), 150);
        QElapsedTimer clock;
        clock.start();
        ClickOn(dialog, CUpgradeDlg::kIdQuit);
        EXPECT_LT(clock.elapsed(), 400);
        EXPECT_FALSE(dialog.isVisible());
    }));
    EXPECT_EQ(m_messages, std::vector<std::string>{"The firmware update failed"});
    EXPECT_FALSE(View().Session().IsFirmwareMode());
    EXPECT_FALSE(View().IsConnected());
}

// A refused file is forgotten: it is not offered again when the dialog
// opens, nor in the next run.
TEST_F(FirmwareDlgTest, RefusedFilesShowTheirMessageClearTheEditAndSendNothing)
{
    ASSERT_TRUE(WriteFile("odd.bin", WithTag("WXYZ", PatternBytes(100, 3))));
    AnswerFiles("odd.bin");
    ASSERT_TRUE(WithUpgradeDialog([this](CUpgradeDlg& dialog) {
        auto* pFile = Find<QLineEdit>(dialog, CUpgradeDlg::kIdFile);
        Update(dialog, "missing.bin");
        EXPECT_TRUE(pFile->text().isEmpty());
        ClickOn(dialog, CUpgradeDlg::kIdBrowse);
        ClickOn(dialog, CUpgradeDlg::kIdUpdate);
        EXPECT_TRUE(pFile->text().isEmpty());
        EXPECT_TRUE(Status(dialog).isEmpty());
    }));
    ASSERT_TRUE(WithUpgradeDialog(
        [](CUpgradeDlg& dialog) { EXPECT_EQ(Find<QLineEdit>(dialog, CUpgradeDlg::kIdFile)->text(), ""); }));
    EXPECT_EQ(QSettings("ZR_470.exe", "DspMcu").value("Name").toString(), "");
    EXPECT_EQ(m_messages, (std::vector<std::string>{"The firmware file does not exist!",
                                                     "This is not a firmware update file!"}));
    EXPECT_TRUE(m_pDevice->ReceivedFrames().empty());
    EXPECT_FALSE(View().Session().IsFirmwareMode());
}

TEST_F(FirmwareDlgTest, ProcessorNotFoundShowsSearchingWhileTheWindowTurnsThenFails)
{
    View().Session().m_firmwareTiming.nSearchMs = 800;
    m_pDevice->Vanish();
    ASSERT_TRUE(WriteFile("mcu.bin", WithTag("WMCU", PatternBytes(100, 3))));
    ASSERT_TRUE(WithUpgradeDialog([this](CUpgradeDlg& dialog) {
        Update(dialog, "mcu.bin");
        EXPECT_TRUE(WaitStatus(dialog, "Searching......", 1000));
        EXPECT_LT(LongestStallMs(300), 150);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_messages.empty(); }, 5000));
    }));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    EXPECT_FALSE(View().Session().IsFirmwareMode());
    EXPECT_FALSE(View().IsConnected());
}

TEST_F(FirmwareDlgTest, BrowseStoresTheFileAndThePattern)
{
    AnswerFiles("DataFile/new.bin");
    const QString strPattern = QDir::currentPath() + "/DataFile/*.bin";
    ASSERT_TRUE(WithUpgradeDialog([this](CUpgradeDlg& dialog) {
        ClickOn(dialog, CUpgradeDlg::kIdBrowse);
        EXPECT_EQ(Find<QLineEdit>(dialog, CUpgradeDlg::kIdFile)->text(), m_dir.filePath("DataFile/new.bin"));
    }));
    ASSERT_EQ(m_requests.size(), 1u);
    EXPECT_EQ(m_requests[0].strFilter, "*.bin");
    EXPECT_EQ(m_requests[0].strDefault, strPattern);
    QSettings settings("ZR_470.exe", "DspMcu");
    EXPECT_EQ(settings.value("Name").toString(), m_dir.filePath("DataFile/new.bin"));
    EXPECT_EQ(settings.value("Path").toString(), strPattern);
}
