// The mode button: parametric ↔ graphic, and what graphic mode locks.
#include "PageFixture.h"

namespace {

constexpr int kBand = 9;
constexpr int kCustomFreq = 1234;
constexpr int kCustomWidth = 60;

}  // namespace

class ModeTest : public PageTest {
protected:
    // Output 0 linked with output 1; every output parametric with band 10
    // moved off its standard values.
    void SetUp() override
    {
        PageTest::SetUp();
        for (int k = 0; k < kOutputs; ++k) {
            Data().Output(k).SetEqMode(0);
            Band(k, kBand).SetFrequency(kCustomFreq, true);
            Band(k, kBand).SetBandwidthCode(kCustomWidth);
            Band(k, kBand).SetGainCode(kGainPlus6);
        }
        State().m_nLinkGroup[1] = 0;
        m_pPage->RefreshPage();
    }

    bool IsCustom(int k)
    {
        const CFilter& band = Band(k, kBand);
        return band.GetFrequency() == kCustomFreq && band.GetBandwidthCode() == kCustomWidth
               && band.GetGainCode() == kGainPlus6;
    }
    bool IsReset(int k)
    {
        for (int i = 0; i < COutputDlg::kBands; ++i) {
            const CFilter& band = Band(k, i);
            if (band.GetFrequency() != g_nGraphicFreq[static_cast<size_t>(i)] || band.GetBandwidthCode() != 15
                || band.GetGain() != 0.0 || !band.IsEffectivelyBypassed())
                return false;
        }
        return true;
    }
};

TEST_F(ModeTest, ToGraphicResetsTheChannelAndItsLinkedChannels)
{
    ASSERT_FALSE(Mode()->IsPressed());
    ASSERT_TRUE(FreqField(kBand)->isEnabled());
    BoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});

    Click(Mode());
    ASSERT_EQ(answerer.m_asked.size(), 1u);
    EXPECT_EQ(answerer.m_asked[0], "Whether the PEQMode convert to GEQMode?");
    EXPECT_EQ(answerer.m_offered[0], QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(m_pHost->m_nResets, 1);
    EXPECT_TRUE(Mode()->IsPressed());
    EXPECT_TRUE(IsReset(0));
    EXPECT_TRUE(IsReset(1));
    EXPECT_TRUE(IsCustom(2));
    EXPECT_EQ(Data().Output(0).GetEqMode(), 1);
    EXPECT_EQ(Data().Output(1).GetEqMode(), 1);
    EXPECT_EQ(Data().Output(2).GetEqMode(), 0);
    EXPECT_EQ(FreqField(kBand)->text(), QString::number(g_nGraphicFreq[kBand]));
    EXPECT_EQ(GainField(kBand)->text(), "0.0");
    EXPECT_FALSE(FreqField(kBand)->isEnabled());

    Click(Mode());
    ASSERT_EQ(answerer.m_asked.size(), 2u);
    EXPECT_EQ(answerer.m_asked[1], "Whether the GEQMode convert to PEQMode?");
    EXPECT_EQ(m_pHost->m_nResets, 1);
    EXPECT_FALSE(Mode()->IsPressed());
    EXPECT_EQ(Data().Output(0).GetEqMode(), 0);
    EXPECT_TRUE(IsReset(0));
    EXPECT_TRUE(FreqField(kBand)->isEnabled());
    EXPECT_TRUE(QField(kBand)->isEnabled());
}

TEST_F(ModeTest, ModeQuestionIsEnglishInChineseToo)
{
    g_bChinese = 1;
    BoxAnswerer answerer({QMessageBox::Cancel});
    Click(Mode());
    g_bChinese = 0;
    ASSERT_EQ(answerer.m_asked.size(), 1u);
    EXPECT_EQ(answerer.m_asked[0], "Whether the PEQMode convert to GEQMode?");
}

TEST_F(ModeTest, CancelChangesNothing)
{
    BoxAnswerer answerer({QMessageBox::Cancel});
    Click(Mode());
    ASSERT_EQ(answerer.m_asked.size(), 1u);
    EXPECT_EQ(m_pHost->m_nResets, 0);
    EXPECT_FALSE(Mode()->IsPressed());
    EXPECT_EQ(Data().Output(0).GetEqMode(), 0);
    EXPECT_TRUE(IsCustom(0));
    EXPECT_TRUE(IsCustom(1));
    EXPECT_TRUE(FreqField(kBand)->isEnabled());
    EXPECT_EQ(FreqField(kBand)->text(), QString::number(kCustomFreq));
}

// A new record is graphic: frequency and Q are fixed, gain, fader and
// bypass still work.
TEST_F(PageTest, GraphicModeLocksFrequencyAndQ)
{
    ASSERT_TRUE(Mode()->IsPressed());
    Activate();
    for (int i = 0; i < COutputDlg::kBands; ++i) {
        EXPECT_FALSE(FreqField(i)->isEnabled()) << "band " << i + 1;
        EXPECT_FALSE(Ctl<CNumSpin>(COutputDlg::kIdFreqSpin + i)->isEnabled()) << "band " << i + 1;
        EXPECT_FALSE(QField(i)->isEnabled()) << "band " << i + 1;
    }
    constexpr int i = 6;
    ClickSpin(Ctl<CNumSpin>(COutputDlg::kIdFreqSpin + i), +1);
    QTest::keyClicks(FreqField(i), "5000");
    EXPECT_EQ(Band(0, i).GetFrequency(), g_nGraphicFreq[i]);
    EXPECT_EQ(FreqField(i)->text(), QString::number(g_nGraphicFreq[i]));

    Type(GainField(i), "2.5");
    EXPECT_DOUBLE_EQ(Band(0, i).GetGain(), 2.5);
    Fader(i)->FocusMessage();
    QTest::keyClick(Fader(i), Qt::Key_Up);
    EXPECT_EQ(Band(0, i).GetGainCode(), 226);
    Click(Bypass(i));
    EXPECT_TRUE(Band(0, i).IsEffectivelyBypassed());
}
