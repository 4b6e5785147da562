// Editing bands on the response graph with the mouse, as a user drags them.
#include <algorithm>

#include "BandDrag.h"
#include "GraphFixture.h"

namespace {

bool IsFlat(const CFilter& f)
{
    return std::all_of(f.Response().begin(), f.Response().end(), [](double d) { return d == 0.0; });
}

}  // namespace

TEST_F(GraphTest, PeakingMarkerDraggedPastThePlotStopsAtItsEdges)
{
    MakeParametric();
    State().m_bOnline = 1;
    Band(17).SetChangeMark(0);

    Drag(MarkerOf(17), {MarkerOf(17).x(), -40});
    EXPECT_DOUBLE_EQ(Band(17).GetGain(), 20.0);
    EXPECT_EQ(Band(17).GetChangeMark(), 1);  // the edit goes the way of every user edit

    Drag(MarkerOf(17), {MarkerOf(17).x(), kGraphH + 60});
    EXPECT_DOUBLE_EQ(Band(17).GetGain(), -20.0);

    Drag(MarkerOf(17), {kGraphW + 100, kGraphH + 60});
    EXPECT_EQ(Band(17).GetFrequency(), kMaxFreq);
    EXPECT_DOUBLE_EQ(Band(17).GetGain(), -20.0);
}

TEST_F(GraphTest, ShelvesStayOnTheirSideOfTwoKilohertz)
{
    MakeParametric();
    Band(5).SetShelfMode(1);   // low shelf at 63 Hz
    Band(27).SetShelfMode(3);  // high shelf at 10 kHz
    m_pGraph->Redraw(-1);

    Drag(MarkerOf(5), {XOf(5000), MarkerOf(5).y()});
    EXPECT_EQ(Band(5).GetFrequency(), 2000);

    Drag(MarkerOf(27), {XOf(100), MarkerOf(27).y()});
    EXPECT_EQ(Band(27).GetFrequency(), 2000);
}

TEST_F(GraphTest, RightHandleSetsBandwidthBetweenNarrowestAndWidest)
{
    MakeParametric();
    Hover(MarkerOf(17));
    ASSERT_EQ(m_pGraph->EngagedBand(), 17);

    Drag(Centre(Band(17).RightHandleRect()), MarkerOf(17));
    EXPECT_EQ(Band(17).GetBandwidthCode(), 0);  // 0.05 octaves
    EXPECT_EQ(Band(17).GetFrequency(), 1000);

    Drag(Centre(Band(17).RightHandleRect()), {XOf(16000), MarkerOf(17).y()});
    EXPECT_DOUBLE_EQ(Band(17).GetBandwidth(), 3.0);
}

TEST_F(GraphTest, LeftHandleFollowsTheCursorWithoutJumping)
{
    MakeParametric();
    Hover(MarkerOf(17));
    const double dBefore = Band(17).GetBandwidth();
    const QPoint handle = Centre(Band(17).LeftHandleRect());

    Press(handle);
    QTest::mouseMove(m_pGraph, handle + QPoint(0, 3));  // no horizontal movement
    EXPECT_NEAR(Band(17).GetBandwidth(), dBefore, 0.015);
    QTest::mouseMove(m_pGraph, handle - QPoint(XOf(1000) - XOf(500), 0));  // one octave further out
    QTest::mouseRelease(m_pGraph, Qt::LeftButton, {}, handle);
    EXPECT_NEAR(Band(17).GetBandwidth(), dBefore + 1.0, 0.03);
}

TEST_F(GraphTest, CrossoverCutoffsNeverCross)
{
    Band(kLowPassIndex).SetFrequency(1000, false);
    Band(kHighPassIndex).SetFrequency(100, false);
    m_pGraph->Redraw(-1);

    Drag(MarkerOf(kHighPassIndex), {XOf(5000), MarkerOf(kHighPassIndex).y()});
    EXPECT_EQ(Band(kHighPassIndex).GetFrequency(), 1000);

    Band(kHighPassIndex).SetFrequency(300, false);
    m_pGraph->Redraw(-1);
    Drag(MarkerOf(kLowPassIndex), {XOf(100), MarkerOf(kLowPassIndex).y()});
    EXPECT_EQ(Band(kLowPassIndex).GetFrequency(), 300);
}

TEST_F(GraphTest, LowPassDraggedToTheRightEdgeGoesFlat)
{
    Band(kLowPassIndex).SetFrequency(1000, false);
    m_pGraph->Redraw(-1);
    ASSERT_FALSE(IsFlat(Band(kLowPassIndex)));

    Drag(MarkerOf(kLowPassIndex), {kGraphW + 40, MarkerOf(kLowPassIndex).y() - 30});
    EXPECT_EQ(Band(kLowPassIndex).GetFrequency(), kMaxFreq);
    EXPECT_TRUE(IsFlat(Band(kLowPassIndex)));
}

