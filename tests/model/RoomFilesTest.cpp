#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FilterSetMapping.h"
#include "MeasurementFile.h"
#include "ModelFixture.h"
#include "RoomCurve.h"
#include "RoomText.h"

namespace {

std::string Fixture(const char* szName)
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures" / "room" / szName).string();
}

bool HasNote(const std::vector<std::string>& notes, const std::string& strPart)
{
    for (const std::string& note : notes)
        if (note.find(strPart) != std::string::npos)
            return true;
    return false;
}

}  // namespace

class RoomFiles : public ModelTest {};

TEST_F(RoomFiles, ReadsRewTextAndFrdMeasurements)
{
    const MeasurementResult rew = ReadMeasurementFile(Fixture("rew_measurement.txt"));
    ASSERT_TRUE(rew.bOk) << rew.strError;
    EXPECT_EQ(rew.points.size(), 127u);
    EXPECT_DOUBLE_EQ(rew.points.front().dFreq, 15.0);

    // Commas and tabs, Windows line ends, no phase.
    const MeasurementResult frd = ReadMeasurementFile(Fixture("measurement.frd"));
    ASSERT_TRUE(frd.bOk) << frd.strError;
    EXPECT_EQ(frd.points.size(), 68u);
    EXPECT_DOUBLE_EQ(frd.points[1].dFreq, 11.22);
}

TEST_F(RoomFiles, RefusesBadMeasurements)
{
    for (const char* szText : {"100 70\nabc 71\n", "100 nan\n200 70\n", "0.5 70\n100 70\n", "100 70\n200000 70\n",
                               "100 70\n90 71\n", "100 70\n100 71\n", "100 70 1 2\n200 70\n", "100\n200\n",
                               "* only a comment\n", "\x89PNG\r\n\x1a\n"}) {
        const MeasurementResult result = ParseMeasurement(szText);
        EXPECT_FALSE(result.bOk) << szText;
        EXPECT_FALSE(result.strError.empty()) << szText;
    }
    EXPECT_FALSE(ReadMeasurementFile(Fixture("missing.frd")).bOk);
}

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

TEST_F(RoomFiles, ParsesApoConfiguration)
{
    const FilterSetResult result = ReadFilterSetFile(Fixture("apo.txt"));
    ASSERT_TRUE(result.bOk) << result.strError;
    const FilterSet& set = result.set;
    EXPECT_DOUBLE_EQ(set.dPreamp, -4.5);
    ASSERT_EQ(set.filters.size(), 7u);
    EXPECT_EQ(set.filters[2].kind, RoomFilterKind::LowShelf);
    EXPECT_DOUBLE_EQ(set.filters[2].dSlope, 6.0);
    EXPECT_EQ(set.filters[3].kind, RoomFilterKind::HighShelf);  // "Filter:" without a number
    EXPECT_DOUBLE_EQ(set.filters[3].dSlope, 12.0);
    EXPECT_EQ(set.filters[4].kind, RoomFilterKind::HighPass);
    EXPECT_FALSE(set.filters[5].bOn);
    EXPECT_TRUE(HasNote(set.notes, "Channel:"));
}

TEST_F(RoomFiles, ParsesRewFilterSettingsWithNoneRows)
{
    const FilterSetResult result = ReadFilterSetFile(Fixture("rew_filters.txt"));
    ASSERT_TRUE(result.bOk) << result.strError;
    ASSERT_EQ(result.set.filters.size(), 6u);
    EXPECT_EQ(result.set.filters[2].kind, RoomFilterKind::None);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dFreq, 42.5);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dGain, -7.5);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dQ, 6.1);
    EXPECT_EQ(result.set.filters[3].strType, "LS");
    EXPECT_DOUBLE_EQ(result.set.filters[3].dSlope, 12.0);
}

