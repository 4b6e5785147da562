// One room of the service: a thread that owns the room's processor and its
// link, runs the tasks other threads hand it, hands the link's
// notifications to the processor, and turns what changed into the events
// the API's clients see. A processor that is unplugged or falls silent
// makes the link fail (its reads time out within seconds); the room is then
// offline and opened again every few seconds, and read whole once it is
// back.
//
// Threads: Post, Online, State and the constructor/destructor from any
// thread; tasks and the event sink run on the room's thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "ChangeEvent.h"
#include "NotifyQueue.h"
#include "RoomJson.h"
#include "VenueFile.h"

class CProcessor;

// What a task is given: the processor (on its own thread) and whether the
// room is online. Edits a task makes are told with strSource.
struct RoomTask {
    std::function<void(CProcessor& processor, bool bOnline)> run;
    std::string strSource = "api";
    // Runs once what the task changed has been told and kept as the room's
    // state (the answer to a PATCH).
    std::function<void()> then;
};

class CRoomWorker : private IChangeSubscriber {
public:
    using EventSink = std::function<void(const Json& event)>;
    struct Timing {
        int nOpenMs = 8000;   // connect and full read
        int nRetryMs = 3000;  // between attempts while offline
    };

    using RecallHook = std::function<void(CProcessor& processor)>;

    // afterRecall (when given) runs on the room's thread once a recalled
    // program has been read.
    CRoomWorker(VenueRoom room, EventSink sink, Timing timing, RecallHook afterRecall = {});
    ~CRoomWorker() override;
    CRoomWorker(const CRoomWorker&) = delete;
    CRoomWorker& operator=(const CRoomWorker&) = delete;

    void Post(RoomTask task);
    bool Online() const { return m_bOnline; }
    // {"type":"state","room":…,"online":…, the settings…} as last seen.
    Json State() const;
    // The six output meters as last read, while online.
    Json Levels() const;
    const VenueRoom& Room() const { return m_room; }
    // Reads the room whole again for a frame port's client, whose frames
    // did what no single write tells (a recall, a store); what moved is
    // told with source "editor".
    void ReadAgainForEditor();

private:
    void Run();
    bool Open(CProcessor& processor);
    void ServeOnline(CProcessor& processor);
    void WaitOffline(CProcessor& processor);
    // Notifications for up to nMs, then every waiting task.
    void Step(CProcessor& processor, int nMs);
    void RunTasks(CProcessor& processor);
    void OnChange(const ChangeEvent& event) override;
    // Tells each parameter whose value moved, and keeps the new state.
    void Publish(CProcessor& processor, std::string strSource);
    void SetOffline();

    const VenueRoom m_room;
    const EventSink m_sink;
    const Timing m_timing;
    const RecallHook m_afterRecall;
    CNotifyQueue m_queue;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bOnline{false};
    mutable std::mutex m_mutex;  // guards m_tasks and m_state
    std::condition_variable m_cv;
    std::deque<RoomTask> m_tasks;
    Json m_state;
    Json m_levels = Json::array();
    // Room thread only.
    std::string m_strTaskSource;
    std::string m_strPending;  // the source of changes not yet told
    bool m_bRecalled = false;
    bool m_bEditorRead = false;  // the full read running is ReadAgainForEditor's
    std::thread m_thread;
};

// The name of an event's source for the API.
std::string SourceName(ChangeSource source, const std::string& strTaskSource);
