// Response graph repaint: what a page edit (Redraw) and a drag step cost on
// the user-interface thread, with all six output curves shown. Sizes: the
// main form's graph, a wide window and the maximised main window's graph;
// pixel ratios 1 and 2 (HiDPI screens).
#include <QApplication>
#include <cmath>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

#include "CFStatic.h"
#include "Filter.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "RoomCurve.h"
#include "RunBenchmarks.h"

namespace {

constexpr int kShownBand = 17;  // 1 kHz: its area and description are drawn too

// Six different curves, so that no two polylines coincide.
std::unique_ptr<CKTV_Data> MakeModel()
{
    auto pData = std::make_unique<CKTV_Data>();
    pData->State().m_nDeviceType = 1;
    for (int i = 0; i < kOutputs; ++i) {
        CKTV_OutData& out = pData->Output(i);
        out.SetEqMode(0);
        for (int b = i % 3; b < kGraphicBands; b += 3)
            out.EQ()[b].SetGainCode(kGainCodeZero + ((b * 37 + i * 11) % 200) - 100);
        out.EQ().HighPass().SetFrequency(40 + 20 * i, false);
        out.EQ().LowPass().SetFrequency(8000 + 2000 * i, false);
        out.SetCurveVisible(1);
    }
    return pData;
}

// The offscreen platform's screens: an ordinary one and a HiDPI one.
constexpr char kScreens[] = R"({"screens": [
    {"name": "ratio1", "x": 0, "y": 0, "width": 1920, "height": 1080, "dpr": 1},
    {"name": "ratio2", "x": 1920, "y": 0, "width": 1920, "height": 1080, "dpr": 2}]})";

QScreen* ScreenOfRatio(int nRatio)
{
    for (QScreen* pScreen : QGuiApplication::screens())
        if (pScreen->devicePixelRatio() == nRatio)
            return pScreen;
    return nullptr;
}

// A room measured every 1/48 octave from 10 Hz: a mode at 63 Hz, a dip at
// 160 Hz and some ripple, so that the curves wander over the plot.
CRoomCurve MakeMeasurement()
{
    std::vector<MeasurementPoint> points;
    for (double f = 10.0; f < 24000.0; f *= std::pow(2.0, 1.0 / 48)) {
        const double dOct = std::log2(f);
        points.push_back({f, 75.0 + 9.0 * std::exp(-std::pow((dOct - std::log2(63.0)) / 0.15, 2)) -
                                 6.0 * std::exp(-std::pow((dOct - std::log2(160.0)) / 0.2, 2)) + 1.5 * std::sin(dOct * 7)});
    }
    CRoomCurve curve;
    std::string strError;
    curve.Assign(points, &strError);
    return curve;
}

struct GraphRig {
    std::unique_ptr<CKTV_Data> pData = MakeModel();
    CFStatic graph{1000, nullptr};

    // Arguments: width, height, pixel ratio; bRoom: a room measurement and
    // its predicted response on output 1. A graph that is never shown draws
    // at the pixel ratio of its screen.
    // bEvidence: argument 3 is the view (1 phase, 2 group delay), with the
    // sum of outputs 1 and 2 shown.
    explicit GraphRig(benchmark::State& state, bool bRoom = false, bool bEvidence = false)
    {
        if (bRoom)
            graph.SetMeasurement(0, MakeMeasurement());
        if (bEvidence) {
            graph.SetView(static_cast<ResponseView>(state.range(3)));
            graph.SetSumMember(0, true);
            graph.SetSumMember(1, true);
            graph.ShowSum(true);
        }
        const int nRatio = static_cast<int>(state.range(2));
        if (QScreen* pScreen = ScreenOfRatio(nRatio))
            graph.setScreen(pScreen);
        if (graph.devicePixelRatioF() != nRatio)
            state.SkipWithError("no screen of that pixel ratio (offscreen platform needed)");
        graph.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        graph.AttachModel(pData.get());
        graph.SelectOutputChannel(0);
        graph.SetMode(CFStatic::kModeOutput);
    }
};

void Redraws(benchmark::State& state, bool bRoom)
{
    GraphRig rig(state, bRoom);
    for (auto _ : state) {
        rig.graph.Redraw(kShownBand);
        benchmark::DoNotOptimize(rig.graph.Offscreen().constBits());
    }
}
void BM_GraphRedraw(benchmark::State& state)
{
    Redraws(state, false);
}
BENCHMARK(BM_GraphRedraw)
    ->Args({850, 290, 1})
    ->Args({1240, 300, 1})
    ->Args({850, 290, 2})
    ->Args({1240, 300, 2})
    ->Unit(benchmark::kMicrosecond);

