// Forms shown smaller or larger than built: the fit of a size, the layout
// that places and letters children at it, and skinned controls drawn and
// driven at a scale.
#include <QLineEdit>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "FormFit.h"
#include "ScaledLayout.h"
#include "SkinFactory.h"
#include "SkinFader.h"
#include "XPButton.h"

namespace {

int Scaled(int n, double dScale)
{
    return static_cast<int>(std::lround(n * dScale));
}

}  // namespace

TEST(FormFit, ScalesDownToTheLegibleLimitAndSpreadsIntoTheExtraRoom)
{
    const QSize szBase(1260, 725);
    struct Case {
        QSize szShown;
        double dScale;
        int nExtraX;
        int nExtraY;
    };
    for (const Case& c : {Case{{1260, 725}, 1.0, 0, 0}, Case{{1920, 1048}, 1.0, 660, 323},
                          Case{{1280, 688}, 688.0 / 725, 88, 0}, Case{{1000, 580}, 0.8, 0, 0},
                          Case{{640, 480}, 0.8, 0, 0}}) {
        const CFormFit fit = CFormFit::For(szBase, c.szShown);
        EXPECT_DOUBLE_EQ(fit.dScale, c.dScale) << c.szShown.width();
        EXPECT_EQ(fit.nExtraX, c.nExtraX) << c.szShown.width();
        EXPECT_EQ(fit.nExtraY, c.nExtraY) << c.szShown.width();
    }
    EXPECT_EQ(CFormFit::MinimumOf(szBase), QSize(1008, 580));
    const CFormFit fit = CFormFit::For(szBase, {1000, 600});
    EXPECT_EQ(fit.Scaled(QRect(0, 0, 13, 7)).right() + 1, fit.Scaled(QRect(13, 7, 13, 7)).left())
        << "neighbours stay neighbours";
}

TEST(ScaledLayout, PlacesLettersAndKeepsFixedSizesAtTheFit)
{
    QWidget form;
    auto* pField = new QLineEdit(&form);
    pField->setGeometry(100, 50, 60, 20);
    QFont font = pField->font();
    font.setPixelSize(16);
    pField->setFont(font);
    auto* pFixed = new QWidget(&form);
    pFixed->setFixedSize(10, 20);
    pFixed->move(200, 50);
    CScaledLayout layout;
    layout.Record(&form);
    const auto moveRight = [](QWidget*, const QRect& rc) { return rc.translated(40, 0); };
    layout.Apply(CFormFit{0.8, 0, 0}, moveRight);
    EXPECT_EQ(pField->geometry(), QRect(112, 40, 48, 16));
    EXPECT_EQ(pField->font().pixelSize(), 13);
    EXPECT_EQ(pFixed->size(), QSize(8, 16));
    layout.Apply(CFormFit{}, [](QWidget*, const QRect& rc) { return rc; });
    EXPECT_EQ(pField->geometry(), QRect(100, 50, 60, 20));
    EXPECT_EQ(pField->font().pixelSize(), 16);
    EXPECT_EQ(pFixed->size(), QSize(10, 20));
}

TEST(ScaledSkins, ButtonsAndFadersArePaintedAtTheScaleAndWorkThere)
{
    QWidget host;
    host.resize(300, 300);
    auto* pButton = new CXPButton(6052, &host);
    pButton->SetSkin(kSkinMute);
    auto* pFader = new CSkinFader(8650, &host);
    pFader->move(100, 0);
    ASSERT_TRUE(pFader->SetBitmapChannel(kSkinOutFaderChannel, kSkinOutFaderChannel, false));
    ASSERT_TRUE(pFader->SetBitmapThumb(kSkinOutFaderThumb, kSkinOutFaderThumb, true));
    pFader->SetRange(0, 400);
    pFader->SetMargin(4, 1, 1, 2);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const QSize szButton = SkinButtonSize(kSkinMute);
    const QSize szChannel = SkinImage(kSkinOutFaderChannel).size();
    for (const double dScale : {0.8, 0.9, 1.0}) {
        pButton->SetScale(dScale);
        pFader->SetScale(dScale);
        EXPECT_EQ(pButton->size(), QSize(Scaled(szButton.width(), dScale), Scaled(szButton.height(), dScale)));
        EXPECT_EQ(SkinImage(pButton->CurrentImage(), dScale).size(), pButton->size());
        EXPECT_EQ(pFader->size(), QSize(Scaled(szChannel.width(), dScale), Scaled(szChannel.height(), dScale)));
        EXPECT_EQ(pFader->TrackTop(), 1 + pFader->ThumbHeight() / 2);
        int nClicks = 0;
        const auto connection = QObject::connect(pButton, &CXPButton::clicked, [&nClicks] { ++nClicks; });
        QTest::mouseClick(pButton, Qt::LeftButton, {}, pButton->rect().center());
        QObject::disconnect(connection);
        EXPECT_EQ(nClicks, 1) << dScale;
        // The thumb dragged from its centre to the bottom of the track.
        pFader->SetPos(100);
        const QPoint grip(Scaled(12, dScale), pFader->ThumbCentre());
        QTest::mousePress(pFader, Qt::LeftButton, {}, grip);
        QTest::mouseMove(pFader, QPoint(grip.x(), pFader->TrackBottom()));
        EXPECT_EQ(pFader->GetPos(), 400) << dScale;
        QTest::mouseRelease(pFader, Qt::LeftButton, {}, QPoint(grip.x(), pFader->TrackBottom()));
    }
    EXPECT_TRUE(SkinImage(kSkinFormEnglish, 0.8).isNull()) << "the form's background is painted at its size";
}
