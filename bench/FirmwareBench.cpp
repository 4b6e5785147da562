// A full firmware update (DSP image and MCU image) on the virtual processor
// in this process: once with the loader's real pauses, once without them,
// so the difference shows how much of the update is fixed waiting.
#include <benchmark/benchmark.h>

#include <memory>

#include "FirmwareFile.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "NotifyQueue.h"
#include "VirtualProcessor.h"
#include "VirtualTransport.h"

namespace {

std::vector<uint8_t> FullFirmwareFile()
{
    std::vector<uint8_t> file = {'W', 'D', 'S', 'P'};
    for (int i = 0; i < 0x40000; ++i)
        file.push_back(static_cast<uint8_t>(i * 13 + 1));
    const char mcuTag[] = {'W', 'M', 'C', 'U'};
    file.insert(file.end(), mcuTag, mcuTag + 4);
    for (int i = 0; i < 4 + 48 * 1000; ++i)
        file.push_back(static_cast<uint8_t>(i * 5));
    return file;
}

void RunUpdate(benchmark::State& state, bool bRealPauses)
{
    CNotifyQueue queue;
    const std::vector<uint8_t> file = FullFirmwareFile();
    auto pDevice = std::make_shared<CVirtualProcessor>();
    CKTV_Data data;
    data.State().m_pNotifySink = &queue;
    CLinkSession session(data);
    if (!bRealPauses) {
        // The virtual processor restarts in 1 ms; wait just past that.
        session.m_firmwareTiming = {0, 0, 5, 1000};
        VirtualFaults faults;
        faults.nRestartMs = 1;
        pDevice->SetFaults(faults);
    }
    for (auto _ : state) {
        FirmwareFileResult result = ParseFirmwareFile(file.data(), file.size());
        session.StartFirmwareUpdate(std::move(*result.update), [pDevice](std::string*) {
            return pDevice->IsVanished() ? nullptr : std::make_unique<CVirtualTransport>(pDevice);
        });
        PumpUntil(queue, session, [&session] { return !session.IsFirmwareMode(); }, 600000);
        if (!pDevice->Loader().UpdateFinished())
            state.SkipWithError("the update did not finish");
    }
}

void BM_FirmwareUpdateFull(benchmark::State& state)
{
    RunUpdate(state, true);
}
BENCHMARK(BM_FirmwareUpdateFull)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_FirmwareUpdateWithoutPauses(benchmark::State& state)
{
    RunUpdate(state, false);
}
BENCHMARK(BM_FirmwareUpdateWithoutPauses)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
