// Several processors in one program: each has its own model, locks, queue
// and link thread, so that work on one never reaches another.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "NotifyQueue.h"
#include "Processor.h"
#include "SessionFixture.h"

namespace {

// One processor on its own virtual device, driven by the thread that runs
// Script: that thread plays its user-interface thread.
struct Room {
    explicit Room(int nValue) : nValue(nValue) { processor.State().m_pNotifySink = &queue; }

    bool Pump(const std::function<bool()>& bDone)
    {
        return PumpUntil(queue, processor.Session(), bDone, 10000);
    }
    bool Drain()
    {
        return Pump([this] { return !processor.Session().HasPendingWork(); });
    }
    bool Online()
    {
        return Pump([this] { return processor.State().m_bOnline.load() != 0; }) && Drain();
    }
    // Connect, edit, store, recall: each room with its own values. The edits
    // are made while the link waits, so the scanner finds them all at once
    // and the frames do not depend on the moment it looks.
    void Script()
    {
        bOk = processor.Session().Connect(std::make_unique<CVirtualTransport>(pDevice)) && Online();
        {
            CommLock lock(processor.State().m_csComm);
            CKTV_Data& data = processor.Data();
            data.Output(0).SetLevel(nValue);
            data.Output(1).EQ()[5].SetGainCode(200 + nValue);
            data.Music().SetNoiseGate(nValue);
        }
        bOk = bOk && Drain();
        bool bQueued = false;
        const std::string strName = "Room " + std::to_string(nValue);
        bOk = bOk && processor.StoreProgram(3, strName, &bQueued) == ProgramNameCheck::kOk && bQueued && Drain();
        bOk = bOk && processor.RecallProgram(3) && Online();
        processor.Session().Disconnect(0);
    }
    std::vector<RawFrame> Sent() const
    {
        std::vector<RawFrame> out;
        for (const RawFrame& f : pDevice->ReceivedFrames())
            if (!IsLevelPoll(f))
                out.push_back(f);
        return out;
    }

    int nValue;
    CNotifyQueue queue;
    CProcessor processor;
    std::shared_ptr<CVirtualProcessor> pDevice = std::make_shared<CVirtualProcessor>();
    bool bOk = false;
};

}  // namespace

TEST(ProcessorTest, TwoProcessorsWorkedAtOnceEachSendExactlyWhatOneAloneSends)
{
    const std::array<int, 2> values = {17, 42};
    std::array<std::vector<RawFrame>, 2> alone;
    for (size_t i = 0; i < values.size(); ++i) {
        Room room(values[i]);
        room.Script();
        ASSERT_TRUE(room.bOk) << "alone, room " << i;
        alone[i] = room.Sent();
    }

    std::array<std::unique_ptr<Room>, 2> rooms;
    for (size_t i = 0; i < values.size(); ++i)
        rooms[i] = std::make_unique<Room>(values[i]);
    {
        std::vector<std::thread> threads;
        for (auto& pRoom : rooms)
            threads.emplace_back([&pRoom] { pRoom->Script(); });
        for (std::thread& thread : threads)
            thread.join();
    }
    for (size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(i);
        Room& room = *rooms[i];
        ASSERT_TRUE(room.bOk);
        EXPECT_EQ(room.Sent(), alone[i]);
        // The model read back after the recall is this room's, not the other's.
        CKTV_Data& data = room.processor.Data();
        EXPECT_EQ(data.Output(0).GetLevel(), values[i]);
        EXPECT_EQ(data.Output(1).EQ()[5].GetGainCode(), 200 + values[i]);
        EXPECT_EQ(room.processor.ProgramName(3), "Room " + std::to_string(values[i]));
        EXPECT_EQ(room.processor.SceneName(), "Room " + std::to_string(values[i]));
    }
}

TEST(ProcessorTest, ConnectingByTheDevicesNameEndsOnlineAndDisconnectingClosesTheLink)
{
    Room room(0);
    ASSERT_TRUE(room.processor.Connect("virtual"));
    EXPECT_TRUE(room.Online());
    room.processor.Disconnect();
    EXPECT_FALSE(room.processor.IsConnected());
    EXPECT_FALSE(room.processor.Connect("serial:COM1"));
    EXPECT_FALSE(room.processor.Session().LastError().empty());
}
