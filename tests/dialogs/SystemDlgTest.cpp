// The system settings against the virtual processor: the source as system
// item 2, the limiter fields and their link group, the mix lists, and which
// changes reach the processor.
#include <QAbstractItemView>
#include <QComboBox>

#include "CurSYSDlg.h"
#include "DataDefine.h"
#include "FindControl.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "ProgramFixture.h"

namespace {

// Picks an entry the way a user does: open the list, move to it, Enter.
void Choose(QComboBox* pList, int nIndex)
{
    pList->showPopup();
    QAbstractItemView* pView = pList->view();
    pView->setCurrentIndex(pView->model()->index(nIndex, 0));
    QTest::keyClick(pView, Qt::Key_Return);
}

}  // namespace

class SystemDlgTest : public ProgramTest {
protected:
    bool WithSystemDialog(const std::function<void(CCurSYSDlg&)>& act)
    {
        return WithModal<CCurSYSDlg>(8802, [act](CCurSYSDlg& dialog) {
            act(dialog);
            EXPECT_TRUE(dialog.isVisible());  // Enter and Esc close nothing
        });
    }
    int GroupWrites(int nKind, int nChannel, int nGroup) const
    {
        int n = 0;
        for (const RawFrame& f : Sent())
            n += (f[kFoCommand] == kCmdWrite && f[kFoKind] == nKind && f[kFoChannel] == nChannel &&
                  f[kFoGroup] == nGroup) ? 1 : 0;
        return n;
    }
    static QString FieldText(CCurSYSDlg& dialog, int nId) { return FindControl<CNumEdit>(dialog, nId)->text(); }
};

TEST_F(SystemDlgTest, OnlyANewSourceIsSentWithTheControlBlock)
{
    ASSERT_TRUE(ConnectOnline());
    const int nCurrent = State().m_ControlBlock[0];
    const int nNew = (nCurrent + 1) % 4;
    m_pDevice->ClearReceivedFrames();
    ASSERT_TRUE(WithSystemDialog([&](CCurSYSDlg& dialog) {
        auto* pSource = FindControl<QComboBox>(dialog, CCurSYSDlg::kIdSource);
        EXPECT_EQ(pSource->currentIndex(), nCurrent);
        Choose(pSource, nCurrent);
        ASSERT_TRUE(Drain());
        EXPECT_EQ(CountWrites(kKindSystem, kItemControl, kCmdWrite), 0);
        Choose(pSource, nNew);
    }));
    ASSERT_TRUE(Drain());
    EXPECT_EQ(State().m_ControlBlock[0], nNew);
    ASSERT_EQ(CountWrites(kKindSystem, kItemControl, kCmdWrite), 1);
    for (const RawFrame& f : Sent()) {
        if (f[kFoKind] == kKindSystem && f[kFoChannel] == kItemControl) {
            EXPECT_EQ(RawFrame(f.begin() + kFoPayload, f.begin() + kFoPayload + kControlSize),
                      RawFrame(State().m_ControlBlock, State().m_ControlBlock + kControlSize));
        }
    }
}

TEST_F(SystemDlgTest, TypedThresholdsAreLimitedToMinus30And6Dbu)
{
    ASSERT_TRUE(WithSystemDialog([this](CCurSYSDlg& dialog) {
        TypeAndEnter(CCurSYSDlg::kIdThreshold, "6.5");
        EXPECT_EQ(FieldText(dialog, CCurSYSDlg::kIdThreshold), "6.0dBu");
        EXPECT_EQ(Data().Output(0).GetThreshold(), 360);
        TypeAndEnter(CCurSYSDlg::kIdThreshold + 4, "-35");
        EXPECT_EQ(FieldText(dialog, CCurSYSDlg::kIdThreshold + 4), "-30.0dBu");
        EXPECT_EQ(Data().Output(4).GetThreshold(), 0);
    }));
}

TEST_F(SystemDlgTest, NoiseGateAtZeroShowsOffInEitherLanguage)
{
    for (const bool bChinese : {false, true}) {
        StartApp(bChinese);
        Data().Music().SetNoiseGate(0);
        ASSERT_TRUE(WithSystemDialog([bChinese](CCurSYSDlg& dialog) {
            EXPECT_EQ(FieldText(dialog, CCurSYSDlg::kIdGate), bChinese ? QString::fromUtf8("关闭") : "OFF");
            EXPECT_EQ(dialog.windowTitle(), bChinese ? QString::fromUtf8("系统") : "System");
        }));
    }
}

