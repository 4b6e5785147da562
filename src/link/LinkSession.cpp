#include "LinkSession.h"

#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include "DataDefine.h"
#include "Frame.h"
#include "FrameBuilder.h"
#include "KTV_Data.h"
#include "LinkTexts.h"
#include "Notify.h"
#include "ProcessorState.h"


CLinkSession::CLinkSession(CKTV_Data& data) : m_data(data), m_state(data.State()), m_cmd(m_state)
{
    m_thread.Create([this] { NormalCycle(); }, [this] { return FirmwareCycle(); });
    m_cmd.m_onFirmwareProgress = [this](const CSendData& head) { OnFirmwareReply(head); };
    m_cmd.m_onAcknowledged = [this](const CSendData& head) { m_confirmed.Acknowledge(head.Frame(), head.Length()); };
}

CLinkSession::~CLinkSession()
{
    EndCommThread();
}

std::string CLinkSession::DeviceDescription() const
{
    std::lock_guard<std::mutex> lock(m_transportMutex);
    return m_pTransport ? m_pTransport->Describe() : std::string();
}

std::string CLinkSession::LastError() const
{
    std::lock_guard<std::mutex> lock(m_transportMutex);
    return m_strLastError;
}

void CLinkSession::SetLastError(const std::string& strError)
{
    std::lock_guard<std::mutex> lock(m_transportMutex);
    m_strLastError = strError;
}

bool CLinkSession::HasTransport() const
{
    std::lock_guard<std::mutex> lock(m_transportMutex);
    return m_pTransport != nullptr;
}

// The old transport is closed outside the lock: closing may wait for the
// device, and the user-interface thread must not wait with it.
void CLinkSession::ReplaceTransport(std::unique_ptr<ITransport> pTransport)
{
    std::unique_ptr<ITransport> pOld;
    {
        std::lock_guard<std::mutex> lock(m_transportMutex);
        pOld = std::exchange(m_pTransport, std::move(pTransport));
    }
    if (pOld)
        pOld->Close();
}

void CLinkSession::ShowMessage(const std::string& strText, MessageKind kind)
{
    if (m_onMessage)
        m_onMessage(strText, kind);
}

void CLinkSession::ShowLinkFailure()
{
    ShowMessage(LinkFailureText(), MessageKind::kLinkFailure);
}

// ---- connecting -------------------------------------------------------------------

bool CLinkSession::Connect(std::unique_ptr<ITransport> pTransport, const std::string& strOpenError)
{
    if (m_bConnected)
        return false;
    if (!pTransport) {
        SetLastError(strOpenError);
        ShowLinkFailure();
        return false;
    }
    ReplaceTransport(std::move(pTransport));
    SetLastError({});
    m_bFailurePosted = false;
    m_bIdentifying = true;
    // A new connection starts a new session of edits: the scene name read
    // next is the processor's and must survive until the first edit.
    m_state.m_bOutputDataSent = 0;
    {
        CommLock lock(m_state.m_csComm);
        m_cmd.ClearQueue();
        m_data.SetAllMarks(0);
        m_nTransferCounter = 0;
        m_bConnected = true;
        m_cmd.SetDeviceOpen(true);
        RequestDeviceInfo(false);
        m_cmd.ResetReceiver();
    }
    StartTransfers();
    return true;
}

void CLinkSession::StartTransfers()
{
    m_state.m_bDeviceAbnormal = 0;
    m_bUsbActive = 1;
    m_bConnected = true;
    m_thread.Start(m_bFirmwareMode ? CCommThread::kFirmware : CCommThread::kNormal);
}

void CLinkSession::StopTransfers()
{
    // Cleared first so a cycle waiting for a reply gives up at once instead
    // of sitting out its time-out.
    m_bUsbActive = 0;
    m_thread.Stop();
    m_bConnected = false;
}

void CLinkSession::EndCommThread()
{
    if (m_bConnected || HasTransport()) {
        StopTransfers();
        CloseUsbLink();
    }
    m_thread.End();
}

// Every way a link ends leaves firmware mode: a later connect must start
// normal transfers, not resume an update that has lost its processor.
void CLinkSession::CloseUsbLink()
{
    m_bFirmwareMode = false;
    ReplaceTransport(nullptr);
    CommLock lock(m_state.m_csComm);
    m_cmd.SetDeviceOpen(false);
    m_cmd.ResetReceiver();
    m_cmd.m_nProgressPos = 0;
    m_bConnected = false;
    m_bTransferRunning = 0;
    m_state.m_bOnline = 0;
    m_state.m_bDelayPresetChanged = 0;
    m_data.SetAllMarks(0);
    ModelLock modelLock(m_state.m_csModel);
    std::fill(std::begin(m_state.m_nLevelTable), std::end(m_state.m_nLevelTable), 0);
}

void CLinkSession::Disconnect(int nPauseMs)
{
    if (!m_bConnected && !HasTransport())
        return;
    StopTransfers();
    std::this_thread::sleep_for(std::chrono::milliseconds(nPauseMs));
    CloseUsbLink();
    if (m_onLinkEnded)
        m_onLinkEnded();
}

