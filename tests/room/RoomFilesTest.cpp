#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FilterSetMapping.h"
#include "MeasurementFile.h"
#include "ModelFixture.h"
#include "RoomCurve.h"
#include "RoomFixture.h"
#include "RoomText.h"

class RoomFiles : public ModelTest {};

TEST_F(RoomFiles, RefusesFilesOverTheLimitBeforeReading)
{
    const std::string strPath = (std::filesystem::temp_directory_path() / "zr470_room_big.txt").string();
    {
        std::ofstream out(strPath);
        out << "Filter 1: ON PK Fc 63 Hz Gain -5 dB Q 4\n";
    }
    std::filesystem::resize_file(strPath, kRoomFileMaxBytes + 1);
    const FilterSetResult result = ReadFilterSetFile(strPath);
    std::filesystem::remove(strPath);
    EXPECT_FALSE(result.bOk);
    EXPECT_NE(result.strError.find("4 MB"), std::string::npos);
}

TEST_F(RoomFiles, ARefusalIsAKindWithArgumentsWordedInEitherLanguage)
{
    struct Case {
        RoomFileError found;
        RoomFileError expected;
        const char* szEnglish;
        const char* szChinese;
    };
    const std::string strChannels = "Filter: ON PK Fc 50 Hz Gain -3 dB Q 2\nChannel: 1 2\nFilter: ON PK Fc 90 Hz Gain 1 dB Q 2\n";
    const Case cases[] = {
        {ParseMeasurement("100 70\nabc 71\n").error, {kTxtRoomNotNumber, 2, {"abc"}}, "line 2: \"abc\" is not a number",
         "第 2 行：\"abc\" 不是数字"},
        {ParseFilterSet(strChannels, "X").error, {kTxtApoNoChannel, 0, {"X", "all, 1, 2"}},
         "No filters for channel \"X\": the file has filters for all, 1, 2", "没有通道 \"X\" 的滤波器：文件中的通道为 all, 1, 2"},
        {ReadMeasurementFile("/nonexistent/m.frd").error, {kTxtRoomCannotRead, 0, {"/nonexistent/m.frd"}},
         "Cannot read /nonexistent/m.frd", "无法读取 /nonexistent/m.frd"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.found, c.expected) << c.szEnglish;
        EXPECT_EQ(RoomFileErrorText(c.found, Language::English), c.szEnglish);
        EXPECT_EQ(RoomFileErrorText(c.found, Language::Chinese), c.szChinese);
    }
}

TEST_F(RoomFiles, QMapsToTheNearestBandwidthCodeAtTheTableEnds)
{
    EXPECT_EQ(NearestBandwidthCode(28.852), 0);
    EXPECT_EQ(NearestBandwidthCode(100.0), 0);
    EXPECT_EQ(NearestBandwidthCode(0.404), kBandwidthCodeMax);
    EXPECT_EQ(NearestBandwidthCode(0.1), kBandwidthCodeMax);
    EXPECT_EQ(NearestBandwidthCode(7.208), 15);
    const double dBetween = (QTableEntry(1) + QTableEntry(2)) / 2 + 0.001;  // nearer to code 1
    EXPECT_EQ(NearestBandwidthCode(dBetween), 1);
}

TEST_F(RoomFiles, MappingLimitsValuesAndReportsSkips)
{
    const FilterMapping mapping = MapFilterSet(ReadFilterSetFile(RoomFixture("apo.txt")).set);
    ASSERT_EQ(mapping.bands.size(), 5u);
    EXPECT_EQ(mapping.bands[0].nFreq, 63);
    EXPECT_EQ(mapping.bands[0].nGainCode, GainToCode(-5.0));
    EXPECT_EQ(mapping.bands[1].nFreq, 125);
    EXPECT_EQ(mapping.bands[1].nGainCode, GainToCode(3.3));
    EXPECT_EQ(mapping.bands[2].nShelfMode, 1);  // low shelf, 6 dB/oct
    EXPECT_EQ(mapping.bands[3].nShelfMode, 4);  // high shelf, 12 dB/oct
    EXPECT_EQ(mapping.bands[4].nGainCode, 0);   // −25 dB limited to −20 dB
    EXPECT_EQ(mapping.bands[4].nBandwidthCode, 0);
    EXPECT_TRUE(HasNote(mapping.notes.Lines(), "Preamp -4.5 dB"));
    EXPECT_TRUE(HasNote(mapping.notes.Lines(), "line 4: PK 125.4 Hz: Q 1.41 →"));
    EXPECT_TRUE(HasNote(mapping.notes.Lines(), "gain -25 dB → -20 dB"));
    EXPECT_TRUE(HasNote(mapping.notes.Lines(), "line 7: HP 30 Hz: skipped"));
    EXPECT_TRUE(HasNote(mapping.notes.Lines(), "line 8: PK 1000 Hz: switched off"));

    // A low shelf above the hinge moves down to 2 kHz, as the model's shelves do.
    const FilterMapping shelf = MapFilterSet(ParseFilterSet("Filter: ON LS Fc 3000 Hz Gain 2 dB\n").set);
    EXPECT_EQ(shelf.bands.at(0).nFreq, 2000);
    EXPECT_TRUE(HasNote(shelf.notes.Lines(), "frequency 3000 Hz → 2000 Hz"));
}

