// What the installer feels on the link, against the virtual processor in
// this process: the time from a model edit to its frame arriving at the
// processor, and the full read after connecting.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "NotifyQueue.h"
#include "VirtualProcessor.h"
#include "VirtualTransport.h"

namespace {

struct Rig {
    Rig()
    {
        pDevice = std::make_shared<CVirtualProcessor>();
        pData = std::make_unique<CKTV_Data>();
        pData->State().m_pNotifySink = &queue;
        pSession = std::make_unique<CLinkSession>(*pData);
    }
    ~Rig()
    {
        pSession.reset();
    }
    bool ConnectOnline()
    {
        pSession->Connect(std::make_unique<CVirtualTransport>(pDevice));
        return PumpUntil(queue, *pSession, [this] { return pData->State().m_bOnline.load() != 0; }, 10000);
    }

    CNotifyQueue queue;
    std::shared_ptr<CVirtualProcessor> pDevice;
    std::unique_ptr<CKTV_Data> pData;
    std::unique_ptr<CLinkSession> pSession;
};

void BM_EditToWire(benchmark::State& state)
{
    Rig rig;
    if (!rig.ConnectOnline()) {
        state.SkipWithError("no connection");
        return;
    }
    PumpUntil(rig.queue, *rig.pSession, [&] { return !rig.pSession->HasPendingWork(); }, 5000);
    int nCode = 0;
    for (auto _ : state) {
        nCode = (nCode + 37) % 401;
        const int nBefore = rig.pDevice->FramesReceived();
        const auto start = std::chrono::steady_clock::now();
        rig.pData->Output(2).EQ()[12].SetGainCode(nCode);
        // The edit is on the wire when the processor has received a frame
        // carrying it (the poll in flight may come first).
        while (rig.pSession->HasPendingWork() || rig.pDevice->FramesReceived() <= nBefore)
            PumpUntil(rig.queue, *rig.pSession, [] { return true; }, 0);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    rig.pSession->Disconnect(0);
}
BENCHMARK(BM_EditToWire)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_FullReadAfterConnect(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state) {
        if (!rig.ConnectOnline()) {
            state.SkipWithError("no connection");
            return;
        }
        state.PauseTiming();
        rig.pSession->Disconnect(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FullReadAfterConnect)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
