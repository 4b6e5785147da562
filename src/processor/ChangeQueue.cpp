#include "ChangeQueue.h"

void CChangeQueue::OnChange(const ChangeEvent& event)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(event);
    }
    m_cv.notify_one();
}

std::vector<ChangeEvent> CChangeQueue::Take(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait_for(lock, timeout, [this] { return !m_events.empty(); });
    std::vector<ChangeEvent> events(m_events.begin(), m_events.end());
    m_events.clear();
    return events;
}
