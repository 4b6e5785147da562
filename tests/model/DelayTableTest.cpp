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
    SetPositionDelay(State(), 2, 5, 0x0123);
    EXPECT_EQ(GetPositionDelay(State(), 2, 5), 0x0123);
    EXPECT_EQ(State().m_DelayTable[(2 * 6 + 5) * 2], 0x23);
    EXPECT_EQ(State().m_DelayTable[(2 * 6 + 5) * 2 + 1], 0x01);
    const int nBefore = GetPositionDelay(State(), 1, 5);
    SetPositionDelay(State(), 2, 4, 7);
    EXPECT_EQ(GetPositionDelay(State(), 1, 5), nBefore) << "a neighbour's write leaves the others alone";
    SetPositionDelay(State(), 0, 0, 5000);
    EXPECT_EQ(GetPositionDelay(State(), 0, 0), 960) << "delays are limited to 20 ms";
    const uint8_t nPosition = State().m_DelayTable[kDelaySelectedByte];
    SetPositionDelay(State(), 4, 0, 10);  // no such position: the byte after the table stays
    EXPECT_EQ(State().m_DelayTable[kDelaySelectedByte], nPosition);
}

TEST_F(DelayTableTest, CurrentPositionIsLimitedToTheFourPositions)
{
    State().m_DelayTable[kDelaySelectedByte] = 9;
    EXPECT_EQ(GetCurrentPosition(State()), 3);
    SetCurrentPosition(State(), 1);
    EXPECT_EQ(State().m_DelayTable[kDelaySelectedByte], 1);
}
