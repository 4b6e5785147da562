// One normal transfer cycle on the communication thread: write the head
// command in reports, then read reports until its reply is complete. With
// the queue empty, ask the model for the next change instead (or the level
// poll that keeps the link alive).
#include <chrono>
#include <thread>

#include "ChangeScanner.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "Notify.h"
#include "ProcessorState.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kWriteTimeoutMs = 5;
constexpr int kReadTimeoutMs = 2000;
constexpr auto kCycleLimit = std::chrono::seconds(3);
// Reads wait in short slices so a stop is noticed at once.
constexpr int kReadSliceMs = 20;
}  // namespace

void CLinkSession::NormalCycle()
{
    CommLock lock(m_state.m_csComm);
    if (m_state.m_bDeviceAbnormal || m_bFirmwareCancel)
        return;
    UsbTransferCycle();
}

void CLinkSession::PostFailureOnce()
{
    if (m_bUsbActive && !m_bFailurePosted.exchange(true))
        m_state.PostNotify(kMsgUsbFailure);
}

// One input report within nTimeoutMs; false after posting the failure.
bool CLinkSession::ReadReply(uint8_t* pReport, int nTimeoutMs, bool bRemovalExpected, bool* pGone)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (m_bUsbActive) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        switch (m_pTransport->ReadReport(pReport, static_cast<int>(std::min<long long>(left, kReadSliceMs)))) {
        case IoResult::Ok:
            return true;
        case IoResult::Timeout:
            continue;
        case IoResult::Gone:
            if (pGone)
                *pGone = true;
            if (!bRemovalExpected)
                PostFailureOnce();
            return false;
        case IoResult::Error:
            PostFailureOnce();
            return false;
        }
    }
    PostFailureOnce();
    return false;
}

void CLinkSession::UsbTransferCycle()
{
    const Clock::time_point start = Clock::now();
    if (!m_pTransport)
        return;
    CSendData* pHead = m_cmd.GetHead();
    if (!pHead) {
        m_cmd.AddSendData(NextChangeFrame(m_data));
        return;
    }
    uint8_t report[kReportSize] = {};
    while (m_bUsbActive && pHead->FillNextReport(report)) {
        // A report that could not go out would leave the frame torn: the
        // processor would never answer it, so fail now rather than later.
        const IoResult result = m_pTransport->WriteReport(report, kWriteTimeoutMs);
        if (result != IoResult::Ok) {
            PostFailureOnce();
            return;
        }
    }
    while (m_bUsbActive) {
        if (!ReadReply(report, kReadTimeoutMs))
            return;
        if (m_cmd.FeedReport(report, kReportSize))
            return;
        if (Clock::now() - start > kCycleLimit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            PostFailureOnce();
            return;
        }
    }
}
