// The filter-set reader and writer: REW and Equalizer APO files, what they
// refuse and how they say so.
#include <gtest/gtest.h>

#include <string>

#include "FilterSetFile.h"
#include "ModelFixture.h"
#include "RoomFixture.h"

class FilterSetFile : public ModelTest {};

TEST_F(FilterSetFile, ParsesApoConfiguration)
{
    const FilterSetResult result = ReadFilterSetFile(RoomFixture("apo.txt"));
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
    EXPECT_TRUE(HasNote(set.notes.Lines(), "\"Delay:\" not taken"));
}

TEST_F(FilterSetFile, ParsesRewFilterSettingsWithNoneRows)
{
    const FilterSetResult result = ReadFilterSetFile(RoomFixture("rew_filters.txt"));
    ASSERT_TRUE(result.bOk) << result.strError;
    ASSERT_EQ(result.set.filters.size(), 6u);
    EXPECT_EQ(result.set.filters[2].kind, RoomFilterKind::None);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dFreq, 42.5);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dGain, -7.5);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dQ, 6.1);
    EXPECT_EQ(result.set.filters[3].strType, "LS");
    EXPECT_DOUBLE_EQ(result.set.filters[3].dSlope, 12.0);
}

TEST_F(FilterSetFile, RefusesBadFilterSets)
{
    std::string strTooMany;
    for (int i = 0; i < 32; ++i)
        strTooMany += "Filter: ON PK Fc 100 Hz Gain 1 dB Q 1\n";
    for (const std::string& strText :
         {std::string("Preamp: -3 dB\n"), std::string("Filter 1: ON PK Fc abc Hz Gain 1 dB Q 1\n"),
          std::string("Filter 1: ON PK Fc 100 Hz Gain nan dB Q 1\n"), std::string("Filter 1: ON PK Fc 0 Hz Gain 1 dB Q 1\n"),
          std::string("Filter 1: ON XX Fc 100 Hz\n"), std::string("Filter 1: ON PK Fc 100 Hz Gain 1 dB\n"),
          std::string("Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1 Volume 3\n"), std::string("Preamp: loud\nFilter: None\n"),
          std::string("Filter 1: ON PK Fc 100 Hz Gain 1e10 dB Q 1\n"),
          std::string("Filter 1: ON PK Fc 100 Hz Gain 1 dB BW Oct 21474836\n"), strTooMany}) {
        const FilterSetResult result = ParseFilterSet(strText);
        EXPECT_FALSE(result.bOk) << strText;
        EXPECT_FALSE(result.strError.empty()) << strText;
    }
}

TEST_F(FilterSetFile, SkipsAByteOrderMarkReadsDecimalCommasAndRefusesUtf16)
{
    const FilterSetResult result = ParseFilterSet(
        "\xEF\xBB\xBF" "Filter 1: ON PK Fc 63,5 Hz Gain -5,5 dB Q 4,1\nFilter 2: ON PK Fc 125 Hz Gain 2 dB Q 1\n");
    ASSERT_TRUE(result.bOk) << result.strError;
    ASSERT_EQ(result.set.filters.size(), 2u);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dFreq, 63.5);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dGain, -5.5);
    EXPECT_DOUBLE_EQ(result.set.filters[0].dQ, 4.1);
    const FilterSetResult utf16 = ParseFilterSet(std::string("\xFF\xFE" "F\0i\0", 6));
    EXPECT_NE(utf16.strError.find("UTF-16"), std::string::npos) << utf16.strError;
}

