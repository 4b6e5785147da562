// Parameter names, values and their printed form, without a processor.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "DataDefine.h"
#include "NumberText.h"
#include "ParamTable.h"

namespace {

ParamRef Ref(int nChannel, const std::string& strName)
{
    ParamRef ref;
    std::string strError;
    EXPECT_TRUE(ParseParamRef(nChannel, strName, &ref, &strError)) << strName << ": " << strError;
    return ref;
}

int Code(int nChannel, const std::string& strName, const std::string& strValue)
{
    int nCode = -1;
    std::string strError;
    EXPECT_TRUE(ParseParamValue(Ref(nChannel, strName), strValue, &nCode, &strError))
        << strName << " " << strValue << ": " << strError;
    return nCode;
}

// The refusal line, or "" when the value was taken.
std::string Refusal(int nChannel, const std::string& strName, const std::string& strValue)
{
    int nCode = -1;
    std::string strError;
    const bool bTaken = ParseParamValue(Ref(nChannel, strName), strValue, &nCode, &strError);
    EXPECT_EQ(bTaken, strError.empty());
    EXPECT_TRUE(bTaken || nCode == -1) << "a refused value must leave the code alone";
    return strError;
}

bool NameRefused(int nChannel, const std::string& strName)
{
    ParamRef ref;
    ref.nIndex = -7;
    std::string strError;
    const bool bTaken = ParseParamRef(nChannel, strName, &ref, &strError);
    EXPECT_EQ(bTaken, strError.empty()) << strName;
    if (!bTaken) {
        EXPECT_EQ(ref.nIndex, -7) << "a refused name must leave the reference alone";
    }
    return !bTaken;
}

struct CodeRange {
    const char* pName;
    int nChannel;
    int nFirst;
    int nLast;
};

}  // namespace

// Whatever get prints, set takes back to the same code: every code of
// every scale survives print-then-parse.
TEST(ParamTable, EveryCodePrintsAsAValueThatParsesBackToIt)
{
    const CodeRange ranges[] = {
        {"level", 1, 0, kLevelMax},          {"mute", 1, 0, 1},
        {"polarity", 1, 0, 1},               {"eqmode", 1, 0, 1},
        {"mix", 1, 0, 2},                    {"eq1.freq", 1, kMinFreq, kMaxFreq},
        {"eq1.gain", 1, 0, kGainCodeMax},    {"eq31.bw", 1, 0, kBandwidthCodeMax},
        {"eq9.bypass", 1, 0, 1},             {"hpf.type", 1, 0, 2},
        {"lpf.slope", 1, 0, kCrossoverSlopeOff}, {"limiter.threshold", 1, 0, kThresholdMax},
        {"limiter.attack", 1, 0, kAttackMax}, {"limiter.release", 1, 0, kReleaseMax},
        {"delay.4", 6, 0, kDelayMax},        {"source", 0, 0, 3},
        {"noisegate", 0, 0, 100},            {"volume", 0, 0, 70},
        {"position", 0, 0, 3},
    };
    for (const CodeRange& range : ranges) {
        const ParamRef ref = Ref(range.nChannel, range.pName);
        for (int nCode = range.nFirst; nCode <= range.nLast; ++nCode) {
            const ParamText text = ScaleOf(ref.kind).format(nCode);
            int nBack = -1;
            std::string strError;
            ASSERT_TRUE(ParseParamValue(ref, text.strText, &nBack, &strError))
                << range.pName << " code " << nCode << " printed as \"" << text.strText << "\": " << strError;
            EXPECT_EQ(nBack, nCode) << range.pName << " \"" << text.strText << "\"";
        }
    }
}

