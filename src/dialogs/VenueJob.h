// One venue operation (status, backup, push, difference) on a thread of its
// own, so that the Venue window stays responsive while every room talks to
// its processor. What the rooms report is posted to the window's thread.
//
// The window owns the job. RequestStop sets the stop flag every room's link
// honours, and the rooms still report how they ended; Cancel also drops
// whatever is posted after it. The destructor cancels and then joins the
// thread, which ends as soon as the rooms have let go.
//
// Threads: Start, Cancel and the destructor on the receiver's (user-interface)
// thread; the operation and the observer's calls on the job's threads.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "VenueRun.h"

class CVenueJob : public IVenueObserver {
public:
    using Work = std::function<void(const std::atomic<bool>& bStop, IVenueObserver* pObserver)>;
    // Each runs on the receiver's thread; any may be empty.
    struct Receivers {
        std::function<void(size_t nRoom, int nPercent)> progress;
        std::function<void(size_t nRoom, const RoomStatus& status)> status;
        std::function<void(size_t nRoom, const RoomResult& result)> finished;
        std::function<void()> done;  // after the work returned, unless cancelled
    };

    CVenueJob(QObject* pReceiver, Receivers receivers);
    ~CVenueJob() override;
    CVenueJob(const CVenueJob&) = delete;
    CVenueJob& operator=(const CVenueJob&) = delete;

    void Start(Work work);
    void RequestStop() { m_bStop = true; }
    void Cancel();

    void RoomProgress(size_t nRoom, int nPercent) override;
    void RoomStatusReady(size_t nRoom, const RoomStatus& status) override;
    void RoomFinished(size_t nRoom, const RoomResult& result) override;

private:
    void Post(std::function<void()> call);

    QObject* m_pReceiver;
    Receivers m_receivers;
    std::atomic<bool> m_bStop{false};
    // Shared with every posted call, which the receiver may run after the
    // job is gone: it then finds the job cancelled and does nothing.
    std::shared_ptr<std::atomic<bool>> m_pAlive = std::make_shared<std::atomic<bool>>(true);
    std::thread m_thread;
};
