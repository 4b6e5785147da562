#include "FormPrompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

#include "GlobalData.h"
#include "Strings.h"

CFormPrompts::CFormPrompts(QWidget* pParent, std::function<void(const QString&)> showSelfClosing)
    : m_pParent(pParent), m_showSelfClosing(std::move(showSelfClosing))
{
}

QString CFormPrompts::AskFile(const FileDialogRequest& request)
{
    QFileDialog dialog(m_pParent);
    const QFileInfo proposed(request.strDefault);
    dialog.setDirectory(proposed.path());
    if (!proposed.fileName().contains('*'))
        dialog.selectFile(proposed.fileName());
    if (!request.strTitle.isEmpty())
        dialog.setWindowTitle(request.strTitle);
    dialog.setNameFilter(request.strFilter);
    if (request.bFolder) {
        dialog.setDirectory(request.strDefault);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else if (request.bSave) {
        // A save must be able to name a new file; an existing one is
        // replaced only after the dialog has asked.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        static const QRegularExpression s_suffix(QStringLiteral("\\*\\.(\\w+)"));  // "*.ZR4C", "Excel(*.xlsx)"
        dialog.setDefaultSuffix(s_suffix.match(request.strFilter).captured(1));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

QStringList CFormPrompts::AskFiles(const FileDialogRequest& request)
{
    return QFileDialog::getOpenFileNames(m_pParent, request.strTitle, QFileInfo(request.strDefault).path(),
                                         request.strFilter);
}

void CFormPrompts::ShowMessage(const QString& strText, MessageKind kind)
{
    if (!g_bChinese && kind == MessageKind::kLinkFailure) {
        m_showSelfClosing(strText);
        return;
    }
    QMessageBox::information(m_pParent, Tr(kTxtAppTitle), strText);
}

bool CFormPrompts::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
