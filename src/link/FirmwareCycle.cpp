// The firmware update on the communication thread: the loader protocol with
// its handshake pattern, per-step reply waits, attempt counting and the
// processor's restart after step 54.
#include <thread>

#include "FirmwareSequence.h"
#include "LinkSession.h"
#include "LinkTexts.h"
#include "Notify.h"
#include "ProcessorState.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMaxFirmwareAttempts = 2;
constexpr auto kFirmwareCycleLimit = std::chrono::seconds(10);
constexpr int kSearchStepMs = 50;

// How long the loader may take to answer each step.
int ReplyWaitMs(int nStep)
{
    switch (nStep) {
    case kStepEnter: return 3000;
    case kStepErase: return 30000;
    case kStepDspData: return 10000;
    case kStepMcuStart: return 8000;
    default: return 2000;
    }
}

// The processor restarts during these steps; its disappearance is expected.
bool RemovalExpected(int nStep)
{
    return nStep == kStepEnter || nStep == kStepHandshake;
}

}  // namespace

std::string CLinkSession::FirmwareStatus() const
{
    std::lock_guard<std::mutex> lock(m_statusMutex);
    return m_strFirmwareStatus;
}

void CLinkSession::SetFirmwareStatus(const std::string& strText)
{
    {
        std::lock_guard<std::mutex> lock(m_statusMutex);
        m_strFirmwareStatus = strText;
    }
    m_state.PostNotify(kMsgFirmwareStatus);
}

bool CLinkSession::StartFirmwareUpdate(CFirmwareUpdate update, TransportOpener opener)
{
    if (m_bFirmwareMode)
        return false;  // Update pressed twice: one transfer only
    m_bFirmwareCancel = false;
    if (m_bConnected || HasTransport()) {
        StopTransfers();
        CloseUsbLink();
    }
    SetLastError({});
    m_nFirmwareRange = update.m_nSteps;
    {
        CommLock lock(m_state.m_csComm);
        m_cmd.ClearQueue();
        m_pUpdate = std::make_unique<CFirmwareUpdate>(std::move(update));
        m_opener = std::move(opener);
        m_nFirmwareProgress = 0;
        m_nFirmwareStep = 0;
        m_bFailurePosted = false;
    }
    m_searchDeadline = Clock::now() + std::chrono::milliseconds(m_firmwareTiming.nSearchMs);
    m_bSearching = true;
    SetFirmwareStatus(SearchingText());
    m_bFirmwareMode = true;
    StartTransfers();
    return true;
}

// One look for the processor on the communication thread. Between looks
// the thread rests in an interruptible pause, so Quit ends a search at once
// and the window never waits for it.
bool CLinkSession::SearchForProcessor()
{
    std::string strError;
    std::unique_ptr<ITransport> pTransport = m_opener ? m_opener(&strError) : nullptr;
    if (pTransport) {
        ReplaceTransport(std::move(pTransport));
        CommLock lock(m_state.m_csComm);
        m_cmd.SetDeviceOpen(true);
        m_cmd.ResetReceiver();
        m_bSearching = false;
        return true;
    }
    SetLastError(strError);
    if (Clock::now() >= m_searchDeadline) {
        m_bSearching = false;
        PostFailureOnce();
        return false;
    }
    return m_thread.Pause(kSearchStepMs);
}

void CLinkSession::CancelFirmwareUpdate()
{
    if (!m_bFirmwareMode)
        return;
    m_bFirmwareCancel = true;
    StopTransfers();
    m_bSearching = false;
    // The processor may have confirmed the end just before Quit, while its
    // notice was still on the way: the new firmware is in, so say so.
    const bool bDone = FirmwareConfirmed();
    CloseUsbLink();
    ShowMessage(bDone ? FirmwareDoneText() : FirmwareFailedText());
    m_bFirmwareCancel = false;
}

bool CLinkSession::FirmwareConfirmed() const
{
    CommLock lock(m_state.m_csComm);
    return m_pUpdate && m_pUpdate->m_bFinished;
}

void CLinkSession::LeaveFirmwareMode()
{
    if (!m_bFirmwareMode)
        return;
    StopTransfers();
    m_bSearching = false;
    CloseUsbLink();
}

void CLinkSession::FinishFirmwareUpdate()
{
    if (!m_bFirmwareMode)
        return;
    StopTransfers();
    CloseUsbLink();
    ShowMessage(FirmwareDoneText());
}

// Progress hook of the receiver, for the head firmware frame.
void CLinkSession::OnFirmwareReply(const CSendData& head)
{
    if (!m_pUpdate)
        return;
    const FirmwareReplyStatus status =
        ::OnFirmwareReply(*m_pUpdate, head.m_nFirmwareStep, m_cmd.LastCommand(), m_cmd.LastItem());
    if (status.bAdvance)
        ++m_nFirmwareProgress;
    const std::string strText = status.Text(g_bChinese != 0);
    if (!strText.empty() || status.bAdvance)
        SetFirmwareStatus(strText.empty() ? FirmwareStatus() : strText);
}

