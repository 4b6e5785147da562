// The measurement reader: what it accepts, what it refuses and how it says so.
#include <gtest/gtest.h>

#include <string>

#include "MeasurementFile.h"
#include "ModelFixture.h"
#include "RoomFixture.h"

class MeasurementFile : public ModelTest {};

TEST_F(MeasurementFile, ReadsRewTextAndFrdMeasurements)
{
    const MeasurementResult rew = ReadMeasurementFile(RoomFixture("rew_measurement.txt"));
    ASSERT_TRUE(rew.bOk) << rew.strError;
    EXPECT_EQ(rew.points.size(), 127u);
    EXPECT_DOUBLE_EQ(rew.points.front().dFreq, 15.0);
    EXPECT_DOUBLE_EQ(rew.points[1].dPhase, -2.2577);
    EXPECT_TRUE(HasPhase(rew.points));

    // Commas and tabs, Windows line ends, no phase.
    const MeasurementResult frd = ReadMeasurementFile(RoomFixture("measurement.frd"));
    ASSERT_TRUE(frd.bOk) << frd.strError;
    EXPECT_EQ(frd.points.size(), 68u);
    EXPECT_DOUBLE_EQ(frd.points[1].dFreq, 11.22);
    EXPECT_FALSE(HasPhase(frd.points));
}

TEST_F(MeasurementFile, RefusesBadMeasurements)
{
    for (const char* szText : {"100 70\nabc 71\n", "100 nan\n200 70\n", "0.5 70\n100 70\n", "100 70\n200000 70\n",
                               "100 70\n90 71\n", "100 70\n100 71\n", "100 70 1 2\n200 70\n", "100\n200\n",
                               "* only a comment\n", "\x89PNG\r\n\x1a\n", "100 70\n200 1e308\n", "100 -500.5\n200 70\n"}) {
        const MeasurementResult result = ParseMeasurement(szText);
        EXPECT_FALSE(result.bOk) << szText;
        EXPECT_FALSE(result.strError.empty()) << szText;
    }
    EXPECT_TRUE(ParseMeasurement("100 500\n200 -500\n").bOk);
    EXPECT_FALSE(ReadMeasurementFile(RoomFixture("missing.frd")).bOk);
}

TEST_F(MeasurementFile, SkipsAByteOrderMarkAndRefusesUtf16)
{
    const MeasurementResult result = ParseMeasurement("\xEF\xBB\xBF* REW export\n20 70\n40 71\n");
    ASSERT_TRUE(result.bOk) << result.strError;
    EXPECT_EQ(result.points.size(), 2u);
    for (const std::string& strUtf16 : {std::string("\xFF\xFE\x32\x00\x30\x00\x20\x00", 8),
                                        std::string("\x00\x32\x00\x30\x00\x20", 6)}) {
        const MeasurementResult refused = ParseMeasurement(strUtf16);
        EXPECT_FALSE(refused.bOk);
        EXPECT_NE(refused.strError.find("UTF-16"), std::string::npos) << refused.strError;
    }
}

TEST_F(MeasurementFile, ReadsDecimalCommasBesideCommaSeparatedFields)
{
    const MeasurementResult comma = ParseMeasurement("20 75,3\n40\t76,5\t-12,25\n80;77,125\n");
    ASSERT_TRUE(comma.bOk) << comma.strError;
    EXPECT_DOUBLE_EQ(comma.points[0].dDb, 75.3);
    EXPECT_DOUBLE_EQ(comma.points[1].dDb, 76.5);
    EXPECT_DOUBLE_EQ(comma.points[2].dDb, 77.125);
    const MeasurementResult separated = ParseMeasurement("20,75.5\n40, 76\n80.5,77,1\n");
    ASSERT_TRUE(separated.bOk) << separated.strError;
    EXPECT_DOUBLE_EQ(separated.points[0].dDb, 75.5);
    EXPECT_DOUBLE_EQ(separated.points[1].dDb, 76.0);
    EXPECT_DOUBLE_EQ(separated.points[2].dFreq, 80.5);
}
