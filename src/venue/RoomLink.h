// One room's processor on the thread that works on it: its own CProcessor
// and conversation, opened with the full read, and what the venue
// operations share about a room's run: the threads, the time of day, why a
// room failed.
//
// Threads: a CRoomLink belongs to the thread that made it; ForEachRoom's
// work runs on one new thread per room.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "Processor.h"
#include "ProcessorConversation.h"
#include "VenueRun.h"

class CRoomLink {
public:
    explicit CRoomLink(const std::atomic<bool>& bStop) : m_conversation(m_processor, &bStop) {}

    // Connects and completes the full read; false with *pReason.
    bool Open(const std::string& strDevice, std::string* pReason);
    // Why the last step failed: the link's words, or that it was stopped.
    std::string Failure() const;
    bool WasStopped() const { return m_conversation.WasStopped(); }

    CProcessor& Processor() { return m_processor; }
    CProcessorConversation& Conversation() { return m_conversation; }

private:
    CProcessor m_processor;  // outlives the conversation, which reports what its link posts
    CProcessorConversation m_conversation;
};

// Runs work(0) … work(n − 1), one per device of devices, each on a thread of
// its own, and returns when all have ended. A processor serves one link at a
// time: rooms that name the same device (the built-in virtual processor,
// named twice to try things out, is one) take their turns on one thread.
// An empty device (a file, no processor) shares with nothing.
void ForEachRoom(const std::vector<std::string>& devices, const std::function<void(size_t nRoom)>& work);
// The devices of rooms, for ForEachRoom.
std::vector<std::string> DevicesOf(const std::vector<VenueRoom>& rooms);
// Runs work for every room at once, each on its thread, telling the
// observer (if any) progress 0 and 100 around it and the room's result;
// the results in the rooms' order.
using RoomWork = std::function<RoomResult(size_t nRoom, const std::function<void(int nPercent)>& progress)>;
std::vector<RoomResult> RunRooms(const std::vector<VenueRoom>& rooms, IVenueObserver* pObserver, const RoomWork& work);
// Every room failed alike, before anything was done to it.
std::vector<RoomResult> AllFailed(const std::vector<VenueRoom>& rooms, const std::string& strReason);
// Now, in UTC: "2026-12-10T22:15:23Z".
std::string UtcTimeText();
