#include <gtest/gtest.h>

#include "GlobalData.h"
#include "ValueScales.h"

TEST(ValueScales, LevelAndMute)
{
    g_bChinese = 0;
    EXPECT_EQ(LevelText(60, 0), "0.0dB");
    EXPECT_EQ(LevelText(70, 0), "10.0dB");
    EXPECT_EQ(LevelText(0, 0), "-60.0dB");
    EXPECT_EQ(LevelText(65, 1), "-60.0dB");
    EXPECT_EQ(LevelText(250, 0), "10.0dB");  // unchecked codes are limited
}

TEST(ValueScales, LimiterTexts)
{
    EXPECT_EQ(ThresholdText(0), "-30.0dBu");
    EXPECT_EQ(ThresholdText(360), "6.0dBu");
    EXPECT_EQ(ThresholdText(300), "0.0dBu");
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
    EXPECT_EQ(NoiseGateText(0), "OFF");
    EXPECT_EQ(NoiseGateText(40), "-80dBu");
    EXPECT_DOUBLE_EQ(DelayToMs(960), 20.0);
    EXPECT_EQ(SecondaryGainText(80), "OFF");
    EXPECT_EQ(SecondaryGainText(86), "6.0dB");
    EXPECT_EQ(OffsetDbText(80), "0.0dB");
}