// The usual picture: only the selected output's curve (the curve buttons of
// the other outputs off).
void BM_GraphRedrawOneCurve(benchmark::State& state)
{
    GraphRig rig(state);
    for (int i = 0; i < kOutputs; ++i)
        rig.pData->Output(i).SetCurveVisible(0);
    for (auto _ : state) {
        rig.graph.Redraw(kShownBand);
        benchmark::DoNotOptimize(rig.graph.Offscreen().constBits());
    }
}
BENCHMARK(BM_GraphRedrawOneCurve)->Args({850, 290, 1})->Unit(benchmark::kMicrosecond);

// Redraw and the copy to the screen (grab paints the widget as the screen
// would get it).
void BM_GraphRedrawAndGrab(benchmark::State& state)
{
    GraphRig rig(state);
    for (auto _ : state) {
        rig.graph.Redraw(kShownBand);
        QPixmap shot = rig.graph.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
    }
}
BENCHMARK(BM_GraphRedrawAndGrab)->Args({850, 290, 1})->Args({1240, 300, 1})->Unit(benchmark::kMicrosecond);

void SendMouse(QWidget& widget, QEvent::Type type, const QPoint& pt, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pt, widget.mapToGlobal(pt), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// One mouse move of a marker drag: the band's new gain, its recompute and
// the picture the next paint draws.
void DragSteps(benchmark::State& state, bool bRoom, bool bEvidence = false)
{
    GraphRig rig(state, bRoom, bEvidence);
    const BandRect& rc = rig.pData->Output(0).EQ()[kShownBand].MarkerRect();
    const QPoint grab(rc.CenterX(), rc.CenterY());
    SendMouse(rig.graph, QEvent::MouseMove, grab, Qt::NoButton);
    SendMouse(rig.graph, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    int nStep = 0;
    for (auto _ : state) {
        const QPoint pt = grab + QPoint(0, (nStep++ % 2) ? 20 : -20);
        SendMouse(rig.graph, QEvent::MouseMove, pt, Qt::LeftButton);
        benchmark::DoNotOptimize(rig.graph.Offscreen().constBits());
    }
    SendMouse(rig.graph, QEvent::MouseButtonRelease, grab, Qt::NoButton);
}
void BM_GraphDragStep(benchmark::State& state)
{
    DragSteps(state, false);
}
// 1510 × 581: the graph of the main window maximised on a 1920 × 1080
// monitor (1920 × 1048 without the desktop's panel); within 2 × 1.5 ms.
BENCHMARK(BM_GraphDragStep)
    ->Args({850, 290, 1})
    ->Args({1240, 300, 1})
    ->Args({850, 290, 2})
    ->Args({1510, 581, 1})
    ->Args({1510, 581, 2})
    ->Unit(benchmark::kMicrosecond);

// With a room measurement and the predicted response: the same targets as
// without them (6 curves at ratio 2 within 4 ms a picture, 1.5 ms a drag step).
void BM_GraphRedrawWithMeasurement(benchmark::State& state)
{
    Redraws(state, true);
}
BENCHMARK(BM_GraphRedrawWithMeasurement)->Args({850, 290, 2})->Args({1240, 300, 2})->Unit(benchmark::kMicrosecond);

void BM_GraphDragStepWithMeasurement(benchmark::State& state)
{
    DragSteps(state, true);
}
BENCHMARK(BM_GraphDragStepWithMeasurement)->Args({850, 290, 1})->Args({850, 290, 2})->Unit(benchmark::kMicrosecond);

// The phase or group delay of the six outputs, each from its whole chain,
// and the sum of two: within the same 1.5 ms a drag step.
void BM_GraphDragStepPhaseAndSum(benchmark::State& state)
{
    DragSteps(state, false, true);
}
BENCHMARK(BM_GraphDragStepPhaseAndSum)->Args({850, 290, 1, 1})->Args({850, 290, 1, 2})->Unit(benchmark::kMicrosecond);

// Gives the offscreen platform (the default: it needs no display) a HiDPI
// screen beside the ordinary one; dir keeps the screens' file.
void UseOffscreenScreens(const QTemporaryDir& dir)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen")
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QFile config(dir.filePath(QStringLiteral("screens.json")));
    if (dir.isValid() && config.open(QIODevice::WriteOnly) && config.write(kScreens) > 0)
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
}

}  // namespace

int main(int argc, char** argv)
{
    const QTemporaryDir dir;
    UseOffscreenScreens(dir);
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
