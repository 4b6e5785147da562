#include "FormDialog.h"

#include <QPushButton>

#include "AppGlobals.h"
#include "ControlName.h"

CFormDialog::CFormDialog(QWidget* pParent, const QString& strName, int nWidth, int nHeight,
                         CCommitKeys::Escape escape)
    : QDialog(pParent, kFixedDialogFrame)
{
    setObjectName(strName);
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, g_brushDialog);
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(g_fontMedium);
    setFixedSize(nWidth, nHeight);
    CCommitKeys::Install(*this, escape);
}

QPushButton* CFormDialog::AddButton(int nId, TextId caption, const QRect& rect)
{
    auto* pButton = new QPushButton(Tr(caption), this);
    pButton->setObjectName(ControlName(nId));
    pButton->setGeometry(rect);
    pButton->setAutoDefault(false);
    pButton->setDefault(false);
    return pButton;
}
