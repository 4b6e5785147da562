#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "DataDefine.h"
#include "ModelFixture.h"

TEST(ValueTables, GainCodesOnTheWire)
{
    EXPECT_EQ(GainToCode(-20.0) + kGainWireOffset, 400);
    EXPECT_EQ(GainToCode(0.0) + kGainWireOffset, 600);
    EXPECT_EQ(GainToCode(20.0) + kGainWireOffset, 800);
    EXPECT_EQ(CodeToGain(200), 0.0);  // exact: the bypass rules compare with 0.0
    EXPECT_DOUBLE_EQ(CodeToGain(203), 0.3);
    EXPECT_EQ(GainToCode(-99.0), 0);
    EXPECT_EQ(GainToCode(99.0), 400);
    EXPECT_EQ(GainToCode(1e10), 400);  // limited before it becomes an integer
    EXPECT_EQ(GainToCode(-1e300), 0);
}

TEST(ValueTables, BandwidthCodeAndQ)
{
    EXPECT_EQ(BandwidthToCode(0.2), 15);
    EXPECT_EQ(BandwidthToCode(0.05), 0);
    EXPECT_EQ(BandwidthToCode(3.0), 295);
    EXPECT_EQ(BandwidthToCode(1e12), 295);
    for (int code = 0; code <= kBandwidthCodeMax; ++code)
        ASSERT_EQ(BandwidthToCode(CodeToBandwidth(code)), code) << code;
    EXPECT_DOUBLE_EQ(QTableEntry(15), 7.208);
    EXPECT_DOUBLE_EQ(QTableEntry(0), 28.852);
    EXPECT_DOUBLE_EQ(QTableEntry(295), 0.404);
    EXPECT_DOUBLE_EQ(QTableEntry(-3), 28.852);
    EXPECT_DOUBLE_EQ(QTableEntry(9999), 0.404);
    // Q of an octave band computed from scratch: sqrt(2) / (2 − 1).
    EXPECT_NEAR(QTableEntry(95), std::sqrt(2.0), 0.0005);
}

TEST(ValueTables, QIndexFindsFirstEntryNotAbove)
{
    EXPECT_EQ(QTableIndex(7.208), 15);
    EXPECT_EQ(QTableIndex(7.3), 15);
    EXPECT_EQ(QTableIndex(100.0), 0);
    EXPECT_EQ(QTableIndex(0.1), 295);
}

TEST(ValueTables, AxisHoldsAnchorsAndOctaveSpacing)
{
    const double anchors[] = {19.7, 39.4, 78.7, 158, 315, 630, 1260, 2520, 5000, 10079, 20000};
    for (int k = 0; k <= 10; ++k)
        EXPECT_DOUBLE_EQ(g_dFreqAxis[24 * k], anchors[k]);
    for (int i = 1; i < kAxisPoints; ++i) {
        ASSERT_GT(g_dFreqAxis[i], g_dFreqAxis[i - 1]);
        const double dIdeal = 19.7 * std::pow(2.0, i / 24.0);
        ASSERT_LT(std::fabs(g_dFreqAxis[i] / dIdeal - 1.0), 0.012) << i;
    }
}

TEST(ValueTables, NearestAxisIndex)
{
    EXPECT_EQ(NearestAxisIndex(19.7), 0);
    EXPECT_EQ(NearestAxisIndex(1.0), 0);
    EXPECT_EQ(NearestAxisIndex(20000.0), 240);
    EXPECT_EQ(NearestAxisIndex(25000.0), 240);
    // Exactly halfway (where the halfway point is representable) goes up.
    int nChecked = 0;
    for (int i = 0; i + 1 < kAxisPoints; ++i) {
        const double dHalf = (g_dFreqAxis[i] + g_dFreqAxis[i + 1]) / 2.0;
        if (dHalf - g_dFreqAxis[i] != g_dFreqAxis[i + 1] - dHalf)
            continue;
        EXPECT_EQ(NearestAxisIndex(dHalf), i + 1);
        EXPECT_EQ(NearestAxisIndex(dHalf - 0.01), i);
        ++nChecked;
    }
    EXPECT_GT(nChecked, 10);
    EXPECT_EQ(NearestAxisIndex(g_dFreqAxis[120]), 120);
}