TEST(ParamTable, ValuesTakeTheProcessorsCodes)
{
    EXPECT_EQ(Code(1, "level", "-60"), 0);
    EXPECT_EQ(Code(1, "level", "10"), 70);
    EXPECT_EQ(Code(1, "level", "-6.0"), 54);
    EXPECT_EQ(Code(2, "eq5.gain", "6.5"), 265);
    EXPECT_EQ(Code(2, "eq5.gain", "-20"), 0);
    EXPECT_EQ(Code(2, "eq5.gain", "+20.0"), 400);
    EXPECT_EQ(Code(1, "eq1.bw", "0.05"), 0);
    EXPECT_EQ(Code(1, "eq1.bw", "0.2"), 15);
    EXPECT_EQ(Code(1, "eq1.bw", "3.00"), 295);
    EXPECT_EQ(Code(1, "limiter.threshold", "-30"), 0);
    EXPECT_EQ(Code(1, "limiter.threshold", "6.0"), 360);
    EXPECT_EQ(Code(1, "limiter.attack", "0.3"), 0);
    EXPECT_EQ(Code(1, "limiter.attack", "0.9"), 6);
    EXPECT_EQ(Code(1, "limiter.attack", "1"), 7);
    EXPECT_EQ(Code(1, "limiter.attack", "100"), 106);
    EXPECT_EQ(Code(1, "limiter.release", "2"), 0);
    EXPECT_EQ(Code(1, "limiter.release", "32"), 5);
    EXPECT_EQ(Code(1, "hpf.slope", "12"), 0);
    EXPECT_EQ(Code(1, "hpf.slope", "48"), 6);
    EXPECT_EQ(Code(1, "lpf.slope", "OFF"), 7);
    EXPECT_EQ(Code(1, "hpf.type", "butter"), 2);
    EXPECT_EQ(Code(1, "mix", "L"), kMixLeft);
    EXPECT_EQ(Code(1, "mix", "r"), kMixRight);
    EXPECT_EQ(Code(1, "mix", "L+R"), kMixBoth);
    EXPECT_EQ(Code(1, "polarity", "-"), 1);
    EXPECT_EQ(Code(1, "eqmode", "geq"), 1);
    EXPECT_EQ(Code(3, "delay.2", "20"), kDelayMax);
    EXPECT_EQ(Code(3, "delay.2", "1.5"), 72);
    EXPECT_EQ(Code(3, "delay.2", "0.01"), 0);  // the nearest sample at 48 kHz
    EXPECT_EQ(Code(0, "source", "bluetooth"), 3);
    EXPECT_EQ(Code(0, "noisegate", "off"), 0);
    EXPECT_EQ(Code(0, "noisegate", "-119"), 1);
    EXPECT_EQ(Code(0, "noisegate", "-20"), 100);
    EXPECT_EQ(Code(0, "position", "4"), 3);
    EXPECT_EQ(Code(0, "volume", "-20"), 40);  // the editor's "-20dB"
    EXPECT_EQ(Code(0, "volume", "10"), 70);
    EXPECT_EQ(Code(0, "volume", "Off"), 0);
}

TEST(ParamTable, ValuesOutOfRangeOrUnreadableAreRefused)
{
    EXPECT_NE(Refusal(1, "level", "11"), "");
    EXPECT_NE(Refusal(1, "level", "-61"), "");
    EXPECT_NE(Refusal(1, "level", "-6.5"), "");
    EXPECT_NE(Refusal(1, "hpf.slope", "20"), "");
    EXPECT_NE(Refusal(1, "hpf.slope", "54"), "");
    EXPECT_NE(Refusal(1, "limiter.release", "3"), "");
    EXPECT_NE(Refusal(1, "limiter.attack", "0.95"), "");
    EXPECT_NE(Refusal(1, "limiter.attack", "0.2"), "");
    EXPECT_NE(Refusal(1, "limiter.attack", "101"), "");
    EXPECT_NE(Refusal(1, "limiter.threshold", "6.1"), "");
    EXPECT_NE(Refusal(1, "eq1.gain", "20.1"), "");
    EXPECT_NE(Refusal(1, "eq1.gain", "6.55"), "");
    EXPECT_NE(Refusal(1, "eq1.bw", "3.01"), "");
    EXPECT_NE(Refusal(1, "eq1.bw", "0.04"), "");
    EXPECT_NE(Refusal(1, "eq1.freq", "19"), "");
    EXPECT_NE(Refusal(1, "eq1.freq", "20001"), "");
    EXPECT_NE(Refusal(1, "eq1.freq", "100.5"), "");
    EXPECT_NE(Refusal(1, "delay.1", "20.1"), "");
    EXPECT_NE(Refusal(1, "delay.1", "-1"), "");
    EXPECT_NE(Refusal(1, "mix", "LR"), "");
    EXPECT_NE(Refusal(1, "mute", "yes"), "");
    EXPECT_NE(Refusal(1, "polarity", "pos"), "");
    EXPECT_NE(Refusal(0, "source", "dvd"), "");
    EXPECT_NE(Refusal(0, "noisegate", "-120"), "");
    EXPECT_NE(Refusal(0, "noisegate", "-19"), "");
    EXPECT_NE(Refusal(0, "volume", "11"), "");
    EXPECT_NE(Refusal(0, "volume", "60"), "");
    EXPECT_NE(Refusal(0, "position", "0"), "");
    EXPECT_NE(Refusal(0, "position", "5"), "");
    for (const char* pJunk : {"", "abc", "6dB", "nan", "inf", "1e1", "0x10", "--5", "1.2.3", "-", "+"})
        EXPECT_NE(Refusal(1, "level", pJunk), "") << '"' << pJunk << '"';
}