void CLinkSession::FailLink()
{
    StopTransfers();
    CloseUsbLink();
    {
        CommLock lock(m_state.m_csComm);
        m_cmd.ClearQueue();
    }
    if (m_onLinkEnded)
        m_onLinkEnded();
    ShowLinkFailure();
}

// ---- notifications ----------------------------------------------------------------

void CLinkSession::HandleNotification(int nMsg, intptr_t wParam, intptr_t /*lParam*/)
{
    switch (nMsg) {
    case kMsgIdentification:
        CheckIdentification();
        break;
    case kMsgLiveReadDone:
        OnSceneReadComplete(static_cast<int>(wParam));
        break;
    case kMsgVariant:
        m_state.m_nDeviceType = static_cast<int>(wParam);
        break;
    case kMsgBatchProgress:
    case kMsgAllScenesRead:  // the backup's read of every program has ended
        m_bTransferRunning = 0;
        break;
    case kMsgUsbFailure:
        if (m_bConnected || HasTransport())
            FailLink();
        break;
    case kMsgEmptyReply:
        if (m_bConnected) {
            StopTransfers();
            CloseUsbLink();
        }
        ShowMessage(UpdateFirmwareText());
        break;
    case kMsgSceneName:
        MarkSceneNameForSending();
        break;
    case kMsgDelayTable: {
        ModelLock lock(m_state.m_csModel);
        if (m_state.m_DelayTable[kDelaySelectedByte] > kDelayPositions - 1)
            m_state.m_DelayTable[kDelaySelectedByte] = kDelayPositions - 1;
        break;
    }
    case kMsgDataError:
        ShowMessage(DataErrorText());
        break;
    case kMsgFirmwareDone:
        FinishFirmwareUpdate();
        break;
    default:
        break;
    }
}

// Only the reply to the connect's own request counts: a device that keeps
// sending its identification must not restart the full read each time.
void CLinkSession::CheckIdentification()
{
    if (!m_bConnected || !m_bIdentifying)
        return;
    m_bIdentifying = false;
    bool bMatch = false;
    {
        ModelLock lock(m_state.m_csModel);
        bMatch = std::memcmp(m_state.m_IdString, kExpectedIdentification, kIdentificationPrefix) == 0;
    }
    if (!bMatch) {
        Disconnect();
        {
            CommLock lock(m_state.m_csComm);
            m_cmd.ClearQueue();
        }
        ShowLinkFailure();
        ModelLock lock(m_state.m_csModel);
        std::memset(m_state.m_IdString, ' ', kIdSize);
        return;
    }
    CommLock lock(m_state.m_csComm);
    RequestDeviceInfo(true);
    ReadScene(0);
}

// A completion that arrives after the link has closed is stale: loading it
// would put the editor back online with nobody connected.
void CLinkSession::OnSceneReadComplete(int nPreset)
{
    if (!m_bConnected)
        return;
    {
        CommLock lock(m_state.m_csComm);
        {
            ModelLock modelLock(m_state.m_csModel);
            m_confirmed.Reset(m_state);
            m_data.LoadFromImage(m_state.m_LiveImage, nPreset);
        }
        MarkSceneNameForSending();
        m_data.SetAllMarks(0);
        // The live settings now match the named program again: only a later
        // edit blanks the name.
        m_state.m_bOutputDataSent = 0;
        m_state.m_bOnline = 1;
        m_bTransferRunning = 0;
    }
    if (m_onLiveRead)
        m_onLiveRead(nPreset);
}

void CLinkSession::MarkSceneNameForSending()
{
    m_state.m_bSceneNameChanged = 1;
}

void CLinkSession::SetSceneName(const std::string& strName)
{
    {
        ModelLock lock(m_state.m_csModel);
        CopyFixed(m_state.m_LiveImage + kOffSceneName, kNameSize, strName.substr(0, kNameChars));
    }
    MarkSceneNameForSending();
}

bool CLinkSession::RelayFrame(const uint8_t* pFrame, int nLength, std::function<void(const uint8_t*, int)> onAnswer)
{
    if (!m_bConnected || nLength <= 0)
        return false;
    auto pData = std::make_unique<CSendData>(nLength);
    std::memcpy(pData->Frame(), pFrame, static_cast<size_t>(nLength));
    pData->m_onAnswer = std::move(onAnswer);
    CommLock lock(m_state.m_csComm);
    m_cmd.AddSendData(std::move(pData));
    return true;
}

WireState CLinkSession::ConfirmedWireState()
{
    CommLock lock(m_state.m_csComm);
    return m_confirmed.Bytes();
}

bool CLinkSession::HasPendingWork()
{
    CommLock lock(m_state.m_csComm);
    const CSendData* pHead = m_cmd.GetHead();
    const bool bOnlyPoll = m_cmd.GetCount() == 0 ||
                           (m_cmd.GetCount() == 1 && pHead->Frame()[kFoCommand] == kCmdRead &&
                            pHead->Frame()[kFoChannel] == kItemLevels && pHead->Frame()[kFoKind] == kKindSystem);
    return !bOnlyPoll || m_data.HasChanges();
}
