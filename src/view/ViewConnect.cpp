// Connecting, the full read after it, and keeping the form in step with the
// link's state (progress, Connect button, failures).
#include <QLineEdit>

#include "DataDefine.h"
#include "DisplayDlg.h"
#include "EditHistory.h"
#include "GradientProgressCtrl.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "Processor.h"
#include "QM7100View.h"
#include "XPButton.h"

namespace {
constexpr int kProgressPollMs = 50;
}

bool CQM7100View::IsConnected() const
{
    return m_pSession && m_pSession->IsConnected();
}

CProcessorState& CQM7100View::State() const
{
    return m_data.State();
}

void CQM7100View::OnConnect()
{
    if (IsConnected())
        Disconnect();
    else
        Connect();
}

void CQM7100View::Connect()
{
    ConnectDevice(*m_pSession, m_strDevice.toStdString());
    ShowConnectState();
    if (IsConnected())
        m_progressTimer.start(kProgressPollMs);
}

void CQM7100View::Disconnect()
{
    m_pSession->Disconnect();
    AfterLinkEvent();
}

void CQM7100View::ShowConnectState()
{
    m_pConnect->SetPressed(IsConnected());
}

// Runs after every notification and every message from the link: a closed
// link empties the name box, resets the progress and hides the progress
// window; a batch that just started shows it.
void CQM7100View::AfterLinkEvent()
{
    const bool bConnected = IsConnected();
    if (!bConnected) {
        m_progressTimer.stop();
        if (m_pConnect->IsPressed())
            m_pSceneName->clear();
        m_pProgress->SetPos(0);
        m_pDisplay->Hide();
        m_strAllScenesPath.clear();  // its read will not finish
    } else {
        UpdateProgress();
    }
    ShowConnectState();
}

void CQM7100View::UpdateProgress()
{
    if (!IsConnected())
        return;
    const int nRange = m_pSession->ProgressRange();
    if (nRange > 0 && m_pProgress->GetUpper() != nRange)
        m_pProgress->SetRange(0, nRange);
    m_pProgress->SetPos(m_pSession->ProgressPos());
    if (m_pSession->m_bTransferRunning && !m_pDisplay->isVisible())
        m_pDisplay->Show(ProgressOwner());
}

// A full read at connect starts a new history: the processor's state is
// then the truth. A recall is one step.
void CQM7100View::OnLiveReadDone(int nPreset)
{
    if (!IsConnected())
        return;
    RefreshStrip();
    ShowSceneName();
    if (nPreset == 0) {
        m_pHistory->Restart();
        return;
    }
    m_pHistory->NameNextStep(Tr(kTxtStepRecall).arg(nPreset), true);
    m_pHistory->Settle();
}

void CQM7100View::ShowSceneName()
{
    m_pSceneName->setText(QString::fromStdString(m_processor.SceneName()));
    m_pSession->MarkSceneNameForSending();
}

void CQM7100View::SetSceneName(const QString& strName)
{
    m_pSession->SetSceneName(strName.left(kNameChars).toStdString());
    ShowSceneName();
}

void CQM7100View::SendSystemItem(int nItem, int nPreset)
{
    m_pSession->SendSystemItem(nItem, nPreset);
}
