// What the response graph shows, checked on its painted pixels.
#include <algorithm>

#include "GraphFixture.h"

namespace {

const QColor kBorder(0, 180, 0);
const QColor kArea(68, 86, 98);
const QColor kFrame(100, 100, 100);
const QColor kGrid(21, 100, 21);

int CountPixels(const QImage& image, const QRect& rc, const QColor& cr)
{
    int n = 0;
    for (int y = rc.top(); y <= rc.bottom(); ++y)
        for (int x = rc.left(); x <= rc.right(); ++x)
            n += image.pixelColor(x, y) == cr ? 1 : 0;
    return n;
}

// Text is anti-aliased white: count its bright pixels.
int CountBright(const QImage& image, const QRect& rc)
{
    int n = 0;
    for (int y = rc.top(); y <= rc.bottom(); ++y)
        for (int x = rc.left(); x <= rc.right(); ++x) {
            const QColor cr = image.pixelColor(x, y);
            n += std::min({cr.red(), cr.green(), cr.blue()}) >= 180 ? 1 : 0;
        }
    return n;
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* pWidget, int& nCount) : m_nCount(nCount) { pWidget->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        m_nCount += pEvent->type() == QEvent::Paint ? 1 : 0;
        return false;
    }

private:
    int& m_nCount;
};

QRect ToQRect(const BandRect& rc)
{
    return QRect(QPoint(rc.left, rc.top), QPoint(rc.right - 1, rc.bottom - 1));
}

}  // namespace

class GraphPaint : public GraphTest {
protected:
    QImage Shot() { return m_pGraph->grab().toImage(); }

    // A spot of empty plot: between the 30 and 40 Hz grid lines, half a grid
    // row below the top.
    QPoint EmptySpot() const { return {XOf(35), kPlotOffsetY + H / 16}; }

    // Columns between the markers of the 160 Hz and 200 Hz bands, around the
    // zero line, where only curves are drawn.
    QRect CurveWindow()
    {
        const int nLeft = Band(10).MarkerRect().right;
        const int nRight = Band(11).MarkerRect().left - 1;
        return QRect(QPoint(nLeft, YOf(0) - 2), QPoint(nRight, YOf(0) + 2));
    }

    QColor ChannelColour(int n) { return QColor::fromRgb(Out(n).CurveColour()); }
};

TEST_F(GraphPaint, PlotIsBlackInItsBorderWithTheCurrentChannelOnTop)
{
    QImage image = Shot();
    EXPECT_EQ(image.pixelColor(EmptySpot()), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(kPlotOffsetX, EmptySpot().y()), kBorder);
    EXPECT_EQ(image.pixelColor(EmptySpot().x(), kPlotOffsetY), kBorder);
    EXPECT_EQ(image.pixelColor(XOf(40), EmptySpot().y()), kGrid);
    EXPECT_EQ(image.pixelColor(0, kGraphH / 2), kFrame);
    EXPECT_GT(CountPixels(image, CurveWindow(), ChannelColour(0)), 0);
    EXPECT_EQ(CountPixels(image, CurveWindow(), ChannelColour(4)), 0);

    m_pGraph->SelectOutputChannel(4);
    image = Shot();
    EXPECT_GT(CountPixels(image, CurveWindow(), ChannelColour(4)), 0);
    EXPECT_EQ(CountPixels(image, CurveWindow(), ChannelColour(0)), 0);
}

TEST_F(GraphPaint, HiddenChannelsLeaveOnlyTheCurrentCurve)
{
    CFilter& lift = Band(8, 3);  // a broad lift of the fourth output
    lift.SetBandwidthCode(100);
    lift.SetGainCode(kGainCodeZero + 150);
    const QPoint peak(XOf(lift.GetFrequency()), YOf(15));
    const QRect rcLifted(peak - QPoint(3, 3), peak + QPoint(3, 3));
    EXPECT_GT(CountPixels(Shot(), rcLifted, ChannelColour(3)), 0);

    Out(3).SetCurveVisible(0);
    m_pGraph->Redraw(-1);
    EXPECT_EQ(CountPixels(Shot(), rcLifted, ChannelColour(3)), 0);
}

