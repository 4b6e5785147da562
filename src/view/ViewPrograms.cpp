// The form's side of the program manager: opening it, and the scene
// sequences it starts, shown with the progress window over it.
#include "CommLock.h"
#include "DisplayDlg.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "ProgramDlg.h"
#include "QM7100View.h"

void CQM7100View::OnProgram()
{
    CProgramDlg dialog(*this, this);
    m_pProgramDlg = &dialog;
    dialog.exec();
    m_pProgramDlg = nullptr;
}

CProgramDlg* CQM7100View::ProgramDialog() const
{
    return m_pProgramDlg.data();
}

QWidget* CQM7100View::ProgressOwner()
{
    if (m_pProgramDlg)
        return m_pProgramDlg.data();
    return this;
}

bool CQM7100View::ReadScene(int nPreset)
{
    const bool bQueued = m_pSession->ReadScene(nPreset);
    AfterLinkEvent();
    return bQueued;
}

bool CQM7100View::WriteScene(int nPreset, bool bFromModel)
{
    bool bQueued = false;
    {
        // The link must not scan between the write and the marks' clearing.
        CommLock lock(g_csComm);
        bQueued = m_pSession->WriteScene(nPreset, bFromModel);
        if (bQueued && bFromModel)
            ForgetWrittenChanges();
    }
    AfterLinkEvent();
    return bQueued;
}

// An edit still marked when the scene is written from the model travels in
// the scene's blocks. Sent again after them, it would count as an edit made
// after the store and blank the name just stored.
void CQM7100View::ForgetWrittenChanges()
{
    m_data.Music().SettleFrequencies();
    for (int k = 0; k < kChannels; ++k)
        m_data.Output(k).SettleFrequencies();
    m_data.SetAllMarks(0);
}
