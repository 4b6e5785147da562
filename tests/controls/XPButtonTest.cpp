// Skinned push buttons and transparent radio buttons on a coloured parent,
// driven with the mouse.
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "ControlName.h"
#include "ButtonRadio.h"
#include "GlobalData.h"
#include "SkinFactory.h"
#include "XPButton.h"

namespace {

constexpr int kId = 8900;
const QColor kParentColor(40, 160, 90);

// Counts its paintings, to see that an unchanged state still redraws.
class CountingButton : public CXPButton {
public:
    using CXPButton::CXPButton;
    int m_nPaints = 0;

protected:
    void paintEvent(QPaintEvent* pEvent) override
    {
        ++m_nPaints;
        CXPButton::paintEvent(pEvent);
    }
};

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pHost = std::make_unique<QWidget>();
        QPalette pal = m_pHost->palette();
        pal.setColor(QPalette::Window, kParentColor);
        m_pHost->setPalette(pal);
        m_pHost->setAutoFillBackground(true);
        m_pHost->resize(300, 200);
        m_pButton = new CountingButton(kId, m_pHost.get());
        m_pButton->setGeometry(30, 40, 40, 20);
        m_pHost->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pHost.get()));
    }

    void TearDown() override { g_bChinese = 0; }

    QImage Shown() const { return m_pButton->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    static QImage Expected(int nImage)
    {
        QImage img(SkinImage(nImage).size(), QImage::Format_RGB32);
        img.fill(kParentColor);
        QPainter painter(&img);
        painter.drawPixmap(0, 0, SkinImage(nImage));
        return img;
    }

    std::unique_ptr<QWidget> m_pHost;
    CountingButton* m_pButton = nullptr;
};