TEST_F(RoomFiles, RefusesBadFilterSets)
{
    std::string strTooMany;
    for (int i = 0; i < 32; ++i)
        strTooMany += "Filter: ON PK Fc 100 Hz Gain 1 dB Q 1\n";
    for (const std::string& strText :
         {std::string("Preamp: -3 dB\n"), std::string("Filter 1: ON PK Fc abc Hz Gain 1 dB Q 1\n"),
          std::string("Filter 1: ON PK Fc 100 Hz Gain nan dB Q 1\n"), std::string("Filter 1: ON PK Fc 0 Hz Gain 1 dB Q 1\n"),
          std::string("Filter 1: ON XX Fc 100 Hz\n"), std::string("Filter 1: ON PK Fc 100 Hz Gain 1 dB\n"),
          std::string("Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1 Volume 3\n"), std::string("Preamp: loud\nFilter: None\n"),
          strTooMany}) {
        const FilterSetResult result = ParseFilterSet(strText);
        EXPECT_FALSE(result.bOk) << strText;
        EXPECT_FALSE(result.strError.empty()) << strText;
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
    const FilterMapping mapping = MapFilterSet(ReadFilterSetFile(Fixture("apo.txt")).set);
    ASSERT_EQ(mapping.bands.size(), 5u);
    EXPECT_EQ(mapping.bands[0].nFreq, 63);
    EXPECT_EQ(mapping.bands[0].nGainCode, GainToCode(-5.0));
    EXPECT_EQ(mapping.bands[1].nFreq, 125);
    EXPECT_EQ(mapping.bands[1].nGainCode, GainToCode(3.3));
    EXPECT_EQ(mapping.bands[2].nShelfMode, 1);  // low shelf, 6 dB/oct
    EXPECT_EQ(mapping.bands[3].nShelfMode, 4);  // high shelf, 12 dB/oct
    EXPECT_EQ(mapping.bands[4].nGainCode, 0);   // −25 dB limited to −20 dB
    EXPECT_EQ(mapping.bands[4].nBandwidthCode, 0);
    EXPECT_TRUE(HasNote(mapping.notes, "Preamp -4.5 dB"));
    EXPECT_TRUE(HasNote(mapping.notes, "line 4: PK 125.4 Hz: Q 1.41 →"));
    EXPECT_TRUE(HasNote(mapping.notes, "gain -25 dB → -20 dB"));
    EXPECT_TRUE(HasNote(mapping.notes, "line 7: HP 30 Hz: skipped"));
    EXPECT_TRUE(HasNote(mapping.notes, "line 8: PK 1000 Hz: switched off"));

    // A low shelf above the hinge moves down to 2 kHz, as the model's shelves do.
    const FilterMapping shelf = MapFilterSet(ParseFilterSet("Filter: ON LS Fc 3000 Hz Gain 2 dB\n").set);
    EXPECT_EQ(shelf.bands.at(0).nFreq, 2000);
    EXPECT_TRUE(HasNote(shelf.notes, "frequency 3000 Hz → 2000 Hz"));
}

TEST_F(RoomFiles, ExportThenImportGivesTheSameBands)
{
    const FilterMapping mapping = MapFilterSet(ReadFilterSetFile(Fixture("apo.txt")).set);
    ApplyFilterMapping(Data().Output(1), mapping);
    const std::vector<RoomFilter> exported = FiltersOfBands(Data().Output(1).EQ());
    ASSERT_EQ(exported.size(), mapping.bands.size());
    for (const FilterSetFormat format : {FilterSetFormat::Apo, FilterSetFormat::Rew}) {
        const FilterSetResult again = ParseFilterSet(WriteFilterSet(exported, format, "CH2"));
        ASSERT_TRUE(again.bOk) << again.strError;
        const FilterMapping back = MapFilterSet(again.set);
        EXPECT_TRUE(back.notes.empty()) << back.notes.front();
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
    SetLinkGroup(2, 1);  // CH3 follows CH2
    Data().Output(1).EQ()[20].SetGainCode(GainToCode(4.0));
    ApplyFilterMapping(Data().Output(1), MapFilterSet(ReadFilterSetFile(Fixture("apo.txt")).set));
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
    ASSERT_TRUE(curve.Assign(ReadMeasurementFile(Fixture("rew_measurement.txt")).points, &strError));
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
