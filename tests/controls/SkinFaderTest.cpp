// The skinned fader driven by mouse, keys and wheel as a user would, with
// the output page's images, range and margins.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

#include "SkinFactory.h"
#include "SkinFader.h"

namespace {

constexpr int kId = 8207;
constexpr int kMax = 400;
constexpr int kLeft = 4, kTop = 1, kRight = 1, kBottom = 2;

class FaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pHost = std::make_unique<QWidget>();
        m_pHost->resize(200, 200);
        m_pOther = new QLineEdit(m_pHost.get());
        m_pOther->setGeometry(100, 10, 80, 24);
        m_pFader = new CSkinFader(kId, m_pHost.get());
        m_pFader->move(10, 10);
        ASSERT_TRUE(m_pFader->SetBitmapChannel(kSkinOutFaderChannel, kSkinOutFaderChannel, false));
        ASSERT_TRUE(m_pFader->SetBitmapThumb(kSkinOutFaderThumb, kSkinOutFaderThumb, true));
        m_pFader->SetRange(0, kMax);
        m_pFader->SetMargin(kLeft, kTop, kRight, kBottom);
        m_pHost->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pHost.get()));
        m_pHost->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pHost.get()));
        m_pOther->setFocus();
    }

    // Focus first, so the spies see only what the test does.
    void FocusQuietly() { m_pFader->FocusMessage(); }

    QPoint Track(int y) const { return {kLeft + 8, y}; }

    void Wheel(int nDelta)
    {
        const QPointF pt(12, 40);
        QWheelEvent event(pt, m_pFader->mapToGlobal(pt), QPoint(), QPoint(0, nDelta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_pFader, &event);
    }

    std::unique_ptr<QWidget> m_pHost;
    QLineEdit* m_pOther = nullptr;
    CSkinFader* m_pFader = nullptr;
};

TEST_F(FaderTest, TakesTheChannelSizeAndMapsPositionsToThumbCentres)
{
    const QSize channel = SkinImage(kSkinOutFaderChannel).size();
    const int nThumb = SkinImage(kSkinOutFaderThumb).height();
    EXPECT_EQ(m_pFader->size(), channel);
    const int nTravel = channel.height() - kTop - kBottom - nThumb;
    const int yMin = nThumb / 2 + kTop;
    for (int nPos : {0, 1, 7, 200, 399, kMax})
        EXPECT_EQ(m_pFader->PixelFromPos(nPos), yMin + nPos * nTravel / kMax) << nPos;
    EXPECT_EQ(m_pFader->TrackTop(), yMin);
    EXPECT_EQ(m_pFader->TrackBottom(), channel.height() - kBottom - nThumb / 2);
    EXPECT_EQ(m_pFader->PosFromPixel(yMin + nTravel / 2), kMax / 2);
    // Ends of the centre limits and beyond stay inside the range.
    EXPECT_EQ(m_pFader->PosFromPixel(m_pFader->TrackBottom()), kMax);
    EXPECT_EQ(m_pFader->PosFromPixel(m_pFader->TrackTop()), 0);
    for (int y = m_pFader->TrackTop(); y <= m_pFader->TrackBottom(); ++y) {
        const int nCentre = m_pFader->PixelFromPos(m_pFader->PosFromPixel(y));
        EXPECT_LE(nCentre, y);
        EXPECT_GE(nCentre, y - 1);
    }
}

TEST_F(FaderTest, LimitsPositionsOutsideTheRange)
{
    m_pFader->SetPos(-5);
    EXPECT_EQ(m_pFader->GetPos(), 0);
    m_pFader->SetPos(kMax + 1);
    EXPECT_EQ(m_pFader->GetPos(), kMax);
    m_pFader->SetPosInverted(kMax + 50);
    EXPECT_EQ(m_pFader->GetPos(), 0);
    EXPECT_EQ(m_pFader->GetPosInverted(), kMax);
    m_pFader->SetPosInverted(150);
    EXPECT_EQ(m_pFader->GetPos(), kMax - 150);
    m_pFader->SetRange(0, 100);
    EXPECT_EQ(m_pFader->GetPos(), 100);
}

