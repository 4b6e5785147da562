#include "KTVCommand.h"

#include <cstring>

#include "Frame.h"
#include "ProcessorState.h"

namespace {
constexpr int kMaxAttempts = 10;
}  // namespace

CKTVCommand::CKTVCommand(CProcessorState& state)
    : m_state(state), m_assembler([this](const uint8_t* pFrame, int nLength, FrameCheck check) { OnFrame(pFrame, nLength, check); })
{
}

void CKTVCommand::AddSendData(std::unique_ptr<CSendData> pData)
{
    if (!pData)
        return;
    // A command that keeps failing is still sent, but the user is told.
    if (pData->m_nAttempts > kMaxAttempts)
        m_state.PostNotify(kMsgDataError);
    m_queue.Add(std::move(pData));
}

void CKTVCommand::RemoveHead()
{
    if (m_queue.RemoveHead())
        std::memset(m_status, 0, sizeof m_status);
}

void CKTVCommand::RewindHead()
{
    if (CSendData* pHead = m_queue.GetHead())
        pHead->Rewind();
}

void CKTVCommand::ClearQueue()
{
    m_queue.Clear();
    ResetReceiver();
}

void CKTVCommand::ResetReceiver()
{
    m_assembler.Reset();
}

bool CKTVCommand::FeedReport(uint8_t* pReport, int nCount)
{
    if (!m_bDeviceOpen || nCount <= 1)
        return false;
    m_bCompleted = false;
    m_assembler.Feed(pReport + 1, static_cast<size_t>(nCount - 1));
    if (m_assembler.SyncSeen())
        m_status[kStatusSyncSeen] = 1;
    std::memset(pReport + 1, 0, static_cast<size_t>(nCount - 1));
    return m_bCompleted;
}

void CKTVCommand::OnFrame(const uint8_t* pFrame, int nLength, FrameCheck check)
{
    m_bCompleted = true;
    m_status[kStatusFrameComplete] = 1;
    if (check != FrameCheck::Ok) {
        // Dropped; the head stays and the cycle's time-outs decide.
        m_status[kStatusFrameError] = 1;
        return;
    }
    m_nCommand = pFrame[1];
    m_nPreset = pFrame[3];
    m_nKind = pFrame[4];
    m_nItem = pFrame[5];
    m_nMode = pFrame[6];
    if (RelayAnswer(pFrame, nLength))
        return;
    RunProgressHook();
    switch (m_nCommand) {
    case kReplyAck:
        if (const CSendData* pHead = m_queue.GetHead(); pHead && m_onAcknowledged)
            m_onAcknowledged(*pHead);
        RemoveHead();
        break;
    case kReplyResend:
        RewindHead();
        break;
    case kReplyData:
        DispatchData(pFrame, nLength);
        break;
    default:
        break;  // not ours to act on; the receiver is already hunting again
    }
}

bool CKTVCommand::RelayAnswer(const uint8_t* pFrame, int nLength)
{
    CSendData* pHead = m_queue.GetHead();
    if (!pHead || !pHead->m_onAnswer)
        return false;
    if (m_nCommand == kReplyAck && m_onAcknowledged)
        m_onAcknowledged(*pHead);
    pHead->m_onAnswer(pFrame, nLength);
    RemoveHead();
    return true;
}

void CKTVCommand::RunProgressHook()
{
    CSendData* pHead = m_queue.GetHead();
    if (!pHead)
        return;
    if (pHead->m_bSingleProgress) {
        m_state.PostNotify(kMsgBatchProgress, 0, 0);
        return;
    }
    if (pHead->m_nProgressTag == 0)
        return;
    if (pHead->m_nFirmwareStep != 0) {
        if (m_onFirmwareProgress)
            m_onFirmwareProgress(*pHead);
        return;
    }
    m_nProgressPos = pHead->m_nProgressTag;
    if (pHead->EndOfWriteBatchReached())
        m_state.PostNotify(kMsgBatchProgress, 0, 1);
    if (pHead->EndOfReadBatchReached())
        m_state.PostNotify(kMsgBatchProgress, 0, 0);
}
