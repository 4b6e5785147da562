#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QLineEdit>

#include "DisplayDlg.h"
#include "GradientProgressCtrl.h"
#include "KTV_Data.h"
#include "ViewFixture.h"
#include "ViewNotifySink.h"
#include "XPButton.h"

class ConnectTest : public ViewTest {};

TEST_F(ConnectTest, ConnectReadsTheLiveSettingsIntoTheForm)
{
    std::vector<uint8_t> image = FactoryImage();
    std::memcpy(image.data(), "Lounge 3", 8);
    image[kOffOutput + 2 * kOutBlockSize + 248] = 1;  // output 3 muted on the processor
    m_pDevice->SetLiveImage(image);
    State().m_nLinkGroup[1] = 0;
    State().m_nLinkGroup[3] = 2;
    Ctl<CXPButton>(2247)->SetPressed(true);

    ASSERT_TRUE(ConnectOnline());
    EXPECT_TRUE(View().IsConnected());
    EXPECT_TRUE(Ctl<CXPButton>(1413)->IsPressed());
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "Lounge 3");
    EXPECT_EQ(Data().Output(2).GetMute(), 1);
    EXPECT_TRUE(Ctl<CXPButton>(6054)->IsPressed());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(State().m_nLinkGroup[i], i) << "a full read dissolves the links";
    EXPECT_FALSE(Ctl<CXPButton>(2247)->IsPressed());
    // the progress window closes itself once the batch is done
    EXPECT_TRUE(QTest::qWaitFor([this] { return !View().ProgressDialog()->isVisible(); }, 2000));
    EXPECT_EQ(View().ProgressDialog()->Label()->text(), "End of data transmission");
    EXPECT_TRUE(View().isEnabled()) << "the form is enabled again";
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ConnectTest, AnEditOnTheFormArrivesAsItsGroupWrite)
{
    ASSERT_TRUE(ConnectOnline());
    m_pDevice->ClearReceivedFrames();
    Click(6053);  // mute output 2
    ASSERT_TRUE(Drain());
    int nMiscWrites = 0;
    for (const RawFrame& f : Sent()) {
        if (f[kFoCommand] == kCmdWrite && f[kFoKind] == kKindOutput && f[kFoChannel] == 1 && f[kFoGroup] == 31)
            ++nMiscWrites;
    }
    EXPECT_EQ(nMiscWrites, 1);
    EXPECT_EQ(m_pDevice->LiveImage()[kOffOutput + kOutBlockSize + 248], 1) << "the processor applied the mute";
}

TEST_F(ConnectTest, CrossoverEditReachesTheProcessor)
{
    ASSERT_TRUE(ConnectOnline());
    TypeAndEnter(5500, "120");
    ASSERT_TRUE(Drain());
    CKTV_Data& data = Data();
    EXPECT_EQ(data.Output(0).EQ().HighPass().GetFrequency(), 120);
    EXPECT_GE(CountWrites(kKindOutput, 0, kCmdWrite), 1);
}

TEST_F(ConnectTest, ConnectButtonDisconnectsAfterItsPause)
{
    ASSERT_TRUE(ConnectOnline());
    QElapsedTimer timer;
    timer.start();
    Click(1413);
    EXPECT_GE(timer.elapsed(), 450);
    EXPECT_FALSE(View().IsConnected());
    EXPECT_EQ(State().m_bOnline.load(), 0);
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "");
    EXPECT_EQ(Ctl<CGradientProgressCtrl>(1414)->GetPos(), 0);
    EXPECT_FALSE(Ctl<CXPButton>(1413)->IsPressed());
    // and connecting again reuses the same thread
    ASSERT_TRUE(ConnectOnline());
}

TEST_F(ConnectTest, VanishedProcessorDuringTheFullReadClosesTheLink)
{
    VirtualFaults faults;
    faults.nDelayMs = 40;  // a slow processor keeps the read going long enough
    m_pDevice->SetFaults(faults);
    Click(1413);
    ASSERT_TRUE(QTest::qWaitFor([this] { return View().ProgressDialog()->isVisible(); }, 5000));
    EXPECT_FALSE(View().isEnabled()) << "the form waits for the read";
    m_pDevice->Vanish();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !View().IsConnected() && !m_messages.empty(); }, 8000));
    EXPECT_FALSE(View().ProgressDialog()->isVisible());
    EXPECT_TRUE(View().isEnabled());
    EXPECT_EQ(m_messages.back(), "Connection failure!");
    EXPECT_EQ(State().m_bOnline.load(), 0);
    EXPECT_FALSE(Ctl<CXPButton>(1413)->IsPressed());
}

TEST_F(ConnectTest, WrongIdentificationShowsTheFailureMessage)
{
    VirtualFaults faults;
    faults.strWrongId = "SVH2-WV1.00";
    m_pDevice->SetFaults(faults);
    Click(1413);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_messages.empty(); }, 5000));
    EXPECT_EQ(m_messages.back(), "Connection failure!");
    EXPECT_EQ(m_messageKinds.back(), MessageKind::kLinkFailure);
    EXPECT_FALSE(View().IsConnected());
    EXPECT_EQ(State().m_bOnline.load(), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(State().m_IdString), 11), std::string(11, ' '));
}

