// The edit history: what capturing and applying a live state costs, and a
// graph drag step with the history watching every event (target as without
// it: 1.5 ms a step at 850 × 290), and a whole drag with its step taken.
#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <memory>

#include "CFStatic.h"
#include "EditHistory.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "LiveSnapshot.h"
#include "RunBenchmarks.h"

namespace {

constexpr int kDragBand = 17;

void BM_SnapshotCapture(benchmark::State& state)
{
    CKTV_Data data;
    for (auto _ : state)
        benchmark::DoNotOptimize(CLiveSnapshot::Capture(data).Bytes().data());
}
BENCHMARK(BM_SnapshotCapture)->Unit(benchmark::kMicrosecond);

// An undo and a redo of one band's gain: the states compared whole, one band set.
void BM_SnapshotApplyOneBand(benchmark::State& state)
{
    CKTV_Data data;
    const CLiveSnapshot before = CLiveSnapshot::Capture(data);
    data.Output(2).EQ()[kDragBand].SetGainCode(300);
    const CLiveSnapshot after = CLiveSnapshot::Capture(data);
    for (auto _ : state) {
        before.ApplyTo(data);
        after.ApplyTo(data);
    }
}
BENCHMARK(BM_SnapshotApplyOneBand)->Unit(benchmark::kMicrosecond);

void SendMouse(QWidget& widget, QEvent::Type type, const QPoint& pt, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pt, widget.mapToGlobal(pt), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// The main form's graph (850 × 290) on a model, with the history on.
struct HistoryRig {
    HistoryRig()
    {
        data.State().m_nDeviceType = 1;
        pGraph->resize(850, 290);
        pGraph->AttachModel(&data);
        pGraph->SelectOutputChannel(0);
        pGraph->SetMode(CFStatic::kModeOutput);
    }
    QPoint Grab()
    {
        const BandRect& rc = data.Output(0).EQ()[kDragBand].MarkerRect();
        return {rc.CenterX(), rc.CenterY()};
    }
    CKTV_Data data;
    CLinkSession session{data};
    QWidget form;
    CFStatic* pGraph = new CFStatic(1000, &form);
    CEditHistory history{data, session, &form};
};

void BM_GraphDragStepWithHistory(benchmark::State& state)
{
    HistoryRig rig;
    const QPoint grab = rig.Grab();
    SendMouse(*rig.pGraph, QEvent::MouseMove, grab, Qt::NoButton);
    SendMouse(*rig.pGraph, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    int nStep = 0;
    for (auto _ : state) {
        SendMouse(*rig.pGraph, QEvent::MouseMove, grab + QPoint(0, (nStep++ % 2) ? 20 : -20), Qt::LeftButton);
        benchmark::DoNotOptimize(rig.pGraph->Offscreen().constBits());
    }
    SendMouse(*rig.pGraph, QEvent::MouseButtonRelease, grab, Qt::NoButton);
}
BENCHMARK(BM_GraphDragStepWithHistory)->Unit(benchmark::kMicrosecond);

// Press, one move, release, and the step the history takes of it.
void BM_GraphDragWithItsStep(benchmark::State& state)
{
    HistoryRig rig;
    const QPoint grab = rig.Grab();
    int nStep = 0;
    for (auto _ : state) {
        SendMouse(*rig.pGraph, QEvent::MouseMove, rig.Grab(), Qt::NoButton);
        SendMouse(*rig.pGraph, QEvent::MouseButtonPress, rig.Grab(), Qt::LeftButton);
        const QPoint to = grab + QPoint(0, (nStep++ % 2) ? 20 : -20);
        SendMouse(*rig.pGraph, QEvent::MouseMove, to, Qt::LeftButton);
        SendMouse(*rig.pGraph, QEvent::MouseButtonRelease, to, Qt::NoButton);
        rig.history.Settle();
    }
    state.counters["steps"] = rig.history.Stack().count();
}
BENCHMARK(BM_GraphDragWithItsStep)->Unit(benchmark::kMicrosecond);

}  // namespace

// The widgets need an application, and it must end before the program's
// static objects do: Qt's input devices are torn down with it.
int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