TEST_F(GraphPaint, NoChannelModeShowsGridAndCurvesInAWhiteFrame)
{
    const QRect rcLabel = ToQRect(Band(17).MarkerRect());
    EXPECT_GT(CountBright(Shot(), rcLabel), 0);

    m_pGraph->SetMode(CFStatic::kModeNone);
    const QImage image = Shot();
    EXPECT_EQ(image.pixelColor(kPlotOffsetX, EmptySpot().y()), QColor(Qt::white));
    EXPECT_EQ(CountBright(image, rcLabel), 0);
    EXPECT_GT(CountPixels(image, CurveWindow(), ChannelColour(5)), 0);  // the last shown output
}

TEST_F(GraphPaint, UnknownDeviceShowsOnlyTheFrame)
{
    State().m_nDeviceType = 3;
    m_pGraph->Redraw(-1);
    const QImage image = Shot();
    EXPECT_EQ(image.pixelColor(kPlotOffsetX, EmptySpot().y()), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(0, kGraphH / 2), kFrame);
}

TEST_F(GraphPaint, AreaAndDescriptionFollowTheEngagedOrShownBand)
{
    MakeParametric();
    Band(17).SetGainCode(kGainCodeZero + 120);
    const QPoint inArea(XOf(1000) + 3, YOf(3));
    const QRect rcText = ToQRect(Band(17).TextRect());
    m_pGraph->Redraw(-1);
    QImage image = Shot();
    EXPECT_EQ(image.pixelColor(inArea), QColor(Qt::black));
    EXPECT_EQ(CountBright(image, rcText), 0);

    Hover(MarkerOf(17));
    image = Shot();
    EXPECT_EQ(image.pixelColor(inArea), kArea);
    EXPECT_GT(CountBright(image, rcText), 0);

    Hover({XOf(35), YOf(15)});  // away from every marker: the band stays engaged
    m_pGraph->SelectOutputChannel(0);  // lets it go
    EXPECT_EQ(Shot().pixelColor(inArea), QColor(Qt::black));
    m_pGraph->Redraw(17);
    EXPECT_EQ(Shot().pixelColor(inArea), kArea);
}

TEST_F(GraphPaint, HandlesOnlyOnPeakingBandsWithAFreeFrequency)
{
    Hover(MarkerOf(17));
    ASSERT_EQ(m_pGraph->EngagedBand(), 17);
    const BandRect& rcRight = Band(17).RightHandleRect();
    QImage image = Shot();
    EXPECT_NE(image.pixelColor(rcRight.left, rcRight.top), ChannelColour(0));
    EXPECT_NE(image.pixelColor(rcRight.right - 1, rcRight.bottom - 1), ChannelColour(0));

    MakeParametric();
    image = Shot();
    EXPECT_EQ(image.pixelColor(rcRight.left, rcRight.top), ChannelColour(0));
    EXPECT_EQ(image.pixelColor(rcRight.right - 1, rcRight.bottom - 1), ChannelColour(0));
    const BandRect& rcLeft = Band(17).LeftHandleRect();
    EXPECT_EQ(image.pixelColor(rcLeft.left, rcLeft.bottom - 1), ChannelColour(0));

    Band(17).SetShelfMode(1);
    m_pGraph->Redraw(-1);
    EXPECT_NE(Shot().pixelColor(rcRight.left, rcRight.top), ChannelColour(0));
}

