#include "DelayTable.h"
#include "ModelFixture.h"
#include "ReportTable.h"

class ReportTableTest : public ModelTest {
protected:
    // Column of output ch (1 … 6) in row nRow.
    std::string Cell(const ReportTable& table, int nRow, int nChannel)
    {
        return table.rows.at(static_cast<size_t>(nRow)).at(static_cast<size_t>(nChannel));
    }
};

TEST_F(ReportTableTest, EveryBandFillsItsFiveRowsWhateverItsKind)
{
    CKTVEQ& eq = Data().Output(1).EQ();
    eq[2].SetShelfMode(2);  // band 3: low shelf, 12 dB/oct
    eq[3].SetShelfMode(3);  // band 4: high shelf, 6 dB/oct
    eq[4].SetGainCode(GainToCode(3.5));
    const ReportTable table = BuildReportTable(Data(), kDelayUnitMs);
    ASSERT_EQ(table.rows.size(), 174u);
    EXPECT_EQ(table.columns, (std::vector<std::string>{"Args", "CH1", "CH2", "CH3", "CH4", "CH5", "CH6"}));
    EXPECT_EQ(Cell(table, 10, 0), "EQ3 Type");
    EXPECT_EQ(Cell(table, 10, 2), "Lo_Shf");
    EXPECT_EQ(Cell(table, 13, 2), "12dB/Oct");
    EXPECT_EQ(Cell(table, 15, 2), "Hi_Shf");
    EXPECT_EQ(Cell(table, 18, 2), "6dB/Oct");
    EXPECT_EQ(Cell(table, 14, 2), "") << "the separator stays empty";
    EXPECT_EQ(Cell(table, 20, 0), "EQ5 Type");
    EXPECT_EQ(Cell(table, 20, 2), "PEQ");
    EXPECT_EQ(Cell(table, 21, 0), "EQ5 Gain");
    EXPECT_EQ(Cell(table, 21, 2), "3.5dB");
    EXPECT_EQ(Cell(table, 22, 2), eq[4].FrequencyText());
    EXPECT_EQ(Cell(table, 23, 2), eq[4].QText());
    EXPECT_EQ(Cell(table, 13, 1), eq[2].QText()) << "the other outputs keep their peaking bands";
    // The system's own labels of bands 15, 30 and 31, and the tail.
    EXPECT_EQ(Cell(table, 70, 0), "EQ15 Type");
    EXPECT_EQ(Cell(table, 72, 0), "EQ15req");
    EXPECT_EQ(Cell(table, 153, 0), "EQ31Q");
    EXPECT_EQ(Cell(table, 155, 0), "HPF_Type");
    EXPECT_EQ(Cell(table, 165, 0), "Gain");
    EXPECT_EQ(Cell(table, 172, 0), "Release");
    EXPECT_EQ(Cell(table, 173, 0), "");
}

TEST_F(ReportTableTest, ChineseLabelsFollowTheRows)
{
    g_bChinese = 1;
    const ReportTable table = BuildReportTable(Data(), kDelayUnitMs);
    EXPECT_EQ(table.columns[0], "参数");
    EXPECT_EQ(Cell(table, 0, 0), "均衡1类型");
    EXPECT_EQ(Cell(table, 153, 0), "均衡31Q值");
    EXPECT_EQ(Cell(table, 154, 0), "");
    EXPECT_EQ(Cell(table, 155, 0), "低切类型");
    EXPECT_EQ(Cell(table, 161, 0), "高切斜率");
    EXPECT_EQ(Cell(table, 172, 0), "释放时间");
    EXPECT_EQ(Cell(table, 163, 1), "正相");
    EXPECT_EQ(Cell(table, 0, 1), "参量均衡");
}

TEST_F(ReportTableTest, GainsReadAsTheProcessorAppliesThem)
{
    CKTV_OutData& out = Data().Output(0);
    out.EQ()[0].SetGainCode(GainToCode(4.0));
    out.EQ()[0].SetGainCode(GainToCode(0.0));
    out.EQ()[1].SetGainCode(GainToCode(-2.0));
    out.SetLevel(54);
    Data().Output(1).SetLevel(0);
    const ReportTable table = BuildReportTable(Data(), kDelayUnitMs);
    EXPECT_EQ(Cell(table, 1, 1), "0.0dB");
    EXPECT_EQ(Cell(table, 6, 1), "-2.0dB");
    EXPECT_EQ(Cell(table, 165, 1), "-6.0dB");
    EXPECT_EQ(Cell(table, 165, 2), "-60.0dB");
}

TEST_F(ReportTableTest, LimiterAndRoutingTexts)
{
    const std::vector<std::pair<int, std::string>> attacks = {{0, "0.3ms"}, {6, "0.9ms"}, {7, "1ms"}, {106, "100ms"}};
    for (const auto& [nAttack, strText] : attacks) {
        Data().Output(3).SetAttack(nAttack);
        Data().Output(3).SetThreshold(295);
        Data().Output(3).SetRelease(4);
        const ReportTable table = BuildReportTable(Data(), kDelayUnitMs);
        EXPECT_EQ(Cell(table, 171, 4), strText) << nAttack;
        EXPECT_EQ(Cell(table, 170, 4), "-0.5dBu");
        EXPECT_EQ(Cell(table, 172, 4), "Atk * 16");
    }
    Data().Output(0).SetMute(1);
    Data().Output(0).SetPolarity(1);
    const ReportTable table = BuildReportTable(Data(), kDelayUnitMs);
    // Even outputs take the left side, odd ones the right.
    EXPECT_EQ(Cell(table, 166, 1) + Cell(table, 167, 1), "ONOFF");
    EXPECT_EQ(Cell(table, 166, 2) + Cell(table, 167, 2), "OFFON");
    EXPECT_EQ(Cell(table, 168, 1) + Cell(table, 168, 2), "OnOFF");
    EXPECT_EQ(Cell(table, 163, 1) + Cell(table, 163, 2), "Pol-Pol+");
}

TEST_F(ReportTableTest, DelayRowFollowsThePositionAndTheUnit)
{
    SetPositionDelay(State(), 0, 2, 96);
    SetPositionDelay(State(), 2, 2, 480);
    SetCurrentPosition(State(), 0);
    EXPECT_EQ(Cell(BuildReportTable(Data(), kDelayUnitMs), 164, 3), "2.000ms");
    SetCurrentPosition(State(), 2);
    EXPECT_EQ(Cell(BuildReportTable(Data(), kDelayUnitMs), 164, 3), "10.000ms");
    EXPECT_EQ(Cell(BuildReportTable(Data(), kDelayUnitCm), 164, 3), "346.00cm");
    EXPECT_EQ(Cell(BuildReportTable(Data(), kDelayUnitInch), 164, 3), DelayText(480, kDelayUnitInch));
}
