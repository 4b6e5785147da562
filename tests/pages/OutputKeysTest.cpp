// Keyboard of the output page: fader walk, Enter down a column, Enter and
// Esc back to the form.
#include "PageFixture.h"

namespace {

constexpr int kBand1 = 0;
constexpr int kBand5 = 4;
constexpr int kBand31 = 30;

}  // namespace

TEST_F(PageTest, LeftOnFirstFaderFocusesTheLastWithoutMovingEither)
{
    SetGainEverywhere(kBand1, kGainPlus3);
    Activate();
    Fader(kBand1)->FocusMessage();
    ASSERT_TRUE(Fader(kBand1)->hasFocus());

    QTest::keyClick(Fader(kBand1), Qt::Key_Left);
    EXPECT_TRUE(Fader(kBand31)->hasFocus());
    EXPECT_EQ(Fader(kBand1)->GetPosInverted(), kGainPlus3);
    EXPECT_EQ(Fader(kBand31)->GetPosInverted(), kGainCodeZero);
    EXPECT_EQ(Band(0, kBand1).GetGainCode(), kGainPlus3);
    EXPECT_TRUE(Band(0, kBand31).IsEffectivelyBypassed());
    EXPECT_EQ(m_pPage->MarkedBand(), -1);

    QTest::keyClick(Fader(kBand31), Qt::Key_Right);
    EXPECT_TRUE(Fader(kBand1)->hasFocus());
    QTest::keyClick(Fader(kBand1), Qt::Key_Right);
    EXPECT_TRUE(Fader(kBand1 + 1)->hasFocus());
    EXPECT_EQ(Fader(kBand1)->GetPosInverted(), kGainPlus3);
}

TEST_F(PageTest, EnterInGainFieldCommitsAndFocusesTheBandsFader)
{
    Activate();
    Type(GainField(kBand5), "-4.5", Qt::Key_Return);
    EXPECT_TRUE(Fader(kBand5)->hasFocus());
    EXPECT_DOUBLE_EQ(Band(0, kBand5).GetGain(), -4.5);
    EXPECT_EQ(Fader(kBand5)->GetPosInverted(), 155);
    EXPECT_FALSE(Bypass(kBand5)->IsPressed());
}

TEST_F(PageTest, EnterWalksDownTheColumn)
{
    Data().Output(0).SetEqMode(0);
    m_pPage->RefreshPage();
    Activate();
    Type(FreqField(kBand5), "70", Qt::Key_Enter);
    EXPECT_TRUE(QField(kBand5)->hasFocus());
    EXPECT_EQ(Band(0, kBand5).GetFrequency(), 70);
    QTest::keyClick(QField(kBand5), Qt::Key_Return);
    EXPECT_TRUE(GainField(kBand5)->hasFocus());
}

TEST_F(PageTest, EscAndEnterElsewhereGiveTheFocusToTheForm)
{
    Activate();
    Type(GainField(kBand5), "7.0", Qt::Key_Escape);
    EXPECT_TRUE(m_pWindow->hasFocus());
    EXPECT_DOUBLE_EQ(Band(0, kBand5).GetGain(), 7.0);

    Fader(kBand5)->FocusMessage();
    QTest::keyClick(Fader(kBand5), Qt::Key_Return);
    EXPECT_TRUE(m_pWindow->hasFocus());
    EXPECT_EQ(Band(0, kBand5).GetGainCode(), 270);
}
