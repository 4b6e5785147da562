// Labels, the group frame and the page frame, checked on their painted pixels.
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

#include "EnTabCtrl.h"
#include "FontStatic.h"
#include "SxGroupBox.h"
#include "TransparentStatic.h"

namespace {

const QColor kDialogColor(227, 228, 238);

// Bounding box of the pixels that differ clearly from the background.
struct InkBox {
    int nLeft = -1, nTop = -1, nRight = -1, nBottom = -1;
    bool Empty() const { return nTop < 0; }
    int Height() const { return nBottom - nTop + 1; }
};

bool IsInk(QColor cr, QColor crBack)
{
    return qAbs(cr.red() - crBack.red()) + qAbs(cr.green() - crBack.green())
               + qAbs(cr.blue() - crBack.blue()) > 120;
}

InkBox FindInk(const QImage& image, QColor crBack)
{
    InkBox box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (!IsInk(image.pixelColor(x, y), crBack))
                continue;
            if (box.Empty()) {
                box = {x, y, x, y};
                continue;
            }
            box.nLeft = std::min(box.nLeft, x);
            box.nRight = std::max(box.nRight, x);
            box.nBottom = y;
        }
    return box;
}

// A shown dialog-coloured window the controls live on.
class Host : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pHost = std::make_unique<QWidget>();
        QPalette pal = m_pHost->palette();
        pal.setColor(QPalette::Window, kDialogColor);
        m_pHost->setPalette(pal);
        m_pHost->setAutoFillBackground(true);
        m_pHost->resize(400, 240);
    }
    void ShowHost()
    {
        m_pHost->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pHost.get()));
    }
    QImage Grab(const QWidget& w) { return m_pHost->grab(w.geometry()).toImage(); }
    InkBox Ink(const QWidget& w) { return FindInk(Grab(w), kDialogColor); }

    std::unique_ptr<QWidget> m_pHost;
};

using FontStaticTest = Host;
using TransparentStaticTest = Host;
using SxGroupBoxTest = Host;
using EnTabCtrlTest = Host;

TEST_F(FontStaticTest, StyleFlagsChooseTheSide)
{
    CFontStatic label(1102, "Level", m_pHost.get());
    label.setGeometry(10, 10, 300, 30);
    ShowHost();
    const InkBox centred = Ink(label);
    ASSERT_FALSE(centred.Empty());
    EXPECT_NEAR(centred.nLeft, 299 - centred.nRight, 3);

    label.SetFontStyle(14, Qt::black, CFontStatic::kAlignLeft);
    EXPECT_LE(Ink(label).nLeft, 3);
    label.SetFontStyle(14, Qt::black, CFontStatic::kAlignRight | CFontStatic::kAlignLeft);
    EXPECT_GE(Ink(label).nRight, 295);
    label.SetFontStyle(14, Qt::black, CFontStatic::kAlignCentre | CFontStatic::kAlignRight);
    EXPECT_NEAR(Ink(label).nLeft, centred.nLeft, 1);
}

TEST_F(FontStaticTest, TextColourIsPainted)
{
    CFontStatic label(1103, "MMMM", m_pHost.get());
    label.setGeometry(10, 10, 200, 40);
    ShowHost();
    label.SetTextColor(QColor(255, 0, 0));
    const QImage image = Grab(label);
    bool bRed = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor cr = image.pixelColor(x, y);
            bRed = bRed || (cr.red() > 220 && cr.green() < 40 && cr.blue() < 40);
        }
    EXPECT_TRUE(bRed);
}

