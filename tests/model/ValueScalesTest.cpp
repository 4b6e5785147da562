#include <gtest/gtest.h>

#include "GlobalData.h"
#include "ValueScales.h"

TEST(ValueScales, LimiterTexts)
{
    EXPECT_EQ(AttackText(0), "0.3ms");
    EXPECT_EQ(AttackText(6), "0.9ms");
    EXPECT_EQ(AttackText(7), "1ms");
    EXPECT_EQ(AttackText(106), "100ms");
    EXPECT_EQ(AttackText(255), "100ms");
    EXPECT_EQ(ReleaseText(0), "Atk * 2");
    EXPECT_EQ(ReleaseText(5), "Atk * 32");
    EXPECT_EQ(ReleaseText(99), "Atk * 32");
}

TEST(ValueScales, OtherScales)
{
    g_bChinese = 0;
    EXPECT_EQ(PolarityText(0), "Pol+");
    EXPECT_EQ(PolarityText(1), "Pol-");
    g_bChinese = 1;
    EXPECT_EQ(PolarityText(1), "反相");
    g_bChinese = 0;
    EXPECT_DOUBLE_EQ(DelayToMs(960), 20.0);
}
