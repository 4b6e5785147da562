#include "ProcessorConversation.h"

#include <algorithm>
#include <iterator>

#include "KTV_Data.h"
#include "LinkTexts.h"
#include "Notify.h"
#include "Processor.h"
#include "ProcessorState.h"

CProcessorConversation::CProcessorConversation(CProcessor& processor, const std::atomic<bool>* pStop)
    : m_processor(processor), m_session(processor.Session()),
      m_pPreviousSink(processor.State().m_pNotifySink.exchange(&m_queue)), m_pStop(pStop)
{
    m_session.m_onMessage = [this](const std::string& strText, MessageKind) { m_messages.push_back(strText); };
}

CProcessorConversation::~CProcessorConversation()
{
    Close();
    m_session.m_onMessage = nullptr;
    m_session.State().m_pNotifySink = m_pPreviousSink;
}

bool CProcessorConversation::Open(const std::string& strDevice)
{
    if (!m_processor.Connect(strDevice))
        return false;
    m_strDescription = m_session.DeviceDescription();
    if (!WaitFor([this] { return m_session.State().m_bOnline.load() != 0; })) {
        if (IdentificationRejected())
            m_strDetail = "the processor did not identify as " + std::string(kExpectedIdentification);
        return false;
    }
    return Drain();
}

bool CProcessorConversation::Drain()
{
    // A failed link clears its queue and marks, so "nothing pending" alone
    // is no proof that anything arrived.
    if (!WaitFor([this] { return !m_session.HasPendingWork(); }) || !m_session.IsConnected()) {
        m_bLost = m_bLost || !m_session.IsConnected();
        return false;
    }
    m_ledger.Clear();
    return true;
}

void CProcessorConversation::RecordEdit(const CEditLedger::Edit& edit, const std::function<void()>& apply)
{
    const WireState before = WireStateOfModel(m_session.Data());
    apply();
    m_ledger.Record(edit, before, WireStateOfModel(m_session.Data()));
}

std::vector<CEditLedger::Edit> CProcessorConversation::Unconfirmed()
{
    return m_ledger.Unconfirmed(m_session.ConfirmedWireState());
}

bool CProcessorConversation::WaitForNotification(int nMsg, int nLParam, int nCount)
{
    return WaitFor([=, this] { return Seen(nMsg, nLParam) >= nCount; });
}

bool CProcessorConversation::WaitFor(const std::function<bool()>& bDone)
{
    bool bLost = false;
    const bool bHeld = PumpUntil(
        m_queue, m_session,
        [&] {
            if (bDone())
                return true;
            m_bStopped = m_pStop && m_pStop->load();
            bLost = !m_session.IsConnected();
            return bLost || m_bStopped;
        },
        kWaitMs, [this](const PostedNotification& note) {
            if (note.nMsg != kMsgLevels)  // the idle poll's answers say nothing here
                m_seen.push_back(note);
        });
    if (bHeld && !bLost && !m_bStopped)
        return true;
    m_bLost = bLost;
    if (m_bStopped) {
        m_strDetail = "stopped";
        return false;
    }
    if (!bLost && m_strDetail.empty())
        m_strDetail = "no answer from " + m_strDescription + " within " + std::to_string(kWaitMs / 1000) + " s";
    return false;
}

CProcessorConversation::Sent CProcessorConversation::SendSceneFile(std::span<const uint8_t> bytes,
                                                                  const std::string& strTitle)
{
    const int nBefore = Seen(kMsgBatchProgress, 1);
    bool bQueued = false;
    if (!m_processor.SendSceneFile(bytes, strTitle, &bQueued).bOk)
        return Sent::kRefused;
    // The blocks and the closing mute bracket each end a write batch.
    if (!bQueued || !WaitForNotification(kMsgBatchProgress, 1, nBefore + 2))
        return Sent::kLinkFailed;
    return Sent::kDone;
}

CProcessorConversation::Sent CProcessorConversation::SendAllScenesFile(std::span<const uint8_t> bytes)
{
    const int nBefore = Seen(kMsgBatchProgress, 1);
    bool bQueued = false;
    if (!m_processor.SendAllScenesFile(bytes, &bQueued).bOk)
        return Sent::kRefused;
    if (!bQueued || !WaitForNotification(kMsgBatchProgress, 1, nBefore + 1))
        return Sent::kLinkFailed;
    return Sent::kDone;
}

bool CProcessorConversation::ReadAllScenes()
{
    const int nBefore = Seen(kMsgAllScenesRead, -1);
    return m_processor.ReadAllScenes() && WaitForNotification(kMsgAllScenesRead, -1, nBefore + 1);
}

void CProcessorConversation::Close()
{
    m_processor.Disconnect();
}

std::string CProcessorConversation::Failure() const
{
    std::string strLine;
    for (const std::string& strMessage : m_messages) {
        if (strLine.find(strMessage) == std::string::npos)
            strLine += (strLine.empty() ? "" : " ") + strMessage;
    }
    // A lost link whose only word was the plain failure message gets a hint
    // of which link it was; a message of its own (a firmware that sent an
    // empty reply, for instance) says enough.
    const bool bPlain = strLine.empty() || strLine == LinkFailureText();
    if (strLine.empty())
        strLine = LinkFailureText();
    std::string strDetail = m_strDetail.empty() ? m_session.LastError() : m_strDetail;
    if (strDetail.empty() && m_bLost && bPlain)
        strDetail = "the link to " + m_strDescription + " failed";
    if (!strDetail.empty())
        strLine += " (" + strDetail + ")";
    return strLine;
}

// The session blanks a rejected identification with spaces.
bool CProcessorConversation::IdentificationRejected() const
{
    if (Seen(kMsgIdentification, -1) == 0 || m_session.IsConnected())
        return false;
    const std::string strId = m_processor.Identification();
    return strId.size() == static_cast<size_t>(kIdSize) &&
           std::all_of(strId.begin(), strId.end(), [](char c) { return c == ' '; });
}

int CProcessorConversation::Seen(int nMsg, int nLParam) const
{
    int n = 0;
    for (const PostedNotification& note : m_seen)
        n += (note.nMsg == nMsg && (nLParam < 0 || note.lParam == nLParam)) ? 1 : 0;
    return n;
}
