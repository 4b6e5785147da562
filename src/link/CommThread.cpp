#include "CommThread.h"

#include <chrono>

namespace {
constexpr auto kWaitLimit = std::chrono::milliseconds(3000);
// The processor needs a breath between cycles; this pause is the only sleep
// of the link.
constexpr auto kCyclePause = std::chrono::milliseconds(5);
}  // namespace

CCommThread::~CCommThread()
{
    End();
}

void CCommThread::Create(std::function<void()> normalCycle, std::function<bool()> firmwareCycle)
{
    if (m_thread.joinable())
        return;
    m_normalCycle = std::move(normalCycle);
    m_firmwareCycle = std::move(firmwareCycle);
    m_bAlive = true;
    m_thread = std::thread([this] { Run(); });
}

bool CCommThread::AnySignalled() const
{
    for (bool bEvent : m_events) {
        if (bEvent)
            return true;
    }
    return false;
}

void CCommThread::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_cv.wait(lock, [this] { return !m_bSuspended || m_events[kQuit]; });
        m_bRunning = true;
        m_cv.wait_for(lock, kWaitLimit, [this] { return AnySignalled(); });
        if (m_events[kQuit])
            break;
        if (m_events[kSuspend]) {
            m_bSuspended = true;
            m_bRunning = false;
            m_cv.notify_all();
            continue;
        }
        const bool bFirmware = m_events[kFirmware];
        const bool bNormal = m_events[kNormal];
        lock.unlock();
        if (bFirmware) {
            const bool bMore = m_firmwareCycle && m_firmwareCycle();
            ++m_nCycles;
            // Nothing to do until the user-interface thread acts: wait for
            // its events instead of asking the cycle again at once.
            if (!bMore) {
                std::lock_guard<std::mutex> relock(m_mutex);
                m_events[kFirmware] = false;
            }
        }
        if (bNormal) {
            m_normalCycle();
            ++m_nCycles;
            std::this_thread::sleep_for(kCyclePause);
        }
        lock.lock();
    }
    m_bRunning = false;
    m_bAlive = false;
    m_cv.notify_all();
}

bool CCommThread::Pause(int nMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_cv.wait_for(lock, std::chrono::milliseconds(nMs),
                          [this] { return m_events[kSuspend] || m_events[kQuit]; });
}

void CCommThread::Start(Event transferEvent)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bSuspended = false;
    m_events[transferEvent] = true;
    m_cv.notify_all();
}

void CCommThread::Stop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_bSuspended) {
        m_events[kSuspend] = true;
        m_cv.notify_all();
        m_cv.wait(lock, [this] { return m_bSuspended || !m_bAlive; });
    }
    for (bool& bEvent : m_events)
        bEvent = false;
}

void CCommThread::End()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable())
            return;
        m_events[kQuit] = true;
        m_cv.notify_all();
    }
    m_thread.join();
}