TEST_F(ButtonTest, WithoutImagesTheParentShowsThrough)
{
    const QPoint ptCentre = m_pButton->geometry().center();
    EXPECT_EQ(m_pHost->grab().toImage().pixelColor(ptCentre), kParentColor);
    EXPECT_EQ(m_pButton->CurrentImage(), 0);
    EXPECT_EQ(m_pButton->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(m_pButton->objectName(), ControlName(kId));

    // Released images set, pressed ones not: a new button draws nothing.
    m_pButton->SetImages(0, 0, 0, kSkinMute + 3, kSkinMute + 4, kSkinMute + 5);
    EXPECT_EQ(m_pHost->grab().toImage().pixelColor(ptCentre), kParentColor);
    m_pButton->SetPressed(false);
    EXPECT_NE(m_pHost->grab().toImage().pixelColor(m_pButton->geometry().center()), kParentColor);
}

TEST_F(ButtonTest, NewButtonShowsThePressedImageUntilReleased)
{
    EXPECT_TRUE(m_pButton->IsPressed());
    m_pButton->SetSkin(kSkinMute);
    EXPECT_EQ(m_pButton->CurrentImage(), kSkinMute + CXPButton::kPressedNormal);
    EXPECT_EQ(Shown(), Expected(kSkinMute + CXPButton::kPressedNormal));
    m_pButton->SetPressed(false);
    EXPECT_FALSE(m_pButton->IsPressed());
    EXPECT_EQ(m_pButton->CurrentImage(), kSkinMute + CXPButton::kReleasedNormal);
    EXPECT_EQ(Shown(), Expected(kSkinMute + CXPButton::kReleasedNormal));
}

TEST_F(ButtonTest, ImagesOfAnotherSizeResizeAtOnceKeepingTheTopLeft)
{
    m_pButton->SetSkin(kSkinMute);
    EXPECT_EQ(m_pButton->geometry(), QRect(QPoint(30, 40), SkinButtonSize(kSkinMute)));
    m_pButton->SetSkin(kSkinConnect);
    EXPECT_EQ(m_pButton->geometry(), QRect(QPoint(30, 40), SkinButtonSize(kSkinConnect)));
    m_pButton->SetImages(kSkinBypass, kSkinBypass, kSkinBypass,
                         kSkinBypass, kSkinBypass, kSkinBypass);
    EXPECT_EQ(m_pButton->geometry(), QRect(QPoint(30, 40), SkinButtonSize(kSkinBypass)));
}

TEST_F(ButtonTest, ClickReportsButLeavesThePressedStateToTheOwner)
{
    m_pButton->SetSkin(kSkinChannelSelect);
    QSignalSpy spyClicked(m_pButton, &QAbstractButton::clicked);
    QSignalSpy spyNotify(m_pButton, &CXPButton::Notify);
    QTest::mouseClick(m_pButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(m_pButton->IsPressed());
    m_pButton->SetPressed(false);
    QTest::mouseClick(m_pButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(m_pButton->IsPressed());
    EXPECT_EQ(spyClicked.count(), 2);
    ASSERT_EQ(spyNotify.count(), 2);
    EXPECT_EQ(spyNotify.at(0).at(0).toInt(), kId);
}

TEST_F(ButtonTest, HoverAndHeldChooseTheirImages)
{
    m_pButton->SetImages(11, 12, 13, 14, 15, 16);   // numbers only: no drawing needed
    const QPoint ptIn(5, 5);
    QTest::mouseMove(m_pButton, ptIn);
    EXPECT_TRUE(m_pButton->IsHover());
    EXPECT_EQ(m_pButton->CurrentImage(), 12);
    QTest::mousePress(m_pButton, Qt::LeftButton, {}, ptIn);
    EXPECT_EQ(m_pButton->CurrentImage(), 13);
    QTest::mouseRelease(m_pButton, Qt::LeftButton, {}, ptIn);
    EXPECT_EQ(m_pButton->CurrentImage(), 12);

    m_pButton->SetPressed(false);
    EXPECT_EQ(m_pButton->CurrentImage(), 15);
    QTest::mousePress(m_pButton, Qt::LeftButton, {}, ptIn);
    EXPECT_EQ(m_pButton->CurrentImage(), 16);
    QTest::mouseRelease(m_pButton, Qt::LeftButton, {}, ptIn);

    QTest::mouseMove(m_pHost.get(), QPoint(250, 150));
    EXPECT_FALSE(m_pButton->IsHover());
    EXPECT_EQ(m_pButton->CurrentImage(), 14);
}

TEST_F(ButtonTest, UnchangedPressedStateStillRedrawsTheButton)
{
    m_pButton->SetSkin(kSkinMute);
    QTest::qWait(20);
    const int nButtonPaints = m_pButton->m_nPaints;
    m_pButton->SetPressed(true);
    QTest::qWait(20);
    EXPECT_GT(m_pButton->m_nPaints, nButtonPaints);
}

TEST_F(ButtonTest, LanguageFlipPicksTheOtherLettering)
{
    m_pButton->SetSkin(kSkinMute);
    m_pButton->SetPressed(false);
    g_bChinese = 1;
    EXPECT_EQ(m_pButton->CurrentImage(), kSkinMute + CXPButton::kReleasedNormal);
    m_pButton->ApplyLanguage();
    EXPECT_EQ(m_pButton->CurrentImage(), kSkinMute + 6 + CXPButton::kReleasedNormal);
    EXPECT_EQ(Shown(), Expected(kSkinMute + 6 + CXPButton::kReleasedNormal));
    EXPECT_EQ(m_pButton->SkinBase(), kSkinMute);

    // Images set by number are not the skin's to change.
    m_pButton->SetImages(11, 12, 13, 14, 15, 16);
    g_bChinese = 0;
    m_pButton->ApplyLanguage();
    EXPECT_EQ(m_pButton->CurrentImage(), 14);
}

TEST_F(ButtonTest, RadioButtonDrawsBlackTextOnTheParentsBackground)
{
    auto* pRadio = new CButtonRadio(8401, QStringLiteral("Mono"), m_pHost.get());
    pRadio->setGeometry(20, 100, 200, 24);
    pRadio->show();
    EXPECT_EQ(pRadio->objectName(), QStringLiteral("ctl8401"));
    EXPECT_EQ(pRadio->TextColor(), QColor(Qt::black));
    const QImage img = m_pHost->grab().toImage();
    EXPECT_EQ(img.pixelColor(pRadio->geometry().right() - 2, pRadio->geometry().center().y()),
              kParentColor);
    EXPECT_EQ(img.pixelColor(pRadio->geometry().left() + 1, pRadio->geometry().top() + 1),
              kParentColor);
}

}  // namespace

namespace {

TEST_F(ButtonTest, DisabledButtonFadesTowardsTheParent)
{
    m_pButton->SetSkin(kSkinProgram);
    m_pButton->SetPressed(false);
    const QPoint pt(3, m_pButton->height() / 2);
    const QColor crEnabled = m_pHost->grab().toImage().pixelColor(m_pButton->pos() + pt);
    m_pButton->setEnabled(false);
    const QColor crDisabled = m_pHost->grab().toImage().pixelColor(m_pButton->pos() + pt);
    auto distance = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    EXPECT_LT(distance(crDisabled, kParentColor), distance(crEnabled, kParentColor));
    QSignalSpy clicks(m_pButton, &QAbstractButton::clicked);
    QTest::mouseClick(m_pButton, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
}

}  // namespace