TEST_F(FaderTest, DrawsTheThumbThroughItsMaskAtTheCentreOfThePosition)
{
    m_pFader->SetPos(123);
    const QImage imgThumb = SkinImage(kSkinOutFaderThumb).toImage();
    const QImage imgChannel = SkinImage(kSkinOutFaderChannel).toImage();
    const QImage img = m_pFader->grab().toImage();
    const int yTop = m_pFader->ThumbCentre() - imgThumb.height() / 2;
    EXPECT_EQ(img.pixel(kLeft + imgThumb.width() / 2, yTop + imgThumb.height() / 2),
              imgThumb.pixel(imgThumb.width() / 2, imgThumb.height() / 2));
    // The keyed corner shows the channel, not the key colour.
    EXPECT_EQ(imgThumb.pixel(0, 0), qRgb(0xFF, 0, 0xFF));
    EXPECT_EQ(img.pixel(kLeft, yTop), imgChannel.pixel(kLeft, yTop));
    EXPECT_EQ(img.pixel(kLeft + imgThumb.width() - 1, yTop + imgThumb.height() - 1),
              imgChannel.pixel(kLeft + imgThumb.width() - 1, yTop + imgThumb.height() - 1));
}

TEST_F(FaderTest, ClickBesideTheThumbOfAnInvertedFaderMovesOneStep)
{
    m_pFader->SetPosInverted(200);
    FocusQuietly();
    QSignalSpy spyMoved(m_pFader, &CSkinFader::Moved);
    QSignalSpy spyMoving(m_pFader, &CSkinFader::Moving);

    QTest::mouseClick(m_pFader, Qt::LeftButton, {}, Track(m_pFader->TrackTop()));
    EXPECT_EQ(m_pFader->GetPosInverted(), 201);
    EXPECT_FALSE(m_pFader->IsDragging());
    ASSERT_EQ(spyMoved.count(), 1);
    EXPECT_EQ(spyMoved.at(0).at(0).toInt(), kId);
    EXPECT_EQ(spyMoved.at(0).at(1).toInt(), kMax - 201);

    // Just beyond half a thumb below the centre.
    const int y = m_pFader->ThumbCentre() + m_pFader->ThumbHeight() / 2 + 1;
    QTest::mouseClick(m_pFader, Qt::LeftButton, {}, Track(y));
    EXPECT_EQ(m_pFader->GetPosInverted(), 200);
    EXPECT_EQ(spyMoved.count(), 2);
    EXPECT_EQ(spyMoving.count(), 0);
}

TEST_F(FaderTest, DragKeepsThePointersOffsetFromTheThumbCentre)
{
    m_pFader->SetPos(100);
    FocusQuietly();
    const int nOffset = m_pFader->ThumbHeight() / 2;   // still on the thumb
    const int yGrip = m_pFader->ThumbCentre() + nOffset;
    QTest::mousePress(m_pFader, Qt::LeftButton, {}, Track(yGrip));
    EXPECT_TRUE(m_pFader->IsDragging());
    EXPECT_EQ(m_pFader->GetPos(), 100);

    const int yTo = yGrip + 20;
    QTest::mouseMove(m_pFader, Track(yTo));
    EXPECT_EQ(m_pFader->GetPos(), m_pFader->PosFromPixel(yTo - nOffset));
    QTest::mouseMove(m_pFader, Track(m_pFader->height() + 50));
    EXPECT_EQ(m_pFader->GetPos(), kMax);
    QTest::mouseRelease(m_pFader, Qt::LeftButton, {}, Track(m_pFader->height() + 50));
    EXPECT_FALSE(m_pFader->IsDragging());
}

