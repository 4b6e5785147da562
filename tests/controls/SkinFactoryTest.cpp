// The painted skin: every image the controls and forms ask for exists at
// its size, in both languages, with the mask key where the faders need it.
#include <QImage>
#include <gtest/gtest.h>
#include <map>
#include <set>

#include "GlobalData.h"
#include "SkinFactory.h"

namespace {

constexpr QRgb kKey = qRgb(0xFF, 0x00, 0xFF);

class LanguageGuard {
public:
    explicit LanguageGuard(int bChinese) { g_bChinese = bChinese; }
    ~LanguageGuard() { g_bChinese = 0; }
};

QSize ExpectedButtonSize(int nBase)
{
    const std::map<int, QSize> sizes {
        {kSkinChannelSelect, {64, 26}}, {kSkinChannelTag, {28, 20}}, {kSkinMute, {52, 22}},
        {kSkinPolarity, {52, 22}},      {kSkinLine, {52, 22}},       {kSkinPosition, {30, 24}},
        {kSkinPairLink, {60, 24}},      {kSkinLinkAll, {90, 24}},    {kSkinDelay, {90, 24}},
        {kSkinProgram, {96, 30}},       {kSkinSystem, {96, 30}},     {kSkinReport, {96, 30}},
        {kSkinAbout, {96, 30}},         {kSkinConnect, {120, 36}},   {kSkinReset, {72, 24}},
        {kSkinBypass, {32, 16}},        {kSkinEqMode, {60, 24}},     {kSkinAllBypass, {90, 24}},
    };
    auto it = sizes.upper_bound(nBase);
    return (--it)->second;
}

bool DigitsOnly(int nBase)
{
    return (nBase >= kSkinChannelTag && nBase < kSkinMute)
           || (nBase >= kSkinPosition && nBase < kSkinPairLink);
}

TEST(SkinFactory, KnowsEveryButtonOfTheForms)
{
    const std::vector<int> bases = SkinButtonBases();
    const std::set<int> known(bases.begin(), bases.end());
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(known.count(kSkinChannelSelect + i * kSkinButtonStride)) << i;
        EXPECT_TRUE(known.count(kSkinChannelTag + i * kSkinButtonStride)) << i;
    }
    for (int p = 0; p < 4; ++p)
        EXPECT_TRUE(known.count(kSkinPosition + p * kSkinButtonStride)) << p;
    for (int p = 0; p < 3; ++p)
        EXPECT_TRUE(known.count(kSkinPairLink + p * kSkinButtonStride)) << p;
    EXPECT_EQ(known.size(), 6u + 6u + 3u + 4u + 3u + 11u);
    EXPECT_EQ(*known.rbegin(), kSkinButtonLast);
}

TEST(SkinFactory, EveryButtonHasSixDistinctImagesOfItsSizeInBothLanguages)
{
    for (int nBase : SkinButtonBases()) {
        const QSize size = ExpectedButtonSize(nBase);
        EXPECT_EQ(SkinButtonSize(nBase), size) << nBase;
        std::array<int, 6> images[2];
        for (int bChinese : {0, 1}) {
            LanguageGuard guard(bChinese);
            images[bChinese] = SkinButtonImages(nBase);
            for (int i = 0; i < 6; ++i) {
                const int nImage = images[bChinese][i];
                const QPixmap& pix = SkinImage(nImage);
                ASSERT_FALSE(pix.isNull()) << nImage;
                EXPECT_EQ(pix.size(), size) << nImage;
                EXPECT_EQ(SkinButtonBaseOf(nImage), nBase);
                for (int j = 0; j < i; ++j)
                    EXPECT_NE(pix.toImage(), SkinImage(images[bChinese][j]).toImage()) << nImage;
            }
        }
        EXPECT_EQ(images[0][0], nBase);
        EXPECT_EQ(images[1][0], nBase + kSkinButtonImages / 2);
        for (int i = 0; i < 6; ++i) {
            const QImage imgEnglish = SkinImage(images[0][i]).toImage();
            const QImage imgChinese = SkinImage(images[1][i]).toImage();
            if (DigitsOnly(nBase))
                EXPECT_EQ(imgEnglish, imgChinese) << nBase;
            else
                EXPECT_NE(imgEnglish, imgChinese) << nBase;
        }
    }
}

