// The form and the link: the connection part's button, the full read after
// connecting, the scene name, and keeping the form in step with the link's
// state.
#include <QLineEdit>

#include "ConnectionPanel.h"
#include "DataDefine.h"
#include "EditHistory.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "PresetFileCommands.h"
#include "Processor.h"
#include "XPButton.h"
#include "QM7100View.h"
#include "RoomTuning.h"

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
    m_pConnection->Toggle();
    AfterLinkEvent();
}

CDisplayDlg* CQM7100View::ProgressDialog() const
{
    return m_pConnection->ProgressDialog();
}

// Runs after every notification and every message from the link: a closed
// link empties the name box and ends what waited for it.
void CQM7100View::AfterLinkEvent()
{
    if (!IsConnected()) {
        if (m_pConnection->ShownConnected())
            m_pSceneName->clear();
        m_pFiles->DropPendingRead();
        m_pRoom->DropPendingA();
    }
    m_pConnection->AfterLinkEvent();
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
    m_processor.NoteEdit();
}

void CQM7100View::SendSystemItem(int nItem, int nPreset)
{
    m_pSession->SendSystemItem(nItem, nPreset);
    m_processor.NoteEdit();
}
