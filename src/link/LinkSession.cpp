#include "LinkSession.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "CommLock.h"
#include "DataDefine.h"
#include "Frame.h"
#include "FrameBuilder.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkTexts.h"
#include "Notify.h"

std::atomic<int> g_bUsbActive{0};
std::atomic<int> g_bTransferRunning{0};

CLinkSession::CLinkSession(CKTV_Data& data) : m_data(data)
{
    m_thread.Create([this] { NormalCycle(); }, [this] { return FirmwareCycle(); });
    m_cmd.m_onFirmwareProgress = [this](const CSendData& head) { OnFirmwareReply(head); };
}

CLinkSession::~CLinkSession()
{
    EndCommThread();
}

std::string CLinkSession::DeviceDescription() const
{
    return m_pTransport ? m_pTransport->Describe() : std::string();
}

void CLinkSession::ShowMessage(const std::string& strText)
{
    if (m_onMessage)
        m_onMessage(strText);
}

void CLinkSession::ShowLinkFailure()
{
    ShowMessage(LinkFailureText());
}

// ---- connecting -------------------------------------------------------------------

bool CLinkSession::Connect(std::unique_ptr<ITransport> pTransport, const std::string& strOpenError)
{
    if (m_bConnected)
        return false;
    if (!pTransport) {
        m_strLastError = strOpenError;
        ShowLinkFailure();
        return false;
    }
    m_pTransport = std::move(pTransport);
    m_strLastError.clear();
    m_bFailurePosted = false;
    {
        CommLock lock(g_csComm);
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
    g_bDeviceAbnormal = 0;
    g_bUsbActive = 1;
    m_bConnected = true;
    m_thread.Start(m_bFirmwareMode ? CCommThread::kFirmware : CCommThread::kNormal);
}

void CLinkSession::StopTransfers()
{
    // Cleared first so a cycle waiting for a reply gives up at once instead
    // of sitting out its time-out.
    g_bUsbActive = 0;
    m_thread.Stop();
    m_bConnected = false;
}

void CLinkSession::EndCommThread()
{
    if (m_bConnected || m_pTransport) {
        StopTransfers();
        CloseUsbLink();
    }
    m_thread.End();
}

void CLinkSession::CloseUsbLink()
{
    if (m_pTransport) {
        m_pTransport->Close();
        m_pTransport.reset();
    }
    CommLock lock(g_csComm);
    m_cmd.SetDeviceOpen(false);
    m_cmd.ResetReceiver();
    m_cmd.m_nProgressPos = 0;
    m_bConnected = false;
    g_bTransferRunning = 0;
    g_bOnline = 0;
    g_bDelayPresetChanged = 0;
    m_data.SetAllMarks(0);
    ModelLock modelLock(g_csModel);
    std::fill(std::begin(g_nLevelTable), std::end(g_nLevelTable), 0);
}

void CLinkSession::Disconnect(int nPauseMs)
{
    if (!m_bConnected && !m_pTransport)
        return;
    StopTransfers();
    std::this_thread::sleep_for(std::chrono::milliseconds(nPauseMs));
    CloseUsbLink();
}

void CLinkSession::FailLink(const std::string& strMessage)
{
    StopTransfers();
    m_bFirmwareMode = false;
    CloseUsbLink();
    {
        CommLock lock(g_csComm);
        m_cmd.ClearQueue();
    }
    ShowMessage(strMessage);
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
        g_nDeviceType = static_cast<int>(wParam);
        break;
    case kMsgBatchProgress:
        g_bTransferRunning = 0;
        break;
    case kMsgUsbFailure:
        if (m_bConnected || m_pTransport)
            FailLink(LinkFailureText());
        break;
    case kMsgEmptyReply:
        if (m_bConnected) {
            StopTransfers();
            CloseUsbLink();
        }
        ShowMessage(UpdateFirmwareText());
        break;
    case kMsgSceneName:
        ShowSceneName();
        break;
    case kMsgDelayTable: {
        ModelLock lock(g_csModel);
        if (g_DelayTable[kDelaySelectedByte] > kDelayPositions - 1)
            g_DelayTable[kDelaySelectedByte] = kDelayPositions - 1;
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

void CLinkSession::CheckIdentification()
{
    if (!m_bConnected)
        return;
    bool bMatch = false;
    {
        ModelLock lock(g_csModel);
        bMatch = std::memcmp(g_IdString, kExpectedIdentification, kIdentificationPrefix) == 0;
    }
    if (!bMatch) {
        Disconnect();
        {
            CommLock lock(g_csComm);
            m_cmd.ClearQueue();
        }
        ShowLinkFailure();
        ModelLock lock(g_csModel);
        std::memset(g_IdString, ' ', kIdSize);
        return;
    }
    CommLock lock(g_csComm);
    RequestDeviceInfo(true);
    ReadScene(0);
}

void CLinkSession::OnSceneReadComplete(int nPreset)
{
    CommLock lock(g_csComm);
    {
        ModelLock modelLock(g_csModel);
        m_data.LoadFromImage(g_LiveImage, nPreset);
    }
    ShowSceneName();
    m_data.SetAllMarks(0);
    g_bOnline = 1;
    g_bTransferRunning = 0;
}

void CLinkSession::ShowSceneName()
{
    g_bSceneNameChanged = 1;
}

void CLinkSession::SetSceneName(const std::string& strName)
{
    {
        ModelLock lock(g_csModel);
        CopyFixed(g_LiveImage + kOffSceneName, kNameSize, strName.substr(0, 13));
    }
    ShowSceneName();
}

bool CLinkSession::HasPendingWork()
{
    CommLock lock(g_csComm);
    const CSendData* pHead = m_cmd.GetHead();
    const bool bOnlyPoll = m_cmd.GetCount() == 0 ||
                           (m_cmd.GetCount() == 1 && pHead->Frame()[kFoCommand] == kCmdRead &&
                            pHead->Frame()[kFoChannel] == kItemLevels && pHead->Frame()[kFoKind] == kKindSystem);
    return !bOnlyPoll || m_data.HasChanges();
}
