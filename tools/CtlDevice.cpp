#include "CtlDevice.h"

#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkTexts.h"
#include "Notify.h"

CCtlDevice::CCtlDevice(CKTV_Data& data)
    : m_pPreviousSink(g_pNotifySink.exchange(&m_queue)), m_session(data)
{
    m_session.m_onMessage = [this](const std::string& strText) { m_messages.push_back(strText); };
}

CCtlDevice::~CCtlDevice()
{
    Close();
    g_pNotifySink = m_pPreviousSink;
}

bool CCtlDevice::Open(const std::string& strDevice)
{
    if (!m_session.Connect(strDevice)) {
        m_strDetail = m_session.LastError();
        return false;
    }
    if (!WaitFor([] { return g_bOnline.load() != 0; })) {
        if (m_strDetail.empty() && Seen(kMsgIdentification, -1) > 0 && !m_session.IsConnected())
            m_strDetail = "the processor did not identify as " + std::string(kExpectedIdentification);
        return false;
    }
    return Drain();
}

bool CCtlDevice::Drain()
{
    return WaitFor([this] { return !m_session.HasPendingWork(); });
}

bool CCtlDevice::WaitForNotification(int nMsg, int nLParam, int nCount)
{
    return WaitFor([=, this] { return Seen(nMsg, nLParam) >= nCount; });
}

bool CCtlDevice::WaitFor(const std::function<bool()>& bDone)
{
    bool bLost = false;
    const bool bHeld = PumpUntil(
        m_queue, m_session,
        [&] {
            if (bDone())
                return true;
            bLost = !m_session.IsConnected();
            return bLost;
        },
        kWaitMs, [this](const PostedNotification& note) {
            if (note.nMsg != kMsgLevels)  // the idle poll's answers say nothing here
                m_seen.push_back(note);
        });
    if (bHeld && !bLost)
        return true;
    if (m_strDetail.empty())
        m_strDetail = bLost ? m_session.LastError() : "no answer from the processor within " +
                                                          std::to_string(kWaitMs / 1000) + " s";
    return false;
}

void CCtlDevice::Close()
{
    if (m_session.IsConnected())
        m_session.Disconnect();
}

std::string CCtlDevice::Failure() const
{
    std::string strLine;
    for (const std::string& strMessage : m_messages) {
        if (strLine.find(strMessage) == std::string::npos)
            strLine += (strLine.empty() ? "" : " ") + strMessage;
    }
    if (strLine.empty())
        strLine = LinkFailureText();
    if (!m_strDetail.empty())
        strLine += " (" + m_strDetail + ")";
    return strLine;
}

int CCtlDevice::Seen(int nMsg, int nLParam) const
{
    int n = 0;
    for (const PostedNotification& note : m_seen)
        n += (note.nMsg == nMsg && (nLParam < 0 || note.lParam == nLParam)) ? 1 : 0;
    return n;
}
