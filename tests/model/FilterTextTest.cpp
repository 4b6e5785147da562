#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Filter.h"
#include "GlobalData.h"
#include "ModelFixture.h"

class FilterText : public ModelTest {};

TEST_F(FilterText, DescribeBuildsTheGraphLabel)
{
    CFilter peq;
    peq.SetGraphic(false);
    peq.SetFrequency(1000, false);
    peq.SetBandwidthCode(15);
    peq.SetGainCode(230);
    EXPECT_EQ(peq.Describe(), "PEQ 1000Hz 7.208Q 3.0dB");
    EXPECT_EQ(peq.Label(), "PEQ 1000Hz 7.208Q 3.0dB");
    peq.SetGraphic(true);
    peq.SetWholeSetBypass(true);
    EXPECT_EQ(peq.Describe(), "GEQ 1000Hz 7.208Q 0.0dB");

    CFilter shelf;
    shelf.SetShelfMode(1);  // low shelf, 6 dB/oct
    shelf.SetFrequency(100, false);
    shelf.SetGainCode(230);
    EXPECT_EQ(shelf.Describe(), "Lo 100Hz 6dB/Oct 3.0dB");
    shelf.SetShelfMode(4);  // high shelf, 12 dB/oct, moved up to 2 kHz
    shelf.SetGainCode(175);
    EXPECT_EQ(shelf.Describe(), "Hi 2000Hz 12dB/Oct -2.5dB");

    CFilter hp;
    hp.SetEqBand(false);
    hp.SetKind(kHighPass);
    hp.SetFrequency(80, false);
    EXPECT_EQ(hp.Describe(), "80Hz ");
    hp.SetKind(5);
    EXPECT_EQ(hp.Describe(), "");
}

TEST_F(FilterText, ValueTexts)
{
    CFilter f;
    EXPECT_EQ(f.FrequencyText(), "1000Hz");
    EXPECT_EQ(f.GainText(), "0.0dB");
    f.SetGainCode(165);
    EXPECT_EQ(f.GainText(), "-3.5dB");
    f.SetWholeSetBypass(true);
    EXPECT_EQ(f.GainText(), "0.0dB");
    EXPECT_EQ(f.BandwidthText() + " " + f.QText(), "0.20Oct 7.208");
    f.SetBandwidthCode(0);
    EXPECT_EQ(f.QText(), "28.85");  // above 10: two decimals
    f.SetBandwidthCode(9);
    EXPECT_EQ(f.QText(), "10.30");
    f.SetBandwidthCode(10);
    EXPECT_EQ(f.QText(), "9.614");
    f.SetBandwidthCode(295);
    EXPECT_EQ(f.BandwidthText() + " " + f.QText(), "3.00Oct 0.404");
}

TEST_F(FilterText, TableTextsFollowTheLanguageAndEndAtTheTable)
{
    const std::vector<std::string> types = {"Link_Ril", "Bessel", "Butter_W", "", "宁克", "贝塞尔", "巴特沃斯", ""};
    const std::vector<std::string> kinds = {"PEQ", "Lo_Shf", "Hi_Shf", "", "参量均衡", "低架", "高架", ""};
    const std::vector<std::string> slopes = {"12dB/Oct", "18dB/Oct", "24dB/Oct", "30dB/Oct", "36dB/Oct",
                                             "42dB/Oct", "48dB/Oct", "OFF",      ""};
    const std::vector<std::string> twoSlopes = {"12dB/Oct", "24dB/Oct", ""};
    const std::vector<std::string> shelfSlopes = {"6dB/Oct", "12dB/Oct", ""};
    CFilter f;
    f.SetEqBand(false);
    for (int nChinese : {0, 1}) {
        g_bChinese = nChinese;
        for (int n = 0; n < 4; ++n) {
            f.SetFilterType(n, false);
            f.SetKind(n);
            EXPECT_EQ(f.FilterTypeText(), types[4 * nChinese + n]);
            EXPECT_EQ(f.KindText(), kinds[4 * nChinese + n]);
        }
    }
    for (int n = 0; n < 9; ++n) {
        f.SetSlope(n, false);
        EXPECT_EQ(f.CrossoverSlopeText(), slopes[n]) << n;
    }
    f.SetTwoSlope(true);
    for (int n = 0; n < 3; ++n) {
        f.SetSlope(n, false);
        EXPECT_EQ(f.CrossoverSlopeText(), twoSlopes[n]) << n;
        EXPECT_EQ(f.ShelfSlopeText(), shelfSlopes[n]) << n;
    }
    f.SetFilterType(-1, false);
    EXPECT_EQ(f.FilterTypeText(), "");
}