TEST_F(FaderTest, DragReportsMovingAtMostEvery50msAndMovedOnceAtRelease)
{
    m_pFader->SetPos(0);
    FocusQuietly();
    QSignalSpy spyMoving(m_pFader, &CSkinFader::Moving);
    QSignalSpy spyMoved(m_pFader, &CSkinFader::Moved);

    QElapsedTimer timer;
    timer.start();
    int y = m_pFader->ThumbCentre();
    QTest::mousePress(m_pFader, Qt::LeftButton, {}, Track(y));
    while (timer.elapsed() < 500 && y < m_pFader->TrackBottom()) {
        QTest::mouseMove(m_pFader, Track(++y));
        QTest::qWait(8);
    }
    EXPECT_EQ(spyMoved.count(), 0);
    QTest::mouseRelease(m_pFader, Qt::LeftButton, {}, Track(y));
    const qint64 nElapsed = timer.elapsed();

    EXPECT_GE(spyMoving.count(), 2);
    EXPECT_LE(spyMoving.count(), nElapsed / CSkinFader::kMovingPeriodMs + 1);
    ASSERT_EQ(spyMoved.count(), 1);
    EXPECT_EQ(spyMoved.at(0).at(1).toInt(), m_pFader->GetPos());
    EXPECT_GT(m_pFader->GetPos(), 0);

    // Nothing more once the button is up.
    const int nMoving = spyMoving.count();
    QTest::qWait(3 * CSkinFader::kMovingPeriodMs);
    EXPECT_EQ(spyMoving.count(), nMoving);
}

TEST_F(FaderTest, KeysMoveByStepPageAndToTheEndsWithOneMovedEach)
{
    m_pFader->SetPos(100);
    FocusQuietly();
    QSignalSpy spyMoved(m_pFader, &CSkinFader::Moved);
    const struct {
        Qt::Key key;
        int nExpected;
    } steps[] = {
        {Qt::Key_Home, 0},  {Qt::Key_Up, 0},         {Qt::Key_Down, 1},
        {Qt::Key_Right, 2}, {Qt::Key_Left, 1},       {Qt::Key_PageDown, 21},
        {Qt::Key_PageUp, 1}, {Qt::Key_PageUp, 0},    {Qt::Key_End, kMax},
        {Qt::Key_Down, kMax}, {Qt::Key_PageDown, kMax},
    };
    int nCount = 0;
    for (const auto& step : steps) {
        QTest::keyClick(m_pFader, step.key);
        EXPECT_EQ(m_pFader->GetPos(), step.nExpected) << step.key;
        ASSERT_EQ(spyMoved.count(), ++nCount) << step.key;
        EXPECT_EQ(spyMoved.last().at(1).toInt(), step.nExpected);
    }
    QTest::keyClick(m_pFader, Qt::Key_A);
    EXPECT_EQ(spyMoved.count(), nCount);
}

TEST_F(FaderTest, WheelMovesOneStepPerNotchAndOtherDeltasOnlyReport)
{
    m_pFader->SetPosInverted(200);
    QSignalSpy spyMoved(m_pFader, &CSkinFader::Moved);
    Wheel(CSkinFader::kWheelNotch);   // away from the user
    EXPECT_EQ(m_pFader->GetPosInverted(), 201);
    Wheel(-CSkinFader::kWheelNotch);
    Wheel(-CSkinFader::kWheelNotch);
    EXPECT_EQ(m_pFader->GetPosInverted(), 199);
    EXPECT_EQ(spyMoved.count(), 3);
    for (int nDelta : {60, -60, 240, -240}) {
        Wheel(nDelta);
        EXPECT_EQ(m_pFader->GetPosInverted(), 199) << nDelta;
    }
    EXPECT_EQ(spyMoved.count(), 7);
    EXPECT_EQ(spyMoved.last().at(1).toInt(), kMax - 199);
}

