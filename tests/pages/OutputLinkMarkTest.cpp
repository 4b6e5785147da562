// Link fan-out of band edits, graph drags, and the band marking.
#include "PageFixture.h"

namespace {

constexpr int kBand3 = 2;
constexpr int kBand7 = 6;
constexpr int kBand8 = 7;
constexpr int kBand10 = 9;
constexpr int kBand12 = 11;

}  // namespace

TEST_F(PageTest, EditOnLinkedChannelReachesTheSameBandOfItsGroupOnly)
{
    State().m_nLinkGroup[0] = State().m_nLinkGroup[1] = 0;
    Select(1);
    Activate();
    Type(GainField(kBand7), "5.5");
    EXPECT_DOUBLE_EQ(Band(1, kBand7).GetGain(), 5.5);
    EXPECT_DOUBLE_EQ(Band(0, kBand7).GetGain(), 5.5);
    for (int k = 2; k < kOutputs; ++k)
        EXPECT_EQ(Band(k, kBand7).GetGain(), 0.0) << "output " << k;
    for (int i = 0; i < COutputDlg::kBands; ++i) {
        if (i != kBand7) {
            EXPECT_EQ(Band(0, i).GetGain(), 0.0) << "band " << i;
        }
    }

    Click(Bypass(kBand7));
    EXPECT_TRUE(Band(0, kBand7).IsEffectivelyBypassed());
    EXPECT_DOUBLE_EQ(Band(0, kBand7).GetGain(), 5.5);
}

TEST_F(PageTest, EditWithAllSixLinkedReachesEveryOutput)
{
    for (int k = 0; k < kOutputs; ++k) {
        State().m_nLinkGroup[k] = 3;
        Data().Output(k).SetEqMode(0);
    }
    Select(1);
    Activate();
    ClickSpin(Ctl<CNumSpin>(COutputDlg::kIdQSpin + kBand10), -1);
    Type(FreqField(kBand10), "900");
    for (int k = 0; k < kOutputs; ++k) {
        EXPECT_EQ(Band(k, kBand10).GetBandwidthCode(), 14) << "output " << k;
        EXPECT_EQ(Band(k, kBand10).GetFrequency(), 900) << "output " << k;
    }
}

TEST_F(PageTest, GraphDragUpdatesTheBandAndItsLinkedBands)
{
    State().m_nLinkGroup[1] = 0;
    Data().Output(0).SetEqMode(0);
    m_pPage->RefreshPage();
    CFilter& band = Band(0, kBand12);
    band.SetFrequency(1500, true);
    band.SetBandwidthCode(40);
    band.SetGainCode(280);
    m_pPage->BandEdited(kBand12);

    EXPECT_EQ(FreqField(kBand12)->text(), "1500");
    EXPECT_EQ(QField(kBand12)->GetValue(), 40);
    EXPECT_EQ(GainField(kBand12)->text(), "8.0");
    EXPECT_EQ(Fader(kBand12)->GetPosInverted(), 280);
    EXPECT_FALSE(Bypass(kBand12)->IsPressed());
    EXPECT_EQ(RedLabels(), std::vector<int>{kBand12});
    EXPECT_EQ(ColouredFields(), std::vector<int>{COutputDlg::kIdGainEdit + kBand12});
    EXPECT_EQ(Band(1, kBand12).GetFrequency(), 1500);
    EXPECT_EQ(Band(1, kBand12).GetBandwidthCode(), 40);
    EXPECT_EQ(Band(1, kBand12).GetGainCode(), 280);
    EXPECT_EQ(Band(2, kBand12).GetGainCode(), kGainCodeZero);
    EXPECT_FALSE(AllBypass()->IsPressed());
}

// A width drag of a bypassed band: the linked band keeps the same gain
// behind the same bypass.
TEST_F(PageTest, GraphDragOfBypassedBandKeepsTheLinkedGain)
{
    State().m_nLinkGroup[1] = 0;
    SetGainEverywhere(kBand12, kGainPlus6);
    Band(0, kBand12).SetBypass(1);
    Band(0, kBand12).SetBandwidthCode(50);
    m_pPage->BandEdited(kBand12);
    EXPECT_EQ(GainField(kBand12)->text(), "0.0");
    EXPECT_TRUE(Bypass(kBand12)->IsPressed());
    EXPECT_EQ(Band(1, kBand12).GetBandwidthCode(), 50);
    EXPECT_DOUBLE_EQ(Band(1, kBand12).GetGain(), 6.0);
    EXPECT_TRUE(Band(1, kBand12).IsEffectivelyBypassed());
}

