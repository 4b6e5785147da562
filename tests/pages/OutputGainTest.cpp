// Gain, bypass and Q of single bands, driven through the page's controls.
#include <QSignalSpy>

#include "PageFixture.h"

namespace {

constexpr int kBand5 = 4;

}  // namespace

TEST_F(PageTest, TypingZeroGainPressesBypassAndAClickLeavesItPressed)
{
    SetGainEverywhere(kBand5, kGainPlus6);
    ASSERT_FALSE(Bypass(kBand5)->IsPressed());
    Activate();

    Type(GainField(kBand5), "0");
    EXPECT_TRUE(Bypass(kBand5)->IsPressed());
    EXPECT_EQ(Band(0, kBand5).GetGain(), 0.0);
    EXPECT_EQ(Fader(kBand5)->GetPosInverted(), kGainCodeZero);

    Click(Bypass(kBand5));
    EXPECT_TRUE(Bypass(kBand5)->IsPressed());
    EXPECT_TRUE(Band(0, kBand5).IsEffectivelyBypassed());
    EXPECT_EQ(GainField(kBand5)->text(), "0.0");
}

TEST_F(PageTest, BypassShowsZeroAtCentreAndReleaseRestoresTheKeptGain)
{
    SetGainEverywhere(kBand5, kGainPlus6);
    ASSERT_EQ(GainField(kBand5)->text(), "6.0");

    Click(Bypass(kBand5));
    EXPECT_TRUE(Bypass(kBand5)->IsPressed());
    EXPECT_EQ(GainField(kBand5)->text(), "0.0");
    EXPECT_EQ(Fader(kBand5)->GetPosInverted(), kGainCodeZero);
    EXPECT_EQ(Fader(kBand5)->GetPos(), kGainCodeMax / 2);
    EXPECT_DOUBLE_EQ(Band(0, kBand5).GetGain(), 6.0);
    EXPECT_TRUE(Band(0, kBand5).IsEffectivelyBypassed());

    Click(Bypass(kBand5));
    EXPECT_FALSE(Bypass(kBand5)->IsPressed());
    EXPECT_EQ(GainField(kBand5)->text(), "6.0");
    EXPECT_EQ(Fader(kBand5)->GetPosInverted(), kGainPlus6);
    EXPECT_DOUBLE_EQ(Band(0, kBand5).GetGain(), 6.0);
    EXPECT_FALSE(Band(0, kBand5).IsEffectivelyBypassed());
}

TEST_F(PageTest, QSpinUpFromCode15GivesCode16AndALowerQ)
{
    Data().Output(0).SetEqMode(0);
    Band(0, kBand5).SetBandwidthCode(15);
    m_pPage->RefreshPage();
    ASSERT_EQ(QField(kBand5)->text(), "7.208");

    ClickSpin(Ctl<CNumSpin>(COutputDlg::kIdQSpin + kBand5), +1);
    EXPECT_EQ(Band(0, kBand5).GetBandwidthCode(), 16);
    const double dQ = QField(kBand5)->text().toDouble();
    EXPECT_LT(dQ, 7.208);
    EXPECT_DOUBLE_EQ(dQ, QTableEntry(16));
    EXPECT_EQ(m_pGraph->ShownBand(), kBand5);
}

// The gain spin and the fader always move together.
TEST_F(PageTest, GainSpinAndFaderFollowEachOther)
{
    Activate();
    ClickSpin(Ctl<CNumSpin>(COutputDlg::kIdGainSpin + kBand5), +1);
    EXPECT_EQ(Fader(kBand5)->GetPosInverted(), kGainCodeZero + 1);
    EXPECT_FALSE(Bypass(kBand5)->IsPressed());

    Fader(kBand5)->FocusMessage();
    QTest::keyClick(Fader(kBand5), Qt::Key_Up);
    EXPECT_EQ(Band(0, kBand5).GetGainCode(), kGainCodeZero + 2);
    EXPECT_EQ(GainField(kBand5)->text(), "0.2");
}

// A fader that gains the focus reports its position like a move; for a
// bypassed band that is the centre, which must not replace the kept gain.
TEST_F(PageTest, FaderGainingTheFocusIsNotAnEdit)
{
    SetGainEverywhere(kBand5, kGainPlus6);
    Band(0, kBand5).SetBypass(1);
    m_pPage->RefreshPage();
    ASSERT_EQ(Fader(kBand5)->GetPosInverted(), kGainCodeZero);
    Activate();

    QSignalSpy moving(Fader(kBand5), &CSkinFader::Moving);
    Fader(kBand5)->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(moving.count(), 1);
    EXPECT_DOUBLE_EQ(Band(0, kBand5).GetGain(), 6.0);
    EXPECT_TRUE(Band(0, kBand5).IsEffectivelyBypassed());
    EXPECT_TRUE(Bypass(kBand5)->IsPressed());
    EXPECT_EQ(m_pPage->MarkedBand(), -1);

    // Its next report is an edit again.
    QTest::keyClick(Fader(kBand5), Qt::Key_Up);
    EXPECT_EQ(Band(0, kBand5).GetGainCode(), kGainCodeZero + 1);
    EXPECT_FALSE(Bypass(kBand5)->IsPressed());
    EXPECT_EQ(m_pPage->MarkedBand(), kBand5);
}

TEST_F(PageTest, FaderDragIsAnEditEvenFromTheFocusPosition)
{
    Activate();
    CSkinFader* pFader = Fader(kBand5);
    const QPoint ptThumb(pFader->width() / 2, pFader->ThumbCentre());
    QTest::mousePress(pFader, Qt::LeftButton, {}, ptThumb);
    QTest::mouseMove(pFader, ptThumb - QPoint(0, 20));
    QTest::mouseRelease(pFader, Qt::LeftButton, {}, ptThumb - QPoint(0, 20));
    EXPECT_GT(Band(0, kBand5).GetGainCode(), kGainCodeZero);
    EXPECT_EQ(Band(0, kBand5).GetGainCode(), pFader->GetPosInverted());
    EXPECT_EQ(GainField(kBand5)->GetValue(), pFader->GetPosInverted());
}