TEST_F(GraphPaint, LabelsAtThePlotEndsArePushedInwards)
{
    const QRect rcPlot = m_pGraph->PlotRect();
    EXPECT_EQ(CFStatic::LabelAlignment(Band(0), rcPlot), Qt::AlignRight);    // 20 Hz
    EXPECT_EQ(CFStatic::LabelAlignment(Band(30), rcPlot), Qt::AlignLeft);    // 20 kHz
    EXPECT_EQ(CFStatic::LabelAlignment(Band(17), rcPlot), Qt::AlignHCenter);
    EXPECT_EQ(CFStatic::LabelAlignment(Band(kHighPassIndex), rcPlot), Qt::AlignRight);
    // The low-pass marker reaches past the plot; its frequency decides.
    ASSERT_NE(Band(kLowPassIndex).MarkerRect().right, rcPlot.left() + rcPlot.width());
    EXPECT_EQ(CFStatic::LabelAlignment(Band(kLowPassIndex), rcPlot), Qt::AlignLeft);

    // A band whose marker is held at the right edge below 20 kHz.
    MakeParametric();
    Band(17).SetFrequency(19000, false);
    ASSERT_EQ(Band(17).MarkerRect().right, rcPlot.left() + rcPlot.width());
    EXPECT_EQ(CFStatic::LabelAlignment(Band(17), rcPlot), Qt::AlignLeft);
}

// Where a label would run over the plot's border it is moved in, whole: no
// white on the border, white just inside it.
TEST_F(GraphPaint, LabelsStayWholeInsideThePlotAtItsEdges)
{
    MakeParametric();
    Band(0).SetShelfMode(1);  // the long low-shelf description at 20 Hz
    Band(kHighPassIndex).SetFrequency(189, false);
    Band(kLowPassIndex).SetFrequency(19900, false);
    const QRect rcPlot = m_pGraph->PlotRect();
    const QRect rcInside = rcPlot.adjusted(1, 1, -1, -1);
    const struct {
        int nBand;
        QRect rcBorder;  // the side of the border the label reaches
    } kCases[] = {
        {kHighPassIndex, QRect(rcPlot.left(), rcPlot.bottom(), rcPlot.width(), 1)},
        {kLowPassIndex, QRect(rcPlot.right(), rcPlot.top(), 1, rcPlot.height())},
        {0, QRect(rcPlot.left(), rcPlot.top(), 1, rcPlot.height())},
    };
    m_pGraph->Redraw(-1);
    const int nWithoutDescription = CountBright(Shot(), rcInside);
    for (const auto& c : kCases) {
        m_pGraph->Redraw(c.nBand);
        const QImage image = Shot();
        EXPECT_EQ(CountBright(image, c.rcBorder), 0) << "band " << c.nBand;
        EXPECT_GT(CountBright(image, rcInside), nWithoutDescription) << "band " << c.nBand;
    }
}

// Edits and selections between two frames cost one drawing, in the paint.
TEST_F(GraphPaint, ARedrawStormRendersOncePerPaint)
{
    QTest::qWait(20);  // paints still due from the set-up
    int nPaints = 0;
    PaintCounter counter(m_pGraph, nPaints);
    const int nBefore = m_pGraph->RenderCount();

    m_pGraph->SelectOutputChannel(3);
    m_pGraph->SetMode(CFStatic::kModeOutput);
    for (int i = 0; i < 10; ++i)
        m_pGraph->Redraw(i % 2 ? -1 : 17);
    EXPECT_EQ(m_pGraph->RenderCount(), nBefore);

    ASSERT_TRUE(QTest::qWaitFor([&] { return nPaints > 0; }, 1000));
    QTest::qWait(20);
    EXPECT_EQ(nPaints, 1);
    EXPECT_EQ(m_pGraph->RenderCount(), nBefore + 1);
}

TEST_F(GraphPaint, AttachingLaysThePlotOutOnTheControl)
{
    const QRect rcPlot = m_pGraph->PlotRect();
    EXPECT_EQ(rcPlot, QRect(35, 10, kGraphW - 45, kGraphH - 30));
    EXPECT_EQ(Out(5).PlotWidth(), rcPlot.width());
    EXPECT_EQ(Data().Effect().PlotHeight(), rcPlot.height());
    EXPECT_EQ(m_pGraph->objectName(), QStringLiteral("ctl1000"));
    EXPECT_EQ(m_pGraph->SourceCode(), CFStatic::kSourceOutput);
}