TEST_F(ConnectTest, AnotherMinorVersionIsAccepted)
{
    VirtualFaults faults;
    faults.strWrongId = "SVH1-WV1.07";
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(ConnectOnline());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ConnectTest, NoProcessorAtConnectShowsTheFailureMessage)
{
    m_pDevice->Vanish();
    Click(1413);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_messages.empty(); }, 3000));
    EXPECT_EQ(m_messages.back(), "Connection failure!");
    EXPECT_EQ(m_messageKinds.back(), MessageKind::kLinkFailure);
    EXPECT_FALSE(View().IsConnected());
}

TEST_F(ConnectTest, EnglishFailureMessageClosesItself)
{
    Prompts().m_showMessage = nullptr;  // the real message box this time
    m_pDevice->Vanish();
    QString strShown;
    QTimer::singleShot(300, [&strShown] {
        if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            strShown = pBox->text();
    });
    QElapsedTimer timer;
    timer.start();
    Click(1413);  // returns once the box has gone
    EXPECT_EQ(strShown, "Connection failure!");
    EXPECT_GE(timer.elapsed(), 900);
    EXPECT_LT(timer.elapsed(), 3000) << "the box goes away without a click";
    EXPECT_FALSE(View().IsConnected());
}

TEST_F(ConnectTest, VariantTwoOffersTheShortSlopeList)
{
    m_pDevice->SetVariant(2);
    ASSERT_TRUE(ConnectOnline());
    EXPECT_EQ(State().m_nDeviceType.load(), 2);
    auto* pSlope = Ctl<QComboBox>(5503);
    ASSERT_EQ(pSlope->count(), 2);
    EXPECT_EQ(pSlope->itemText(1), "24dB/Oct");
    EXPECT_EQ(m_pApp->MainFrame()->windowTitle(), "ZR-470 Software");
    Data().Output(0).EQ().HighPass().SetSlope(0, false);
    Click(8901);
    Click(8900);
    pSlope->setFocus();
    QTest::keyClick(pSlope, Qt::Key_Down);
    EXPECT_EQ(Data().Output(0).EQ().HighPass().GetSlope(), 2) << "the second item means 24 dB/Oct";
    // A slope the short list lacks is shown as itself, never as a blank box.
    Data().Output(1).EQ().HighPass().SetSlope(1, false);
    Click(8901);
    EXPECT_EQ(pSlope->currentText(), "18dB/Oct");
    State().m_nDeviceType = 1;
}

TEST_F(ConnectTest, VariantSetsTheMusicFilterKinds)
{
    CKTVEQ& music = Data().Music().EQ();
    CNotifyEvent variant2(kMsgVariant, 2, 0);
    QCoreApplication::sendEvent(&View(), &variant2);
    EXPECT_EQ(music[6].GetKind(), kHighShelf);
    CNotifyEvent variant1(kMsgVariant, 1, 0);
    QCoreApplication::sendEvent(&View(), &variant1);
    EXPECT_EQ(music[6].GetKind(), kPeaking);
    EXPECT_EQ(music[8].GetKind(), kHighShelf);
    EXPECT_EQ(Ctl<QComboBox>(5503)->count(), 8);
}

TEST_F(ConnectTest, UnpluggedWhileOnlineEndsTheConnection)
{
    ASSERT_TRUE(ConnectOnline());
    QElapsedTimer timer;
    timer.start();
    m_pDevice->Vanish();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !View().IsConnected() && !m_messages.empty(); }, 5000));
    EXPECT_LT(timer.elapsed(), 3000) << "noticed by the next poll, not after a long wait";
    EXPECT_EQ(m_messages.back(), "Connection failure!");
    EXPECT_EQ(State().m_bOnline.load(), 0);
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "");
    // edits now stay in the model
    Click(6052);
    EXPECT_EQ(Data().Output(0).GetMute(), 1);
    EXPECT_EQ(Data().Output(0).GetMiscMark(), 0) << "nothing is marked for sending while offline";
}

TEST_F(ConnectTest, ProgressWindowBlinksWhileABatchRunsThenSaysItHasEnded)
{
    CDisplayDlg* pDialog = View().ProgressDialog();
    View().Session().m_bTransferRunning = 1;
    pDialog->Show(&View());
    EXPECT_FALSE(View().isEnabled());
    EXPECT_EQ(pDialog->pos(), QPoint(500, 400));
    EXPECT_EQ(pDialog->windowTitle(), "Data transmission");
    EXPECT_EQ(pDialog->Label()->text(), "Data transmission");
    const bool bFirst = pDialog->IsBlinkRed();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pDialog->IsBlinkRed() != bFirst; }, 1000)) << "it blinks";
    EXPECT_TRUE(pDialog->isVisible());
    View().Session().m_bTransferRunning = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pDialog->isVisible(); }, 1000));
    EXPECT_EQ(pDialog->Label()->text(), "End of data transmission");
    EXPECT_TRUE(View().isEnabled());
}
