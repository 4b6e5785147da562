// The program manager's buttons: Store, Recall and Delete act on the
// selected scene program on the processor; the PC group runs the form's
// preset-file commands.
#include <QMessageBox>
#include <QPushButton>
#include <cstring>

#include "BlockAddress.h"
#include "ChEnEdit.h"
#include "DataDefine.h"
#include "FormHost.h"
#include "ProcessorState.h"
#include "ProgramDlg.h"

// ---- device group ------------------------------------------------------------------------

void CProgramDlg::OnStore()
{
    const QString strName = m_pName->text();
    uint8_t field[kNameSize] = {};
    if (!TakeName(strName, field))
        return;
    {
        ModelLock lock(m_host.State().m_csModel);
        std::memcpy(m_host.State().SceneEntry(m_nProgram), field, kNameSize);
        std::memcpy(m_host.State().m_LiveImage + kOffSceneName, field, kNameSize);
    }
    SetRowName(m_nProgram, strName.trimmed());
    m_host.ShowSceneName();
    // Without a link this shows the link failure; the names above stay.
    m_host.WriteScene(m_nProgram, true);
}

bool CProgramDlg::TakeName(const QString& strName, uint8_t* pField)
{
    if (strName.isEmpty()) {
        m_host.ShowMessage(Tr(kTxtNameEmpty));
        return false;
    }
    if (strName.trimmed().isEmpty()) {
        RefuseName(kTxtNameAllSpaces);
        return false;
    }
    // The field takes printable ASCII only: the name's bytes as the
    // processor keeps them.
    if (!CopyFixed(pField, kNameSize, strName.toLatin1().toStdString())) {
        m_host.ShowMessage(QString::fromUtf8(CharLenErrorText()));
        return false;
    }
    if (IsDuplicateName(m_host.State(), m_nProgram, pField)) {
        RefuseName(kTxtNameTaken);
        return false;
    }
    return true;
}

void CProgramDlg::RefuseName(TextId message)
{
    m_host.ShowMessage(Tr(message));
    m_pName->clear();
    m_pName->setFocus(Qt::OtherFocusReason);
}

// m_host.State().m_bOnline is tested again here: a click while a recall is still running
// (the flag cleared) must not start another.
void CProgramDlg::OnRecall()
{
    if (!m_host.State().m_bOnline)
        return;
    m_host.ReadScene(m_nProgram);
    // The recalled blocks carry no name: the program's becomes the live one.
    ModelLock lock(m_host.State().m_csModel);
    std::memcpy(m_host.State().m_LiveImage + kOffSceneName, m_host.State().SceneEntry(m_nProgram), kNameSize);
}

// Only the name goes; the program's blocks stay on the processor.
void CProgramDlg::OnDelete()
{
    const auto answer = QMessageBox::question(this, Tr(kTxtAppTitle), Tr(kTxtDeleteQuestion),
                                              QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok || !m_host.State().m_bOnline)
        return;
    {
        ModelLock lock(m_host.State().m_csModel);
        std::memset(m_host.State().SceneEntry(m_nProgram), 0, kNameSize);
    }
    SetRowName(m_nProgram, QString());
    m_pName->clear();
    m_host.SendSystemItem(kItemSceneName, m_nProgram);
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
