// The form's side of the program manager: opening it, and the scene
// sequences it starts, shown with the progress window over it.
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