TEST_F(FaderTest, FocusGainReportsMovingButTheFocusMessageDoesNot)
{
    m_pFader->SetPos(77);
    QSignalSpy spyMoving(m_pFader, &CSkinFader::Moving);
    m_pFader->setFocus();
    ASSERT_TRUE(m_pFader->hasFocus());
    ASSERT_EQ(spyMoving.count(), 1);
    EXPECT_EQ(spyMoving.at(0).at(0).toInt(), kId);
    EXPECT_EQ(spyMoving.at(0).at(1).toInt(), 77);

    m_pOther->setFocus();
    EXPECT_FALSE(m_pFader->HasFocusFlag());
    m_pFader->FocusMessage();
    EXPECT_TRUE(m_pFader->hasFocus());
    EXPECT_TRUE(m_pFader->HasFocusFlag());
    EXPECT_EQ(spyMoving.count(), 1);
}

TEST_F(FaderTest, DisabledFaderIgnoresInputAndHidesTheThumb)
{
    m_pFader->SetPos(200);
    m_pFader->setEnabled(false);
    QSignalSpy spyMoved(m_pFader, &CSkinFader::Moved);
    QTest::mouseClick(m_pFader, Qt::LeftButton, {}, Track(m_pFader->TrackTop()));
    QTest::keyClick(m_pFader, Qt::Key_Home);
    EXPECT_EQ(m_pFader->GetPos(), 200);
    EXPECT_EQ(spyMoved.count(), 0);
    EXPECT_EQ(m_pFader->grab().toImage(), SkinImage(kSkinOutFaderChannel).toImage());
}

TEST_F(FaderTest, RejectedImagesChangeNothing)
{
    const QSize size = m_pFader->size();
    EXPECT_FALSE(m_pFader->SetBitmapChannel(4711, 0, false));
    EXPECT_FALSE(m_pFader->SetBitmapChannel(kSkinLevelChannel, kSkinOutFaderChannel, false));
    EXPECT_FALSE(m_pFader->SetBitmapThumb(kSkinOutFaderThumb, 0, true, CSkinFader::kMaskFromPixel,
                                          100, 0));
    EXPECT_EQ(m_pFader->size(), size);
    EXPECT_EQ(m_pFader->ThumbHeight(), SkinImage(kSkinOutFaderThumb).height());
    EXPECT_TRUE(m_pFader->SetBitmapChannel(kSkinLevelChannel, kSkinLevelChannelActive, false));
    EXPECT_EQ(m_pFader->size(), SkinImage(kSkinLevelChannel).size());
}

// The main form's level fader: lit channel below the thumb centre.
TEST(FaderSplit, ActiveChannelBelowTheThumbCentreNormalAbove)
{
    QWidget host;
    auto* pFader = new CSkinFader(kId, &host);
    pFader->SetBitmapChannel(kSkinLevelChannel, kSkinLevelChannelActive, false);
    pFader->SetBitmapThumb(kSkinLevelThumb, kSkinLevelThumbActive, true);
    pFader->SetRange(0, 60);
    pFader->SetMargin(21, 1, 1, 2);
    pFader->SetPos(30);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    const QImage imgNormal = SkinImage(kSkinLevelChannel).toImage();
    const QImage imgActive = SkinImage(kSkinLevelChannelActive).toImage();
    const QImage img = pFader->grab().toImage();
    const int nHalf = pFader->ThumbHeight() / 2;
    const int yAbove = pFader->ThumbCentre() - nHalf - 2;
    const int yBelow = pFader->ThumbCentre() + nHalf + 2;
    ASSERT_NE(imgNormal.copy(0, yBelow, img.width(), 1), imgActive.copy(0, yBelow, img.width(), 1));
    EXPECT_EQ(img.copy(0, yAbove, img.width(), 1), imgNormal.copy(0, yAbove, img.width(), 1));
    EXPECT_EQ(img.copy(0, yBelow, img.width(), 1), imgActive.copy(0, yBelow, img.width(), 1));

    pFader->setEnabled(false);
    EXPECT_EQ(pFader->grab().toImage(), imgNormal);
}

}  // namespace
