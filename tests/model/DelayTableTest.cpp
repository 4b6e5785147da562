#include "DelayTable.h"
#include "ModelFixture.h"

class DelayTableTest : public ModelTest {};

TEST_F(DelayTableTest, TwentyMillisecondsInEachUnit)
{
    EXPECT_EQ(DelayText(960, kDelayUnitMs), "20.000ms");
    EXPECT_EQ(DelayText(960, kDelayUnitCm), "692.00cm");
    // 6.92 m × 3.28 × 12 inches.
    EXPECT_EQ(DelayText(960, kDelayUnitInch), "272.37INCH");
    EXPECT_EQ(DelayText(1, kDelayUnitMs), "0.021ms");
}

TEST_F(DelayTableTest, DelaysAreStoredPerPositionAndChannelLittleEndian)
{
    SetPositionDelay(2, 5, 0x0123);
    EXPECT_EQ(GetPositionDelay(2, 5), 0x0123);
    EXPECT_EQ(g_DelayTable[(2 * 6 + 5) * 2], 0x23);
    EXPECT_EQ(g_DelayTable[(2 * 6 + 5) * 2 + 1], 0x01);
    const int nBefore = GetPositionDelay(1, 5);
    SetPositionDelay(2, 4, 7);
    EXPECT_EQ(GetPositionDelay(1, 5), nBefore) << "a neighbour's write leaves the others alone";
    SetPositionDelay(0, 0, 5000);
    EXPECT_EQ(GetPositionDelay(0, 0), 960) << "delays are limited to 20 ms";
    const uint8_t nPosition = g_DelayTable[kDelaySelectedByte];
    SetPositionDelay(4, 0, 10);  // no such position: the byte after the table stays
    EXPECT_EQ(g_DelayTable[kDelaySelectedByte], nPosition);
}

TEST_F(DelayTableTest, CurrentPositionIsLimitedToTheFourPositions)
{
    g_DelayTable[kDelaySelectedByte] = 9;
    EXPECT_EQ(GetCurrentPosition(), 3);
    SetCurrentPosition(1);
    EXPECT_EQ(g_DelayTable[kDelaySelectedByte], 1);
}