// The mix goes to the linked outputs as well, so their lists show it, now
// and when the dialog is opened again.
TEST_F(SystemDlgTest, LinkedOutputsFollowTheLimiterAndTheMix)
{
    Data().Output(1).SetLeftOff(0);  // CH2 shows "L+R", CH3 "L"
    Data().Output(1).SetRightOff(0);
    Data().Output(2).SetLeftOff(0);
    Data().Output(2).SetRightOff(1);
    {
        ModelLock lock(State().m_csModel);
        State().m_nLinkGroup[1] = State().m_nLinkGroup[2] = 0;
    }
    const int nUnlinked = Data().Output(3).GetThreshold();
    ASSERT_TRUE(WithSystemDialog([this, nUnlinked](CCurSYSDlg& dialog) {
        TypeAndEnter(CCurSYSDlg::kIdThreshold, "-12.5");
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(FieldText(dialog, CCurSYSDlg::kIdThreshold + i), "-12.5dBu") << i;
            EXPECT_EQ(Data().Output(i).GetThreshold(), 175) << i;
        }
        EXPECT_EQ(Data().Output(3).GetThreshold(), nUnlinked);
        Choose(FindControl<QComboBox>(dialog, CCurSYSDlg::kIdMix), CCurSYSDlg::kMixRight);
        EXPECT_EQ(Data().Output(0).GetLeftOff(), 1);
        EXPECT_EQ(Data().Output(0).GetRightOff(), 0);
        for (int i = 1; i < 3; ++i)
            EXPECT_EQ(FindControl<QComboBox>(dialog, CCurSYSDlg::kIdMix + i)->currentIndex(), CCurSYSDlg::kMixRight) << i;
        Choose(FindControl<QComboBox>(dialog, CCurSYSDlg::kIdRelease), 3);
        EXPECT_EQ(FindControl<QComboBox>(dialog, CCurSYSDlg::kIdRelease + 2)->currentIndex(), 3);
        EXPECT_EQ(Data().Output(2).GetRelease(), 3);
    }));
    ASSERT_TRUE(WithSystemDialog([](CCurSYSDlg& dialog) {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(FindControl<QComboBox>(dialog, CCurSYSDlg::kIdMix + i)->currentIndex(), CCurSYSDlg::kMixRight) << i;
    }));
}

TEST_F(SystemDlgTest, EachChangeArrivesAsItsGroupWrite)
{
    ASSERT_TRUE(ConnectOnline());
    m_pDevice->ClearReceivedFrames();
    ASSERT_TRUE(WithSystemDialog([this](CCurSYSDlg& dialog) {
        TypeAndEnter(CCurSYSDlg::kIdAttack + 3, "20");
        TypeAndEnter(CCurSYSDlg::kIdGate, "-70");
        Choose(FindControl<QComboBox>(dialog, CCurSYSDlg::kIdMix + 5), CCurSYSDlg::kMixBoth);
    }));
    ASSERT_TRUE(Drain());
    EXPECT_EQ(Data().Output(3).GetAttack(), 26);
    EXPECT_EQ(Data().Music().GetNoiseGate(), 50);
    EXPECT_GE(GroupWrites(kKindOutput, 3, CKTV_OutData::kGroupLimiter), 1);
    EXPECT_GE(GroupWrites(kKindMusic, kMusicChannel, CMusic_InData::kGroupNoiseGate), 1);
    EXPECT_GE(GroupWrites(kKindOutput, 5, CKTV_OutData::kGroupRouting), 1);
    EXPECT_EQ(GroupWrites(kKindOutput, 2, CKTV_OutData::kGroupLimiter), 0);
}

TEST_F(SystemDlgTest, ChangesBeforeTheFullReadAreNeverSent)
{
    ASSERT_TRUE(WithSystemDialog([this](CCurSYSDlg&) {
        TypeAndEnter(CCurSYSDlg::kIdThreshold + 1, "0");
        TypeAndEnter(CCurSYSDlg::kIdGate, "-60");
    }));
    ASSERT_TRUE(ConnectOnline());
    EXPECT_EQ(GroupWrites(kKindOutput, 1, CKTV_OutData::kGroupLimiter), 0);
    EXPECT_EQ(GroupWrites(kKindMusic, kMusicChannel, CMusic_InData::kGroupNoiseGate), 0);
}

TEST_F(SystemDlgTest, TheHistoryKeysWorkInTheDialogAndItsFieldsFollow)
{
    const int nBefore = Data().Output(0).GetThreshold();
    ASSERT_TRUE(WithSystemDialog([this, nBefore](CCurSYSDlg& dialog) {
        TypeAndEnter(CCurSYSDlg::kIdThreshold, "-12.5");
        const int nTyped = Data().Output(0).GetThreshold();
        ASSERT_NE(nTyped, nBefore);
        const QString strTyped = FieldText(dialog, CCurSYSDlg::kIdThreshold);
        QTest::keyClick(&dialog, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Data().Output(0).GetThreshold(), nBefore);
        EXPECT_NE(FieldText(dialog, CCurSYSDlg::kIdThreshold), strTyped);
        QTest::keyClick(&dialog, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(Data().Output(0).GetThreshold(), nTyped);
        EXPECT_EQ(FieldText(dialog, CCurSYSDlg::kIdThreshold), strTyped);
    }));
}
