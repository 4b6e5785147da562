// The program manager's buttons: Store, Recall and Delete act on the
// selected scene program on the processor; the PC group runs the form's
// preset-file commands.
#include <QMessageBox>
#include <QPushButton>

#include "BlockAddress.h"
#include "ChEnEdit.h"
#include "DataDefine.h"
#include "FormHost.h"
#include "Processor.h"
#include "ProgramDlg.h"

// ---- device group ------------------------------------------------------------------------

void CProgramDlg::OnStore()
{
    const QString strName = m_pName->text();
    // The field takes the name's Latin-1 bytes, as the processor keeps them.
    bool bQueued = false;
    const ProgramNameCheck check = m_host.Processor().StoreProgram(m_nProgram, strName.toLatin1().toStdString(), &bQueued);
    if (!AcceptName(check))
        return;
    SetRowName(m_nProgram, strName.trimmed());
    m_host.ShowSceneName();
    // Without a link this shows the link failure; the names above stay.
    m_host.AfterDeviceCommand();
}

bool CProgramDlg::AcceptName(ProgramNameCheck check)
{
    switch (check) {
    case ProgramNameCheck::kOk: return true;
    case ProgramNameCheck::kEmpty: m_host.ShowMessage(Tr(kTxtNameEmpty)); break;
    case ProgramNameCheck::kAllSpaces: RefuseName(kTxtNameAllSpaces); break;
    case ProgramNameCheck::kDoesNotFit: m_host.ShowMessage(QString::fromUtf8(CharLenErrorText())); break;
    case ProgramNameCheck::kTaken: RefuseName(kTxtNameTaken); break;
    }
    return false;
}

void CProgramDlg::RefuseName(TextId message)
{
    m_host.ShowMessage(Tr(message));
    m_pName->clear();
    m_pName->setFocus(Qt::OtherFocusReason);
}

void CProgramDlg::OnRecall()
{
    m_host.Processor().RecallProgram(m_nProgram);
    m_host.AfterDeviceCommand();
}

// Only the name goes; the program's blocks stay on the processor.
void CProgramDlg::OnDelete()
{
    const auto answer = QMessageBox::question(this, Tr(kTxtAppTitle), Tr(kTxtDeleteQuestion),
                                              QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok || !m_host.State().m_bOnline)
        return;
    m_host.Processor().DeleteProgram(m_nProgram);
    SetRowName(m_nProgram, QString());
    m_pName->clear();
}

// ---- PC group --------------------------------------------------------------------------------

void CProgramDlg::OnPcRecall()
{
    if (m_recallChoice.checkedId() != 0) {
        m_host.LoadScene();
        return;
    }
    if (m_host.LoadAllScenes())
        FillList();
}

void CProgramDlg::OnPcStore()
{
    if (m_storeChoice.checkedId() == 0)
        m_host.SaveAllScenes();
    else
        m_host.SaveScene();
}
