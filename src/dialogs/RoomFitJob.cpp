#include "RoomFitJob.h"

#include <QThreadPool>

std::shared_ptr<CRoomFitJob> CRoomFitJob::Start(const RoomFitInput& input, QObject* pReceiver, Done onDone)
{
    auto job = std::make_shared<CRoomFitJob>(pReceiver, std::move(onDone));
    QThreadPool::globalInstance()->start([job, input] { job->Run(job, input); });
    return job;
}

void CRoomFitJob::Cancel()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_bCancelled = true;
    m_pReceiver = nullptr;
}

void CRoomFitJob::Run(const std::shared_ptr<CRoomFitJob>& self, const RoomFitInput& input)
{
    RoomFitHooks hooks;
    hooks.isCancelled = [this] { return m_bCancelled.load(); };
    RoomFitResult result = FitRoom(input, hooks);
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pReceiver)
        return;
    // Cancel may still come between the post and its delivery: the same
    // thread sets the flag and runs the delivery, so checking it there is enough.
    QMetaObject::invokeMethod(
        m_pReceiver,
        [self, result = std::move(result)] {
            if (!self->m_bCancelled)
                self->m_onDone(result);
        },
        Qt::QueuedConnection);
}