void CLinkSession::SendHandshake()
{
    uint8_t report[kReportSize];
    FillHandshakeReport(report);
    const Clock::time_point start = Clock::now();
    SetFirmwareStatus(ConnectedText());
    while (m_bUsbActive && Clock::now() - start < std::chrono::milliseconds(m_firmwareTiming.nHandshakeMs)) {
        // The loader may re-enumerate while it is greeted: keep greeting.
        if (m_pTransport->WriteReport(report, 5) == IoResult::Gone)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_cmd.RemoveHead();
    m_thread.Pause(m_firmwareTiming.nAfterHandshakeMs);
}

// Reads until the reply is complete; false after posting the failure.
bool CLinkSession::ReadFirmwareReply(int nStep, Clock::time_point start)
{
    uint8_t report[kReportSize] = {};
    if (nStep == kStepErase)
        SetFirmwareStatus(ErasingText());
    while (m_bUsbActive && !m_bFirmwareCancel) {
        bool bGone = false;
        if (!ReadReply(report, ReplyWaitMs(nStep), RemovalExpected(nStep), &bGone)) {
            // It restarted before its answer reached us: find it again and
            // repeat the step.
            if (bGone && nStep == kStepEnter)
                ReopenAfterRestart();
            return false;
        }
        if (m_bFirmwareCancel)
            return false;
        if (m_cmd.FeedReport(report, kReportSize))
            return true;
        if (Clock::now() - start > kFirmwareCycleLimit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            PostFailureOnce();
            return false;
        }
    }
    return false;
}

void CLinkSession::ReopenAfterRestart()
{
    if (!m_thread.Pause(m_firmwareTiming.nRestartMs))
        return;  // stopped: the user-interface thread closes the link
    ReplaceTransport(nullptr);
    std::string strError;
    std::unique_ptr<ITransport> pTransport = m_opener ? m_opener(&strError) : nullptr;
    const bool bFound = pTransport != nullptr;
    ReplaceTransport(std::move(pTransport));
    m_cmd.ResetReceiver();
    if (!bFound) {
        SetLastError(strError);
        PostFailureOnce();
    }
}

// After a failure or an empty reply has been posted nothing more goes out:
// the cycle rests until the user-interface thread stops transfers.
bool CLinkSession::FirmwareCycleStopped() const
{
    return !m_bFirmwareMode || !m_pUpdate || m_pUpdate->m_bFinished || !m_pTransport || m_bFirmwareCancel ||
           m_bFailurePosted || m_state.m_bDeviceAbnormal;
}

// The reply is complete and dispatched: only now is it known whether it
// carried what the processor owed (an empty data reply is no acknowledgement).
bool CLinkSession::AfterFirmwareReply(int nStep)
{
    if (m_state.m_bDeviceAbnormal)
        return false;
    if (m_pUpdate->m_bFinished) {
        m_state.PostNotify(kMsgFirmwareDone, 0, kStepFinish);
        return false;
    }
    if (nStep == kStepEnter)
        ReopenAfterRestart();
    return !m_bFailurePosted;
}

bool CLinkSession::FirmwareCycle()
{
    if (m_bSearching)
        return m_bFirmwareMode && !m_bFirmwareCancel && SearchForProcessor();
    CommLock lock(m_state.m_csComm);
    if (FirmwareCycleStopped())
        return false;
    const Clock::time_point start = Clock::now();
    if (!m_cmd.GetHead())
        NextFirmwareCommand(*m_pUpdate, [this](std::unique_ptr<CSendData> p) { m_cmd.AddSendData(std::move(p)); });
    CSendData* pHead = m_cmd.GetHead();
    if (!pHead) {
        // Everything went out and was answered, yet the processor never
        // confirmed the end: waiting longer would not change that.
        PostFailureOnce();
        return false;
    }
    const int nStep = pHead->m_nFirmwareStep;
    m_nFirmwareStep = nStep;
    if (++pHead->m_nAttempts > kMaxFirmwareAttempts) {
        PostFailureOnce();
        return false;
    }
    if (nStep == kStepHandshake) {
        SendHandshake();
        return true;
    }
    uint8_t report[kReportSize] = {};
    pHead->Rewind();  // a repeated command goes out whole
    while (m_bUsbActive && pHead->FillNextReport(report)) {
        const IoResult result = m_pTransport->WriteReport(report, 5);
        if (result == IoResult::Gone && RemovalExpected(nStep)) {
            ReopenAfterRestart();
            return true;
        }
        if (result != IoResult::Ok) {
            PostFailureOnce();
            return false;
        }
    }
    if (!ReadFirmwareReply(nStep, start))
        return !FirmwareCycleStopped();
    return AfterFirmwareReply(nStep);
}
