// The delay manager against the virtual processor: units, positions, the
// delays it sends, and the position files, with the main form following.
#include "DataDefine.h"
#include "DelayDlg.h"
#include "DelayTable.h"
#include "FindControl.h"
#include "NumEdit.h"
#include "ProgramFixture.h"
#include "TransparentStatic.h"
#include "XPButton.h"

namespace {

void ClickOn(QWidget& dialog, int nId)
{
    if (QWidget* pWidget = FindControl(dialog, nId))
        QTest::mouseClick(pWidget, Qt::LeftButton, {}, pWidget->rect().center());
}

QString DelayField(CDelayDlg& dialog, int nOutput)
{
    return FindControl<CNumEdit>(dialog, CDelayDlg::kIdDelay + nOutput)->text();
}

}  // namespace

class DelayDlgTest : public ProgramTest {
protected:
    void TearDown() override
    {
        g_nDelayUnit = kDelayUnitMs;
        ProgramTest::TearDown();
    }
    // Opens the delay manager with DELAY and runs act in it; act may close
    // it, otherwise it is closed with its close box.
    bool WithDelayDialog(const std::function<void(CDelayDlg&)>& act) { return WithModal<CDelayDlg>(2246, act); }
    int DelayTableWrites() const { return CountWrites(kKindSystem, kItemDelayTable, kCmdWrite); }
    QString FormLabel(int nOutput) { return Ctl<CTransparentStatic>(8960 + nOutput)->text(); }
};

TEST_F(DelayDlgTest, UnitButtonCyclesMsInchCmAndTheFormFollows)
{
    SetPositionDelay(State(), GetCurrentPosition(State()), 0, kMaxDelayCode);
    ASSERT_TRUE(WithDelayDialog([this](CDelayDlg& dialog) {
        EXPECT_EQ(DelayField(dialog, 0), "20.000MS");
        ClickOn(dialog, CDelayDlg::kIdUnit);
        EXPECT_EQ(DelayField(dialog, 0), "272.37INCH");
        ClickOn(dialog, CDelayDlg::kIdUnit);
        EXPECT_EQ(DelayField(dialog, 0), "692.00CM");
        EXPECT_EQ(FormLabel(0), "692.00cm");
        ClickOn(dialog, CDelayDlg::kIdUnit);
        EXPECT_EQ(DelayField(dialog, 0), "20.000MS");
        ClickOn(dialog, CDelayDlg::kIdUnit);
    }));
    EXPECT_EQ(g_nDelayUnit, kDelayUnitInch);  // stays for the form
    EXPECT_EQ(FormLabel(0), "272.37INCH");
}

TEST_F(DelayDlgTest, PressedPositionAndUnchangedDelaySendNothing)
{
    ASSERT_TRUE(ConnectOnline());
    m_pDevice->ClearReceivedFrames();
    const int nPosition = GetCurrentPosition(State());
    const int nDelay = GetPositionDelay(State(), nPosition, 2);
    ASSERT_TRUE(WithDelayDialog([&](CDelayDlg& dialog) {
        EXPECT_TRUE(FindControl<CXPButton>(dialog, CDelayDlg::kIdPosition + nPosition)->IsPressed());
        ClickOn(dialog, CDelayDlg::kIdPosition + nPosition);
        TypeAndEnter(CDelayDlg::kIdDelay + 2, DelayField(dialog, 2));
    }));
    ASSERT_TRUE(Drain());
    EXPECT_EQ(GetPositionDelay(State(), nPosition, 2), nDelay);
    EXPECT_EQ(DelayTableWrites(), 0);
}

TEST_F(DelayDlgTest, NewDelayReachesTheProcessorAndTheFormWhileTheDialogStaysOpen)
{
    ASSERT_TRUE(ConnectOnline());
    m_pDevice->ClearReceivedFrames();
    const int nPosition = GetCurrentPosition(State());
    ASSERT_TRUE(WithDelayDialog([this](CDelayDlg& dialog) {
        TypeAndEnter(CDelayDlg::kIdDelay + 4, "12.5");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(DelayField(dialog, 4), "12.500MS");
        EXPECT_EQ(FormLabel(4), "12.500ms");
    }));
    ASSERT_TRUE(Drain());
    EXPECT_EQ(GetPositionDelay(State(), nPosition, 4), 600);
    EXPECT_EQ(DelayTableWrites(), 1);
    const std::vector<uint8_t> table = m_pDevice->DelayTable();
    const size_t nAt = static_cast<size_t>(nPosition * 12 + 4 * 2);
    ASSERT_GT(table.size(), nAt + 1);
    EXPECT_EQ(table[nAt] | table[nAt + 1] << 8, 600);
}