TEST_F(FontStaticTest, ClickReachesTheOwnerWithTheId)
{
    CFontStatic label(1104, "Name", m_pHost.get());
    label.setGeometry(10, 10, 100, 20);
    ShowHost();
    QSignalSpy clicks(&label, &CFontStatic::clicked);
    QSignalSpy notifies(&label, &CFontStatic::Notify);
    QTest::mouseClick(&label, Qt::LeftButton);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 1104);
    EXPECT_EQ(notifies.count(), 1);
    QTest::mouseClick(&label, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(TransparentStaticTest, LeavesTheBackgroundAndWrapsUnlessCentredVertically)
{
    CTransparentStatic label(1201, "one two three four five six", m_pHost.get());
    label.setGeometry(10, 10, 70, 120);
    label.SetTextColor(QColor(0, 0, 200));
    ShowHost();
    const QImage image = Grab(label);
    EXPECT_EQ(image.pixelColor(69, 119), kDialogColor);
    const InkBox wrapped = FindInk(image, kDialogColor);
    ASSERT_FALSE(wrapped.Empty());
    const int nLine = label.fontMetrics().height();
    EXPECT_GT(wrapped.Height(), 2 * nLine);
    EXPECT_LT(wrapped.nTop, nLine);

    label.SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const InkBox single = Ink(label);
    ASSERT_FALSE(single.Empty());
    EXPECT_LE(single.Height(), nLine);
    EXPECT_NEAR((single.nTop + single.nBottom) / 2, 60, 4);
}

class GroupFrame : public SxGroupBoxTest {
protected:
    void Place(CSxGroupBox& box)
    {
        box.setGeometry(20, 20, 300, 150);
        ShowHost();
        m_image = Grab(box);
        // As painted into 8-bit pixels.
        m_crShadow = QColor(box.palette().color(QPalette::Dark).rgb());
        m_crLight = QColor(box.palette().color(QPalette::Light).rgb());
        m_nLine = box.TopLineY();
    }
    bool CaptionInked(const CSxGroupBox& box) const
    {
        for (int y = 0; y < m_nLine + 8; ++y)
            for (int x = box.GapLeft() + 1; x < box.GapRight(); ++x)
                if (m_image.pixelColor(x, y).lightness() < 60)
                    return true;
        return false;
    }
    QImage m_image;
    QColor m_crShadow, m_crLight;
    int m_nLine = 0;
};

TEST_F(GroupFrame, EmptyCaptionClosesTheTopLine)
{
    CSxGroupBox box(1301, QString(), m_pHost.get());
    Place(box);
    ASSERT_GE(m_nLine, 0);
    for (int x = 0; x <= 298; ++x)
        ASSERT_EQ(m_image.pixelColor(x, m_nLine), m_crShadow) << "x " << x;
    for (int x = 1; x <= 299; ++x)
        ASSERT_EQ(m_image.pixelColor(x, m_nLine + 1), m_crLight) << "x " << x;
    EXPECT_EQ(m_image.pixelColor(150, 148), m_crShadow);
    EXPECT_EQ(m_image.pixelColor(150, 149), m_crLight);
    EXPECT_EQ(m_image.pixelColor(0, 80), m_crShadow);
    EXPECT_EQ(m_image.pixelColor(298, 80), m_crShadow);
    EXPECT_EQ(m_image.pixelColor(150, 80), kDialogColor);
}

TEST_F(GroupFrame, CaptionSitsInAGapEightPixelsFromTheLeft)
{
    CSxGroupBox box(1302, "Crossover", m_pHost.get());
    Place(box);
    EXPECT_EQ(box.GapLeft(), 8);
    EXPECT_GT(box.GapRight() - box.GapLeft(), 40);
    EXPECT_EQ(m_image.pixelColor(4, m_nLine), m_crShadow);
    EXPECT_EQ(m_image.pixelColor(box.GapRight() + 4, m_nLine), m_crShadow);
    EXPECT_TRUE(CaptionInked(box));
}

TEST_F(GroupFrame, DisabledBoxShowsTheGapButNoCaption)
{
    CSxGroupBox box(1303, "Crossover", m_pHost.get());
    box.setEnabled(false);
    Place(box);
    EXPECT_FALSE(CaptionInked(box));
    for (int x = box.GapLeft() + 1; x < box.GapRight(); ++x)
        ASSERT_EQ(m_image.pixelColor(x, m_nLine), kDialogColor) << "x " << x;
}

// The form is disabled during every transfer: its boxes keep their titles.
TEST_F(GroupFrame, BoxInADisabledWindowKeepsItsCaption)
{
    CSxGroupBox box(1305, "Crossover", m_pHost.get());
    m_pHost->setEnabled(false);
    Place(box);
    EXPECT_TRUE(CaptionInked(box));
}

TEST_F(SxGroupBoxTest, ControlsInsideAndOverTheFrameKeepTheirClicks)
{
    QPushButton sibling("Sibling", m_pHost.get());
    sibling.setGeometry(40, 60, 80, 24);
    CSxGroupBox box(1305, "Group", m_pHost.get());
    box.setGeometry(20, 20, 300, 150);
    QPushButton inside("Inside", &box);
    inside.setGeometry(150, 60, 80, 24);
    ShowHost();
    QSignalSpy siblingClicks(&sibling, &QPushButton::clicked);
    QSignalSpy insideClicks(&inside, &QPushButton::clicked);
    // Through the window, so the click lands on whatever is on top there.
    QWindow* pWindow = m_pHost->windowHandle();
    QTest::mouseClick(pWindow, Qt::LeftButton, {}, QPoint(80, 72));
    QTest::mouseClick(pWindow, Qt::LeftButton, {}, QPoint(20 + 190, 20 + 72));
    EXPECT_EQ(siblingClicks.count(), 1);
    EXPECT_EQ(insideClicks.count(), 1);
}

TEST_F(EnTabCtrlTest, OwnerDrawnBorderIsWhiteAndDarkShade)
{
    CEnTabCtrl frame(1368, m_pHost.get());
    frame.setGeometry(10, 10, 300, 200);
    frame.SetBkgndColor(kDialogColor);
    frame.SetDrawStyle(CEnTabCtrl::kDrawAll);
    const QRect rcPage = frame.PageRect();
    QWidget page(&frame);
    page.setGeometry(rcPage);
    page.setAutoFillBackground(true);
    QPalette pal = page.palette();
    pal.setColor(QPalette::Window, Qt::yellow);
    page.setPalette(pal);
    ShowHost();

    EXPECT_EQ(rcPage, QRect(1, 1, 298, 198));
    const QImage image = Grab(frame);
    const QColor crWhite(255, 255, 255);
    const QColor crShade(170, 171, 178);
    EXPECT_EQ(image.pixelColor(0, 0), crWhite);
    EXPECT_EQ(image.pixelColor(150, 0), crWhite);
    EXPECT_EQ(image.pixelColor(0, 100), crWhite);
    EXPECT_EQ(image.pixelColor(299, 100), crShade);
    EXPECT_EQ(image.pixelColor(150, 199), crShade);
    EXPECT_EQ(image.pixelColor(299, 0), crShade);
    EXPECT_EQ(image.pixelColor(0, 199), crShade);
    EXPECT_EQ(image.pixelColor(150, 100), QColor(Qt::yellow));
}

} // namespace