TEST(ValueTables, PixelRules)
{
    EXPECT_EQ(DbToRow(20.0, 400), 0);
    EXPECT_EQ(DbToRow(-20.0, 400), 400);
    EXPECT_EQ(DbToRow(0.0, 401), 201);  // 200.5 rounds up
    EXPECT_DOUBLE_EQ(DbToRowF(0.0, 401), 200.5);
    // Three decades over the width, integer division of the width first.
    EXPECT_EQ(FreqToCol(200.0, 601), 200);
    EXPECT_EQ(FreqToCol(20000.0, 600), 600);
    EXPECT_NEAR(FreqToColF(2000.0, 600), 400.0, 1e-9);
    EXPECT_NEAR(ColToFreq(200, 600), 200.0, 1e-9);
    EXPECT_EQ(ColToFreq(-50, 600), 20.0);
    EXPECT_EQ(ColToFreq(900, 600), 20000.0);
    EXPECT_DOUBLE_EQ(RowToDb(0, 400), 20.0);
    EXPECT_DOUBLE_EQ(RowToDb(400, 400), -20.0);
    EXPECT_DOUBLE_EQ(RowToDb(201, 400), -0.1);
    EXPECT_DOUBLE_EQ(RowToDb(10, 0), 0.0);  // no plot yet: nothing divides by zero
}

TEST(ValueTables, FixedLengthCopy)
{
    uint8_t field[16];
    std::memset(field, 'x', sizeof field);
    EXPECT_FALSE(CopyFixed(field, 16, "ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(field[0], 'x');
    EXPECT_EQ(field[15], 'x');
    ASSERT_TRUE(CopyFixed(field, 16, "ABCDEFGHIJKLMNO"));
    EXPECT_EQ(0, std::memcmp(field, "ABCDEFGHIJKLMNO", 15));
    EXPECT_EQ(field[15], 0);
    g_bChinese = 0;
    EXPECT_STREQ(CharLenErrorText(), "char Len error!");
}

TEST(ValueTables, BytesToNameAndBlank)
{
    const uint8_t raw[16] = {' ', ' ', 'H', 'a', 'l', 'l', ' ', ' ', 'X', 'X', 'X', 'X', 'X', 'X', 'X', 'Z'};
    EXPECT_EQ(BytesToName(raw, 8), "Hall");     // n − 1 bytes only
    EXPECT_EQ(BytesToName(raw, 16), "Hall  XXXXXXX");
    // What the processor keeps: every byte outside printable ASCII a space.
    const uint8_t received[16] = {'C', 'a', 'f', 0xE9, ' ', 'B', 'a', 'r', 0x7F, 0x07};
    EXPECT_EQ(BytesToName(received, 16), "Caf  Bar");
    EXPECT_TRUE(IsBlank("     "));
    EXPECT_TRUE(IsBlank(""));
    EXPECT_FALSE(IsBlank(" a "));
}

class DuplicateNameTest : public ModelTest {};

// A name read back comes padded with spaces, a typed one with zeros: the
// same name either way.
TEST_F(DuplicateNameTest, ComparesOtherScenesUpToTrailingPadding)
{
    std::memcpy(State().SceneEntry(3), "Party          ", 15);
    CopyFixed(State().SceneEntry(11), 16, "Late");
    uint8_t typed[16] = {};
    const auto taken = [this, &typed](int nProgram, const char* szName) {
        EXPECT_TRUE(CopyFixed(typed, 16, szName));
        return IsDuplicateName(State(), nProgram, typed);
    };
    EXPECT_TRUE(taken(5, "Party"));
    EXPECT_TRUE(taken(5, "Party "));
    EXPECT_FALSE(taken(3, "Party"));  // its own entry
    EXPECT_FALSE(taken(5, "Late"));   // entries above 10 are not scenes
    for (const char* szOther : {"party", " Party", "Party2"})
        EXPECT_FALSE(taken(5, szOther)) << szOther;
}

TEST_F(DuplicateNameTest, StartUpContents)
{
    EXPECT_EQ(State().m_SysBytes[34], 90);
    EXPECT_EQ(State().m_SysBytes[37], 40);
    EXPECT_EQ(State().m_nLowPassLimit, 500);
    EXPECT_EQ(State().m_InfoText[39], ' ');
    EXPECT_EQ(State().SceneEntry(20)[14], ' ');
    EXPECT_EQ(State().SceneEntry(20)[15], 0);
    EXPECT_EQ(State().SceneEntry(1)[31], ' ');
    EXPECT_EQ(State().SceneEntry(0), nullptr);
    EXPECT_EQ(State().SceneEntry(21), nullptr);
    EXPECT_EQ(State().EffectProgEntry(20), nullptr);
    // Band groups of output 5: 1000 Hz, 0 dB (600), bandwidth code 0.
    const uint8_t* pOut5 = State().m_LiveImage + kOffOutput + 5 * kOutBlockSize;
    EXPECT_EQ(GetWord(pOut5 + 8 * 8), 1000);
    EXPECT_EQ(GetWord(pOut5 + 8 * 8 + 2), 600);
    EXPECT_EQ(GetWord(pOut5 + 9 * 8), 0);  // only groups 0 … 8 carry defaults
    EXPECT_EQ(State().m_nSysReadList[15], 4);
    EXPECT_EQ(State().m_nSysReadList[6], 18);
}