TEST_F(GraphTest, FixedFrequencyBandMovesOnlyUpAndDown)
{
    ASSERT_TRUE(Band(17).IsGraphic());
    Drag(MarkerOf(17), {MarkerOf(17).x() + 120, YOf(9.2)});
    EXPECT_EQ(Band(17).GetFrequency(), 1000);
    EXPECT_NEAR(Band(17).GetGain(), 9.2, 0.05);

    // Where a handle would be nothing can be grabbed.
    const int nWidth = Band(17).GetBandwidthCode();
    const QPoint handle = Centre(Band(17).RightHandleRect());
    Hover(handle);
    EXPECT_EQ(m_pGraph->cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(m_pGraph, Qt::LeftButton, {}, handle);
    QTest::mouseMove(m_pGraph, handle + QPoint(80, 0));
    QTest::mouseRelease(m_pGraph, Qt::LeftButton, {}, handle + QPoint(80, 0));
    EXPECT_EQ(Band(17).GetBandwidthCode(), nWidth);
    EXPECT_EQ(Band(17).GetFrequency(), 1000);
}

TEST_F(GraphTest, CursorShowsWhatCanBeGrabbed)
{
    Hover(MarkerOf(17));
    EXPECT_EQ(m_pGraph->EngagedBand(), 17);
    EXPECT_EQ(m_pGraph->cursor().shape(), Qt::SizeAllCursor);

    // Off the marker an equalizer band stays engaged (its description stays).
    Hover({MarkerOf(17).x(), YOf(15)});
    EXPECT_EQ(m_pGraph->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(m_pGraph->EngagedBand(), 17);

    // A crossover filter lets go as soon as the cursor leaves it.
    Hover(MarkerOf(kHighPassIndex));
    EXPECT_EQ(m_pGraph->EngagedBand(), kHighPassIndex);
    EXPECT_EQ(m_pGraph->cursor().shape(), Qt::SizeAllCursor);
    Hover({XOf(300), YOf(15)});
    EXPECT_EQ(m_pGraph->EngagedBand(), -1);
    EXPECT_EQ(m_pGraph->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GraphTest, ButtonDownTakesTheFocus)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pHost.get()));
    QWidget other(m_pHost.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    ASSERT_TRUE(other.hasFocus());
    Press({XOf(300), YOf(15)});
    QTest::mouseRelease(m_pGraph, Qt::LeftButton, {}, {XOf(300), YOf(15)});
    EXPECT_TRUE(m_pGraph->hasFocus());
}

TEST_F(GraphTest, NothingIsEditedWithoutAChannelOrOnAnUnknownDevice)
{
    m_pGraph->SetMode(CFStatic::kModeNone);
    Drag(MarkerOf(17), {MarkerOf(17).x(), YOf(10)});
    EXPECT_EQ(m_pGraph->EngagedBand(), -1);
    EXPECT_DOUBLE_EQ(Band(17).GetGain(), 0.0);

    m_pGraph->SetMode(CFStatic::kModeOutput);
    State().m_nDeviceType = 3;
    Drag(MarkerOf(17), {MarkerOf(17).x(), YOf(10)});
    EXPECT_EQ(m_pGraph->EngagedBand(), -1);
    EXPECT_DOUBLE_EQ(Band(17).GetGain(), 0.0);
}

TEST_F(GraphTest, DragStepsWithinOnePeriodGiveOneNotification)
{
    MakeParametric();
    QSignalSpy spy(m_pGraph, &CFStatic::BandChanged);
    const QPoint grab = MarkerOf(10);

    // A first edit, to go on right after the timer has reported it.
    Press(grab);
    QTest::mouseMove(m_pGraph, grab - QPoint(0, 20));
    ASSERT_TRUE(spy.wait(1000));
    spy.clear();

    QTest::mouseMove(m_pGraph, grab - QPoint(0, 30));
    QTest::qWait(10);
    QTest::mouseMove(m_pGraph, grab - QPoint(0, 40));
    ASSERT_TRUE(spy.wait(1000));
    QTest::qWait(3 * CFStatic::kNotifyPeriodMs);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 10);
    EXPECT_EQ(spy.at(0).at(1).toInt(), CFStatic::kSourceOutput);
}

TEST_F(GraphTest, ReleasingADragReportsItBeforeAnotherBandIsHovered)
{
    MakeParametric();
    QSignalSpy spy(m_pGraph, &CFStatic::BandChanged);
    const QPoint grab = MarkerOf(10);
    Press(grab);
    QTest::mouseMove(m_pGraph, grab - QPoint(0, 20));
    ASSERT_TRUE(spy.wait(1000));  // the next period starts now
    spy.clear();

    QTest::mouseMove(m_pGraph, grab - QPoint(0, 30));
    QTest::mouseRelease(m_pGraph, Qt::LeftButton, {}, grab - QPoint(0, 30));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 10);

    Hover(MarkerOf(20));
    ASSERT_EQ(m_pGraph->EngagedBand(), 20);
    QTest::qWait(3 * CFStatic::kNotifyPeriodMs);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(GraphTest, NotificationNamesTheSelectedOutputAndHoverAloneSendsNothing)
{
    QSignalSpy spy(m_pGraph, &CFStatic::BandChanged);
    m_pGraph->SelectOutputChannel(2);
    Hover(MarkerOf(kHighPassIndex));
    Hover(MarkerOf(3));
    QTest::qWait(3 * CFStatic::kNotifyPeriodMs);
    EXPECT_EQ(spy.count(), 0);

    Drag(Centre(Band(3, 2).MarkerRect()), Centre(Band(3, 2).MarkerRect()) - QPoint(0, 30));
    ASSERT_EQ(spy.count(), 1);  // reported when the drag ends
    EXPECT_EQ(spy.at(0).at(0).toInt(), 3);
    EXPECT_EQ(spy.at(0).at(1).toInt(), CFStatic::kSourceOutput + 2);
    EXPECT_GT(Band(3, 2).GetGain(), 0.0);
    EXPECT_DOUBLE_EQ(Band(3, 0).GetGain(), 0.0);
}
