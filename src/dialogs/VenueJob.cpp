#include "VenueJob.h"

CVenueJob::CVenueJob(QObject* pReceiver, Receivers receivers)
    : m_pReceiver(pReceiver), m_receivers(std::move(receivers))
{
}

CVenueJob::~CVenueJob()
{
    Cancel();
    if (m_thread.joinable())
        m_thread.join();
}

void CVenueJob::Start(Work work)
{
    m_thread = std::thread([this, work = std::move(work)] {
        work(m_bStop, this);
        if (m_receivers.done)
            Post(m_receivers.done);
    });
}

void CVenueJob::Cancel()
{
    m_bStop = true;
    *m_pAlive = false;
}

void CVenueJob::RoomProgress(size_t nRoom, int nPercent)
{
    if (m_receivers.progress)
        Post([this, nRoom, nPercent] { m_receivers.progress(nRoom, nPercent); });
}

void CVenueJob::RoomStatusReady(size_t nRoom, const RoomStatus& status)
{
    if (m_receivers.status)
        Post([this, nRoom, status] { m_receivers.status(nRoom, status); });
}

void CVenueJob::RoomFinished(size_t nRoom, const RoomResult& result)
{
    if (m_receivers.finished)
        Post([this, nRoom, result] { m_receivers.finished(nRoom, result); });
}

void CVenueJob::Post(std::function<void()> call)
{
    // The receiver outlives the job (it owns it), so a call that finds the
    // job alive on the receiver's thread may use it: Cancel and the
    // destructor run on that same thread.
    QMetaObject::invokeMethod(
        m_pReceiver,
        [alive = m_pAlive, call = std::move(call)] {
            if (*alive)
                call();
        },
        Qt::QueuedConnection);
}