TEST_F(RoomFiles, ExportThenImportGivesTheSameBands)
{
    const FilterMapping mapping = MapFilterSet(ReadFilterSetFile(RoomFixture("apo.txt")).set);
    ApplyFilterMapping(Data().Output(1), mapping);
    const std::vector<RoomFilter> exported = FiltersOfBands(Data().Output(1).EQ());
    ASSERT_EQ(exported.size(), mapping.bands.size());
    for (const FilterSetFormat format : {FilterSetFormat::Apo, FilterSetFormat::Rew}) {
        const FilterSetResult again = ParseFilterSet(WriteFilterSet(exported, format, "CH2"));
        ASSERT_TRUE(again.bOk) << again.strError;
        const FilterMapping back = MapFilterSet(again.set);
        EXPECT_TRUE(back.notes.Lines().empty()) << back.notes.Lines().front();
        ASSERT_EQ(back.bands.size(), mapping.bands.size());
        for (std::size_t i = 0; i < back.bands.size(); ++i) {
            EXPECT_EQ(back.bands[i].nShelfMode, mapping.bands[i].nShelfMode) << i;
            EXPECT_EQ(back.bands[i].nFreq, mapping.bands[i].nFreq) << i;
            EXPECT_EQ(back.bands[i].nGainCode, mapping.bands[i].nGainCode) << i;
            if (back.bands[i].nShelfMode == 0) {
                EXPECT_EQ(back.bands[i].nBandwidthCode, mapping.bands[i].nBandwidthCode) << i;
            }
        }
    }
}

TEST_F(RoomFiles, ImportSwitchesToParametricAndReachesLinkedOutputs)
{
    State().SetLinkGroup(2, 1);  // CH3 follows CH2
    Data().Output(1).EQ()[20].SetGainCode(GainToCode(4.0));
    ApplyFilterMapping(Data().Output(1), MapFilterSet(ReadFilterSetFile(RoomFixture("apo.txt")).set));
    for (const int k : {1, 2}) {
        const CKTV_OutData& out = Data().Output(k);
        EXPECT_EQ(out.GetEqMode(), 0);
        EXPECT_EQ(out.EQ()[0].GetFrequency(), 63);
        EXPECT_EQ(out.EQ()[0].GetGainCode(), GainToCode(-5.0));
        EXPECT_EQ(out.EQ()[2].GetKind(), kLowShelf);
        EXPECT_TRUE(out.EQ()[20].IsEffectivelyBypassed());
        EXPECT_EQ(out.EQ()[20].GetGain(), 0.0);
    }
    EXPECT_EQ(Data().Output(3).EQ()[0].GetGainCode(), kGainCodeZero);
}

TEST_F(RoomFiles, MeasurementSitsAtZeroBetween200HzAnd2kHz)
{
    CRoomCurve curve;
    std::string strError;
    ASSERT_TRUE(curve.Assign(ReadMeasurementFile(RoomFixture("rew_measurement.txt")).points, &strError));
    EXPECT_EQ(curve.First(), 0);
    EXPECT_EQ(curve.Last(), kAxisPoints - 1);
    double dSum = 0.0;
    int nCount = 0;
    for (int i = curve.First(); i <= curve.Last(); ++i) {
        if (g_dFreqAxis[i] >= 200.0 && g_dFreqAxis[i] <= 2000.0) {
            dSum += curve.At(i);
            ++nCount;
        }
    }
    EXPECT_NEAR(dSum / nCount, 0.0, 1e-9);
    EXPECT_GT(curve.At(NearestAxisIndex(63.0)), 8.0);  // the room mode

    // A measurement of the bass only covers the axis up to its last point.
    ASSERT_TRUE(curve.Assign({{10.0, 80.0}, {100.0, 70.0}}, &strError));
    EXPECT_EQ(curve.Last(), NearestAxisIndex(100.0) - (g_dFreqAxis[NearestAxisIndex(100.0)] > 100.0 ? 1 : 0));
    EXPECT_FALSE(curve.Assign({{30000.0, 80.0}, {40000.0, 70.0}}, &strError));
    EXPECT_FALSE(curve.IsEmpty());  // unchanged by the refusal
}
