// "ALLBYPASS": the whole-set bypass of the selected output and its group.
#include "PageFixture.h"

namespace {

constexpr int kBand4 = 3;

std::vector<QString> Texts(const std::vector<CNumEdit*>& fields)
{
    std::vector<QString> texts;
    for (CNumEdit* pField : fields)
        texts.push_back(pField->text());
    return texts;
}

}  // namespace

TEST_F(PageTest, AllBandsAtZeroKeepAllBypassPressedWithoutAQuestion)
{
    ASSERT_TRUE(AllBypass()->IsPressed());
    BoxAnswerer answerer({QMessageBox::No});
    Click(AllBypass());
    QTest::qWait(50);
    EXPECT_TRUE(answerer.m_asked.empty());
    EXPECT_TRUE(AllBypass()->IsPressed());
    EXPECT_TRUE(Data().Output(0).TestAllBypassed());
    EXPECT_TRUE(m_pHost->m_resent.empty());
}

TEST_F(PageTest, AllBypassRoundTripShowsZeroThenRestoresTheGain)
{
    State().m_nLinkGroup[1] = 0;
    SetGainEverywhere(kBand4, kGainPlus3);
    ASSERT_FALSE(AllBypass()->IsPressed());

    BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes});
    Click(AllBypass());
    ASSERT_EQ(answerer.m_asked.size(), 1u);
    EXPECT_EQ(answerer.m_asked[0], "ByPass All EQ?");
    EXPECT_EQ(answerer.m_offered[0], QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(AllBypass()->IsPressed());
    for (int i = 0; i < COutputDlg::kBands; ++i) {
        EXPECT_EQ(GainField(i)->text(), "0.0") << "band " << i + 1;
        EXPECT_TRUE(Bypass(i)->IsPressed()) << "band " << i + 1;
    }
    EXPECT_DOUBLE_EQ(Band(0, kBand4).GetGain(), 3.0);
    EXPECT_TRUE(Data().Output(1).TestAllBypassed());
    EXPECT_FALSE(Data().Output(2).TestAllBypassed());
    EXPECT_EQ(m_pHost->m_resent, (std::vector<int>{0, 1}));

    Click(AllBypass());
    ASSERT_EQ(answerer.m_asked.size(), 2u);
    EXPECT_EQ(answerer.m_asked[1], "Restore All EQ?");
    EXPECT_FALSE(AllBypass()->IsPressed());
    EXPECT_EQ(GainField(kBand4)->text(), "3.0");
    EXPECT_EQ(Fader(kBand4)->GetPosInverted(), kGainPlus3);
    EXPECT_FALSE(Bypass(kBand4)->IsPressed());
    EXPECT_FALSE(Band(1, kBand4).IsEffectivelyBypassed());
    EXPECT_EQ(m_pHost->m_resent, (std::vector<int>{0, 1, 0, 1}));
}

TEST_F(PageTest, AllBypassAnsweredNoChangesNothing)
{
    SetGainEverywhere(kBand4, kGainPlus3);
    std::vector<CNumEdit*> fields;
    for (int i = 0; i < COutputDlg::kBands; ++i)
        fields.push_back(GainField(i));
    const std::vector<QString> before = Texts(fields);

    BoxAnswerer answerer({QMessageBox::No});
    Click(AllBypass());
    ASSERT_EQ(answerer.m_asked.size(), 1u);
    EXPECT_EQ(answerer.m_asked[0], "ByPass All EQ?");
    EXPECT_FALSE(AllBypass()->IsPressed());
    EXPECT_EQ(Texts(fields), before);
    EXPECT_FALSE(Bypass(kBand4)->IsPressed());
    EXPECT_FALSE(Band(0, kBand4).IsEffectivelyBypassed());
    EXPECT_DOUBLE_EQ(Band(0, kBand4).GetGain(), 3.0);
    EXPECT_FALSE(Data().Output(0).TestAllBypassed());
    EXPECT_TRUE(m_pHost->m_resent.empty());

    // The set is as it was: the next click asks the same question again.
    Click(AllBypass());
    ASSERT_EQ(answerer.m_asked.size(), 2u);
    EXPECT_EQ(answerer.m_asked[1], "ByPass All EQ?");
}

TEST_F(PageTest, AllBypassQuestionsFollowTheLanguage)
{
    SetGainEverywhere(kBand4, kGainPlus3);
    g_bChinese = 1;
    BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::No});
    Click(AllBypass());
    Click(AllBypass());
    g_bChinese = 0;
    ASSERT_EQ(answerer.m_asked.size(), 2u);
    EXPECT_EQ(answerer.m_asked[0], QString::fromUtf8("旁路所有均衡？"));
    EXPECT_EQ(answerer.m_asked[1], QString::fromUtf8("恢复所有均衡？"));
    // No to the restore keeps the set bypassed.
    EXPECT_TRUE(AllBypass()->IsPressed());
    EXPECT_TRUE(Data().Output(0).TestAllBypassed());
}