TEST_F(FilterSetFile, TakesOneApoChannelSectionAndNamesTheOthers)
{
    const FilterSetResult first = ReadFilterSetFile(RoomFixture("apo_channels.txt"));
    ASSERT_TRUE(first.bOk) << first.strError;
    EXPECT_EQ(first.set.channels, (std::vector<std::string>{"L", "R"}));
    EXPECT_EQ(first.set.strChannel, "L");
    ASSERT_EQ(first.set.filters.size(), 2u);
    EXPECT_DOUBLE_EQ(first.set.filters[1].dFreq, 125.0);
    EXPECT_TRUE(HasNote(first.set.notes.Lines(), "line 6: \"Channel: R\": 2 filters not taken")) << first.set.notes.Lines()[0];

    const FilterSetResult right = ReadFilterSetFile(RoomFixture("apo_channels.txt"), "r");
    ASSERT_TRUE(right.bOk) << right.strError;
    ASSERT_EQ(right.set.filters.size(), 2u);
    EXPECT_DOUBLE_EQ(right.set.filters[0].dFreq, 71.0);
    EXPECT_NE(ReadFilterSetFile(RoomFixture("apo_channels.txt"), "C").strError.find("L, R"), std::string::npos);

    // Filters for every channel come first by default; a channel adds its own.
    const std::string strShared = "Filter: ON PK Fc 50 Hz Gain -3 dB Q 2\nChannel: 1 2\nFilter: ON PK Fc 90 Hz Gain 1 dB Q 2\n"
                                  "Channel: all\nFilter: ON LS Fc 80 Hz Gain 2 dB\n";
    const FilterSetResult shared = ParseFilterSet(strShared);
    EXPECT_EQ(shared.set.channels, (std::vector<std::string>{"all", "1", "2"}));
    EXPECT_EQ(shared.set.filters.size(), 2u);
    EXPECT_EQ(ParseFilterSet(strShared, "2").set.filters.size(), 3u);
    // A name no section has is refused, even where filters for all channels would fit it.
    for (const char* pWrong : {"X", "1 2"}) {
        const FilterSetResult wrong = ParseFilterSet(strShared, pWrong);
        EXPECT_FALSE(wrong.bOk) << pWrong;
        EXPECT_NE(wrong.strError.find("all, 1, 2"), std::string::npos) << wrong.strError;
    }
    const FilterSetResult notAll = ParseFilterSet(strShared, "all");
    ASSERT_TRUE(notAll.bOk) << notAll.strError;
    EXPECT_TRUE(HasNote(notAll.set.notes.Lines(), "line 2: \"Channel: 1 2\": 1 filter not taken: the output takes the "
                                                   "filters for all channels"));
}

TEST_F(FilterSetFile, MessagesAreBoundedAndPrintable)
{
    std::string strText = "Filter: ON PK Fc 50 Hz Gain -3 dB Q 2\n";
    for (int i = 0; i < 300; ++i)
        strText += "Delay: 1 ms\n";
    const std::vector<std::string> notes = ParseFilterSet(strText).set.notes.Lines();
    ASSERT_EQ(notes.size(), kMaxRoomNotes + 1);
    EXPECT_EQ(notes.back(), "… and 280 more");

    const std::string strLong = ParseFilterSet("Filter: ON " + std::string(3'000'000, 'X') + "\n").strError;
    EXPECT_LT(strLong.size(), 100u) << strLong.substr(0, 100);
    const std::string strControl = ParseFilterSet("Filter: ON \x1b[2J\x07 Fc 50 Hz\n").strError;
    EXPECT_NE(strControl.find("\\x1b[2J\\x07"), std::string::npos) << strControl;
}

TEST_F(FilterSetFile, WrittenNotesCannotAddRows)
{
    std::vector<RoomFilter> filters(1);
    filters[0].bOn = true;
    filters[0].kind = RoomFilterKind::Peaking;
    filters[0].dFreq = 63.0;
    filters[0].dQ = 4.0;
    for (const FilterSetFormat format : {FilterSetFormat::Apo, FilterSetFormat::Rew}) {
        const FilterSetResult again =
            ParseFilterSet(WriteFilterSet(filters, format, "CH1 (\nFilter: ON PK Fc 100 Hz Gain 3 dB Q 1\r)"));
        ASSERT_TRUE(again.bOk) << again.strError;
        EXPECT_EQ(again.set.filters.size(), 1u);
    }
}
