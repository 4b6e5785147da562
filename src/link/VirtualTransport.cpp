#include "VirtualTransport.h"

#include <algorithm>
#include <thread>

CVirtualTransport::CVirtualTransport(std::shared_ptr<CVirtualProcessor> pDevice) : m_pDevice(std::move(pDevice)) {}

std::shared_ptr<CVirtualProcessor> CVirtualTransport::Shared()
{
    static std::shared_ptr<CVirtualProcessor> pShared = std::make_shared<CVirtualProcessor>();
    return pShared;
}

IoResult CVirtualTransport::WriteReport(const uint8_t* pReport, int /*nTimeoutMs*/)
{
    if (m_bClosed || m_pDevice->IsVanished())
        return IoResult::Gone;
    m_pDevice->Receive(pReport + 1, 64);
    return IoResult::Ok;
}

IoResult CVirtualTransport::ReadReport(uint8_t* pReport, int nTimeoutMs)
{
    using Clock = CVirtualProcessor::Clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(nTimeoutMs);
    for (;;) {
        if (m_bClosed || m_pDevice->IsVanished())
            return IoResult::Gone;
        const Clock::time_point now = Clock::now();
        if (m_pDevice->TakeReport(pReport + 1, now)) {
            pReport[0] = 0;
            return IoResult::Ok;
        }
        if (now >= deadline)
            return IoResult::Timeout;
        // The device answers within the write call unless a delay is
        // injected; sleep until the next reply is due, in short steps so a
        // vanish or a close is seen promptly.
        const Clock::time_point due = std::min(m_pDevice->NextReportDue(), deadline);
        const auto step = std::min<Clock::duration>(due - now, std::chrono::milliseconds(2));
        std::this_thread::sleep_for(std::max<Clock::duration>(step, std::chrono::microseconds(50)));
    }
}

void CVirtualTransport::Close()
{
    m_bClosed = true;
    // Whatever the processor still had to say belongs to this link only.
    m_pDevice->ResetLink();
}
