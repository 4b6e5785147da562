// Start-up of the editor to its first shown window: global data, skins,
// the form with every control, the communication thread.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "MainFrm.h"
#include "QM7100.h"

static void BM_StartupToFirstShownWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
    CAppOptions options;
    options.strDevice = "virtual";
    options.bSplash = false;
    for (auto _ : state) {
        auto pApp = std::make_unique<CQM7100App>();
        pApp->InitInstance(options);
        const bool bShown = QTest::qWaitForWindowExposed(pApp->MainFrame());
        benchmark::DoNotOptimize(bShown);
        state.PauseTiming();
        pApp.reset();
        state.ResumeTiming();
    }
}
// The first run paints the skin images; later starts in the same process
// find them cached, as a second window would.
BENCHMARK(BM_StartupToFirstShownWindow)->Name("StartupCold")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupToFirstShownWindow)->Name("StartupWarm")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