TEST_F(PageTest, OnlyTheLastEditedBandIsMarked)
{
    Activate();
    ASSERT_TRUE(RedLabels().empty());
    Fader(kBand3)->FocusMessage();
    QTest::keyClick(Fader(kBand3), Qt::Key_Up);
    EXPECT_EQ(RedLabels(), std::vector<int>{kBand3});
    EXPECT_EQ(ColouredFields(), std::vector<int>{COutputDlg::kIdGainEdit + kBand3});

    Click(Bypass(kBand7));
    EXPECT_EQ(RedLabels(), std::vector<int>{kBand7});
    EXPECT_EQ(ColouredFields(), std::vector<int>{COutputDlg::kIdGainEdit + kBand7});
    EXPECT_EQ(m_pPage->MarkedBand(), kBand7);
    EXPECT_EQ(m_pPage->HighlightedField(), GainField(kBand7));

    // A typed gain moves the highlight, not the red label; the fader moves both.
    Type(GainField(kBand8), "1.0");
    EXPECT_EQ(RedLabels(), std::vector<int>{kBand7});
    EXPECT_EQ(ColouredFields(), std::vector<int>{COutputDlg::kIdGainEdit + kBand8});
    Fader(kBand8)->FocusMessage();
    QTest::keyClick(Fader(kBand8), Qt::Key_Down);
    EXPECT_EQ(RedLabels(), std::vector<int>{kBand8});
}

TEST_F(PageTest, ChannelSelectionClearsTheMarks)
{
    Activate();
    Click(Bypass(kBand7));
    ASSERT_EQ(RedLabels().size(), 1u);
    Select(2);
    EXPECT_TRUE(RedLabels().empty());
    EXPECT_TRUE(ColouredFields().empty());
    EXPECT_EQ(m_pPage->MarkedBand(), -1);
    EXPECT_EQ(m_pPage->HighlightedField(), nullptr);
}

TEST_F(PageTest, RefreshLoadsTheSelectedOutput)
{
    Data().Output(3).SetEqMode(0);
    Band(3, kBand10).SetFrequency(777, true);
    Band(3, kBand10).SetGainCode(kGainPlus3);
    Select(3);
    EXPECT_EQ(m_pPage->CurrentOutput(), 3);
    EXPECT_FALSE(Mode()->IsPressed());
    EXPECT_TRUE(FreqField(kBand10)->isEnabled());
    EXPECT_EQ(FreqField(kBand10)->text(), "777");
    EXPECT_EQ(GainField(kBand10)->text(), "3.0");
    EXPECT_EQ(Fader(kBand10)->GetPosInverted(), kGainPlus3);
    EXPECT_FALSE(Bypass(kBand10)->IsPressed());
    EXPECT_FALSE(AllBypass()->IsPressed());
    Select(0);
    EXPECT_TRUE(Mode()->IsPressed());
    EXPECT_EQ(GainField(kBand10)->text(), "0.0");
    EXPECT_TRUE(AllBypass()->IsPressed());
}

TEST_F(PageTest, LanguageSwitchReskinsTheButtonsAndCaptions)
{
    const int nEnglishImage = Bypass(kBand3)->CurrentImage();
    const QString strEnglishTip = GainField(kBand3)->toolTip();
    g_bChinese = 1;
    m_pPage->ApplyLanguage();
    EXPECT_NE(Bypass(kBand3)->CurrentImage(), nEnglishImage);
    EXPECT_NE(AllBypass()->CurrentImage(), nEnglishImage);
    EXPECT_EQ(GainField(kBand3)->toolTip(), QString::fromUtf8("增益 (dB) 3"));
    g_bChinese = 0;
    m_pPage->ApplyLanguage();
    EXPECT_EQ(Bypass(kBand3)->CurrentImage(), nEnglishImage);
    EXPECT_EQ(GainField(kBand3)->toolTip(), strEnglishTip);
}