TEST(ParamTable, RefusalNamesTheParameterAndWhatItTakes)
{
    EXPECT_EQ(Refusal(1, "level", "11"), "level \"11\" refused: dB from -60 to 10 in whole dB");
}

TEST(ParamTable, UnknownNamesAndWrongChannelsAreRefused)
{
    EXPECT_TRUE(NameRefused(1, "eq32.gain"));
    EXPECT_TRUE(NameRefused(1, "eq0.gain"));
    EXPECT_TRUE(NameRefused(1, "eq5"));
    EXPECT_TRUE(NameRefused(1, "eq5.q"));
    EXPECT_TRUE(NameRefused(1, "eqx.gain"));
    EXPECT_TRUE(NameRefused(1, "delay.5"));
    EXPECT_TRUE(NameRefused(1, "delay.0"));
    EXPECT_TRUE(NameRefused(1, "delay"));
    EXPECT_TRUE(NameRefused(1, "bpf.freq"));
    EXPECT_TRUE(NameRefused(1, "source"));     // processor-wide: channel 0
    EXPECT_TRUE(NameRefused(0, "level"));      // per output: channel 1 … 6
    EXPECT_TRUE(NameRefused(0, "delay.1"));
    EXPECT_FALSE(NameRefused(6, "eq31.bypass"));
    EXPECT_FALSE(NameRefused(1, "lpf.freq"));
}

TEST(ParamTable, NamesAreMatchedInAnyCase)
{
    for (const auto& [nChannel, pTyped, pName] : {std::tuple{1, "MUTE", "mute"}, std::tuple{2, "Eq5.Gain", "eq5.gain"},
                                                  std::tuple{3, "HPF.Slope", "hpf.slope"},
                                                  std::tuple{0, "Volume", "volume"}})
        EXPECT_EQ(Ref(nChannel, pTyped).strName, pName);
}

TEST(ParamTable, ChannelsAreZeroToSix)
{
    std::string strError;
    int nChannel = -1;
    for (const char* pBad : {"7", "-1", "x", "", "1.5"}) {
        EXPECT_FALSE(ParseChannel(pBad, &nChannel, &strError)) << pBad;
        EXPECT_EQ(nChannel, -1);
    }
    EXPECT_TRUE(ParseChannel("6", &nChannel, &strError));
    EXPECT_EQ(nChannel, 6);
    EXPECT_TRUE(ParseChannel("0", &nChannel, &strError));
    EXPECT_EQ(nChannel, 0);
}

TEST(ParamTable, PrintedValuesUseTheUnitsSetTakes)
{
    EXPECT_EQ(ScaleOf(ParamKind::BandGain).format(265).strText, "6.5");
    EXPECT_EQ(ScaleOf(ParamKind::BandGain).format(200).strText, "0.0");
    EXPECT_EQ(ScaleOf(ParamKind::LimiterAttack).format(6).strText, "0.9");
    EXPECT_EQ(ScaleOf(ParamKind::LimiterAttack).format(7).strText, "1");
    EXPECT_EQ(ScaleOf(ParamKind::CrossoverSlope).format(7).strText, "off");
    EXPECT_FALSE(ScaleOf(ParamKind::CrossoverSlope).format(7).bNumber);
    EXPECT_TRUE(ScaleOf(ParamKind::CrossoverSlope).format(2).bNumber);
    EXPECT_EQ(ScaleOf(ParamKind::Mix).format(kMixNone).strText, "none");
    EXPECT_EQ(ScaleOf(ParamKind::Delay).format(kDelayMax).strText, "20");
    EXPECT_EQ(ScaleOf(ParamKind::Delay).format(1).strText, "0.021");
    // A code outside a word list is shown as it came, not as another word.
    EXPECT_EQ(ScaleOf(ParamKind::Source).format(9).strText, "9");
}

TEST(NumberText, FormattingDropsOnlyWhatCarriesNoInformation)
{
    EXPECT_EQ(FormatFixed(-0.04, 1), "0.0");
    EXPECT_EQ(FormatFixed(-0.06, 1), "-0.1");
    EXPECT_EQ(FormatTrimmed(2.5, 3), "2.5");
    EXPECT_EQ(FormatTrimmed(20.0, 3), "20");
    EXPECT_EQ(FormatTrimmed(100.0, 1), "100");
}
