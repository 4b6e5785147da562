// One room fit on a worker of the global thread pool, so that the dialog
// stays responsive while the fit takes its hundreds of milliseconds.
//
// The worker holds the job through a shared_ptr: the dialog may cancel it
// and go away while it still runs, and never waits for it. The result is
// posted to the receiver's thread; a cancelled job's result is dropped, and
// one posted to a receiver that has since been deleted is never delivered.
//
// Threads: Start and Cancel on the receiver's (user-interface) thread; the
// fit on the worker.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "RoomFit.h"

class CRoomFitJob {
public:
    using Done = std::function<void(const RoomFitResult&)>;

    // onDone runs on pReceiver's thread once the fit has ended, unless
    // Cancel came first.
    static std::shared_ptr<CRoomFitJob> Start(const RoomFitInput& input, QObject* pReceiver, Done onDone);
    // Stops the fit at its next step; returns at once.
    void Cancel();

    CRoomFitJob(QObject* pReceiver, Done onDone) : m_pReceiver(pReceiver), m_onDone(std::move(onDone)) {}

private:
    void Run(const std::shared_ptr<CRoomFitJob>& self, const RoomFitInput& input);

    std::atomic<bool> m_bCancelled{false};
    std::mutex m_mutex;               // the receiver is not deleted while a result is posted to it
    QObject* m_pReceiver;             // null once cancelled
    Done m_onDone;
};