TEST_F(DelayDlgTest, NewPositionIsShownAndSent)
{
    ASSERT_TRUE(ConnectOnline());
    m_pDevice->ClearReceivedFrames();
    const int nOther = (GetCurrentPosition(State()) + 1) % 4;
    ASSERT_TRUE(WithDelayDialog([&](CDelayDlg& dialog) {
        ClickOn(dialog, CDelayDlg::kIdPosition + nOther);
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(FindControl<CXPButton>(dialog, CDelayDlg::kIdPosition + p)->IsPressed(), p == nOther) << p;
            EXPECT_EQ(Ctl<CXPButton>(2066 + p)->IsPressed(), p == nOther) << p;
        }
    }));
    ASSERT_TRUE(Drain());
    EXPECT_EQ(GetCurrentPosition(State()), nOther);
    EXPECT_GE(DelayTableWrites(), 1);
    EXPECT_EQ(m_pDevice->DelayTable().at(kDelaySelectedByte), nOther);
}

TEST_F(DelayDlgTest, CancelKeepsTheChanges)
{
    bool bClosed = false;
    ASSERT_TRUE(WithDelayDialog([&bClosed, this](CDelayDlg& dialog) {
        TypeAndEnter(CDelayDlg::kIdDelay, "3");
        ClickOn(dialog, CDelayDlg::kIdCancel);
        bClosed = !dialog.isVisible();
    }));
    EXPECT_TRUE(bClosed);
    EXPECT_EQ(GetPositionDelay(State(), GetCurrentPosition(State()), 0), 144);
}

TEST_F(DelayDlgTest, LoadedPositionIsPressedWithItsDelays)
{
    SetCurrentPosition(State(), 3);
    for (int k = 0; k < 6; ++k)
        SetPositionDelay(State(), 3, k, 100 + 10 * k);
    View().ShowDelays();
    AnswerFiles("rear.Mode_C");
    ASSERT_TRUE(WithDelayDialog([this](CDelayDlg& dialog) {
        ClickOn(dialog, CDelayDlg::kIdSave);
        ClickOn(dialog, CDelayDlg::kIdPosition + 1);
        for (int k = 0; k < 6; ++k)
            SetPositionDelay(State(), 3, k, 0);
        ClickOn(dialog, CDelayDlg::kIdLoad);
        EXPECT_TRUE(FindControl<CXPButton>(dialog, CDelayDlg::kIdPosition + 3)->IsPressed());
        EXPECT_FALSE(FindControl<CXPButton>(dialog, CDelayDlg::kIdPosition + 1)->IsPressed());
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(FindControl<CNumEdit>(dialog, CDelayDlg::kIdDelay + k)->GetValue(), 100 + 10 * k) << k;
    }));
    EXPECT_EQ(m_requests.size(), 2u);
    EXPECT_TRUE(Ctl<CXPButton>(2069)->IsPressed());
}

TEST_F(DelayDlgTest, CtrlZInTheDialogTakesThePositionBackOnTheProcessor)
{
    ASSERT_TRUE(ConnectOnline());
    const int nBefore = GetCurrentPosition(State());
    const int nOther = (nBefore + 1) % 4;
    ASSERT_TRUE(WithDelayDialog([&](CDelayDlg& dialog) {
        ClickOn(dialog, CDelayDlg::kIdPosition + nOther);
        ASSERT_EQ(GetCurrentPosition(State()), nOther);
        QTest::keyClick(&dialog, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(GetCurrentPosition(State()), nBefore);
        EXPECT_TRUE(FindControl<CXPButton>(dialog, CDelayDlg::kIdPosition + nBefore)->IsPressed());
    }));
    ASSERT_TRUE(Drain());
    EXPECT_EQ(m_pDevice->DelayTable().at(kDelaySelectedByte), nBefore);
}
