#include "NotifyQueue.h"

#include <chrono>

#include "LinkSession.h"

void CNotifyQueue::Post(int nMsg, intptr_t wParam, intptr_t lParam)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back({nMsg, wParam, lParam});
    }
    m_cv.notify_all();
}

bool CNotifyQueue::Take(PostedNotification* pOut, int nTimeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_cv.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), [this] { return !m_queue.empty(); }))
        return false;
    *pOut = m_queue.front();
    m_queue.pop_front();
    return true;
}

bool PumpUntil(CNotifyQueue& queue, CLinkSession& session, const std::function<bool()>& bDone, int nTimeoutMs,
               const std::function<void(const PostedNotification&)>& observer)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (!bDone()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        PostedNotification note{};
        // Short waits: the condition may turn true without a notification.
        if (!queue.Take(&note, static_cast<int>(std::min<long long>(left, 10))))
            continue;
        session.HandleNotification(note.nMsg, note.wParam, note.lParam);
        if (observer)
            observer(note);
    }
    return true;
}
