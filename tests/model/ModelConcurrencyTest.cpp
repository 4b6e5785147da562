#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "DataDefine.h"
#include "ModelFixture.h"

class ModelConcurrencyTest : public ModelTest {};

// The user-interface thread edits while the link thread scans; under
// ThreadSanitizer this proves the shared fields are guarded. Afterwards the
// scanner must have delivered the final state of every edited group.
TEST_F(ModelConcurrencyTest, EditingWhileScanningDeliversFinalValues)
{
    State().m_bOnline = 1;
    State().m_nLinkGroup[1] = 0;
    Data().SetPlotRect(900, 300);
    std::atomic<bool> bDone{false};
    std::atomic<int> nFrames{0};

    std::thread scanner([&] {
        while (!bDone) {
            Data().NextChange();
            ++nFrames;
        }
    });
    for (int i = 0; i < 400; ++i) {
        CKTV_OutData& out = Data().Output(i % 3);
        out.EQ()[i % 31].SetGainCode(i % 401);
        out.EQ()[(i + 5) % 31].SetFrequency(20 + (i * 97) % 19980, true);
        out.EQ()[i % 31].SetBandwidthCode(i % 296);
        out.SetLevel(i % 71);
        out.EQ().HighPass().SetFrequency(20 + i, true);
        Data().Music().SetNoiseGate(i % 100);
        out.RecomputeCurve();
        State().m_bDelayPresetChanged = 1;
    }
    Data().Output(0).EQ()[3].SetGainCode(321);
    Data().Output(2).SetLevel(12);
    // Let the scanner drain every mark, then stop it. On a busy machine its
    // thread may not have run yet: wait for it, so it scanned concurrently.
    while (nFrames.load() == 0) {
        std::this_thread::yield();
    }
    for (int n = 0; n < 2000; ++n) {
        std::this_thread::yield();
    }
    bDone = true;
    scanner.join();
    while (Data().NextChange()) {
    }

    // The live image now holds what the model holds.
    const uint8_t* pOut0 = State().m_LiveImage + kOffOutput;
    EXPECT_EQ(GetWord(pOut0 + 3 * 8 + 2), 321 + 400);
    EXPECT_EQ(GetWord(State().m_LiveImage + kOffOutput + 2 * kOutBlockSize + 250), 12);
    for (int b = 0; b < 31; ++b) {
        EXPECT_EQ(Data().Output(0).EQ()[b].GetChangeMark(), 0);
        EXPECT_EQ(Data().Output(0).EQ()[b].GetSentFrequency(), Data().Output(0).EQ()[b].GetFrequency());
    }
}
