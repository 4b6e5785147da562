// The single communication thread. It outlives connections: created at
// start-up, suspended between connections, ended at shutdown. Four
// manual-reset events drive it (quit, suspend, firmware transfer, normal
// transfer); a signalled transfer event stays signalled, so cycles follow
// each other 5 ms apart until transfers are stopped.
//
// Threads: Resume/Signal/Stop/End from the user-interface thread; the cycle
// functions run on the communication thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class CCommThread {
public:
    enum Event { kQuit = 0, kSuspend = 1, kFirmware = 2, kNormal = 3, kEventCount = 4 };

    CCommThread() = default;
    ~CCommThread();
    CCommThread(const CCommThread&) = delete;
    CCommThread& operator=(const CCommThread&) = delete;

    // Creates the thread suspended. normalCycle runs one normal transfer
    // cycle (the caller's function takes the comm lock); firmwareCycle one
    // firmware cycle and returns false when it has nothing more to do
    // (finished, failed or cancelled): its event is then reset.
    void Create(std::function<void()> normalCycle, std::function<bool()> firmwareCycle);
    // Resumes the thread and signals one transfer event.
    void Start(Event transferEvent);
    // Suspends the thread after its current cycle and resets every event.
    void Stop();
    // Ends the thread (shutdown).
    void End();
    // On the communication thread, inside a cycle: waits nMs unless a stop
    // or the end is asked for first. False when it was cut short.
    bool Pause(int nMs);

    bool IsAlive() const { return m_bAlive; }
    int CyclesRun() const { return m_nCycles; }  // normal and firmware cycles

private:
    void Run();
    bool AnySignalled() const;

    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_events[kEventCount] = {};
    bool m_bSuspended = true;
    std::atomic<bool> m_bAlive{false};
    std::atomic<bool> m_bRunning{false};
    std::atomic<int> m_nCycles{0};
    std::function<void()> m_normalCycle;
    std::function<bool()> m_firmwareCycle;
};