// White or dark lettering stands out from the face in the middle band.
TEST(SkinFactory, ButtonsCarryReadableLettering)
{
    for (int nBase : SkinButtonBases()) {
        const QImage img = SkinImage(nBase + 3).toImage();
        const QColor crFace = img.pixelColor(2, img.height() / 2);
        int nInk = 0;
        for (int y = img.height() / 3; y < img.height() * 2 / 3; ++y)
            for (int x = 0; x < img.width(); ++x)
                if (std::abs(img.pixelColor(x, y).lightness() - crFace.lightness()) > 100)
                    ++nInk;
        EXPECT_GE(nInk, 6) << nBase;
    }
}

TEST(SkinFactory, UnknownNumbersGiveNothing)
{
    for (int n : {0, -1, 1, 216, 219, 286, 999, kSkinMute + 12, kSkinMute + 19, kSkinButtonLast + 20})
        EXPECT_TRUE(SkinImage(n).isNull()) << n;
    EXPECT_EQ(SkinButtonImages(kSkinMute + 1), (std::array<int, 6> {}));
    EXPECT_EQ(SkinButtonImages(4711), (std::array<int, 6> {}));
    EXPECT_TRUE(SkinButtonSize(kSkinMute + 6).isEmpty());
    EXPECT_EQ(SkinButtonBaseOf(kSkinMute + 12), 0);
}

TEST(SkinFactory, PaintsEachImageOnce)
{
    const QPixmap& pixFirst = SkinImage(kSkinLevelThumb);
    const QPixmap& pixAgain = SkinImage(kSkinLevelThumb);
    EXPECT_EQ(&pixFirst, &pixAgain);
    EXPECT_EQ(pixFirst.cacheKey(), pixAgain.cacheKey());
}

TEST(SkinFactory, FadersHaveTheirSizesKeyedThumbsAndOpaqueChannels)
{
    const struct {
        int nResource;
        QSize size;
        bool bThumb;
    } faders[] = {
        {kSkinOutFaderChannel, {25, 92}, false},  {kSkinOutFaderThumb, {16, 25}, true},
        {kSkinLevelThumb, {15, 21}, true},        {kSkinLevelChannel, {35, 108}, false},
        {kSkinLevelThumbActive, {15, 21}, true},  {kSkinLevelChannelActive, {35, 108}, false},
        {kSkinVolumeChannel, {50, 154}, false},   {kSkinVolumeThumb, {20, 29}, true},
    };
    for (const auto& fader : faders) {
        const QImage img = SkinImage(fader.nResource).toImage();
        ASSERT_EQ(img.size(), fader.size) << fader.nResource;
        EXPECT_FALSE(img.hasAlphaChannel()) << fader.nResource;
        const int nRight = img.width() - 1, nBottom = img.height() - 1;
        if (fader.bThumb) {
            for (const QPoint pt : {QPoint(0, 0), QPoint(nRight, 0), QPoint(0, nBottom),
                                    QPoint(nRight, nBottom)})
                EXPECT_EQ(img.pixel(pt), kKey) << fader.nResource;
            EXPECT_NE(img.pixel(img.width() / 2, img.height() / 2), kKey);
            continue;
        }
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ASSERT_NE(img.pixel(x, y), kKey) << fader.nResource << " " << x << "," << y;
    }
    EXPECT_NE(SkinImage(kSkinLevelChannel).toImage(), SkinImage(kSkinLevelChannelActive).toImage());
    EXPECT_NE(SkinImage(kSkinLevelThumb).toImage(), SkinImage(kSkinLevelThumbActive).toImage());
}

TEST(SkinFactory, FormBackgroundsInBothLanguages)
{
    const QImage imgEnglish = SkinImage(kSkinFormEnglish).toImage();
    const QImage imgChinese = SkinImage(kSkinFormChinese).toImage();
    EXPECT_EQ(imgEnglish.size(), QSize(kSkinFormWidth, kSkinFormHeight));
    EXPECT_EQ(imgChinese.size(), QSize(kSkinFormWidth, kSkinFormHeight));
    EXPECT_NE(imgEnglish, imgChinese);
    // The panel away from the header is the light base colour, give or take
    // the gradient.
    const QColor crBase(0xE3, 0xE4, 0xEE);
    const QColor crMiddle = imgEnglish.pixelColor(kSkinFormWidth / 2, kSkinFormHeight / 2);
    EXPECT_LE(std::abs(crMiddle.red() - crBase.red()), 6);
    EXPECT_LE(std::abs(crMiddle.blue() - crBase.blue()), 6);
    EXPECT_EQ(imgEnglish.copy(0, 100, kSkinFormWidth, 600), imgChinese.copy(0, 100, kSkinFormWidth, 600));
}

}  // namespace
