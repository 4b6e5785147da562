// The form's side of the parameter report: the dialog, and the file its
// export asks for.
#include "DataViewDlg.h"
#include "QM7100View.h"

void CQM7100View::OnReport()
{
    CDataViewDlg dialog(m_data, *this, this);
    dialog.exec();
}

QString CQM7100View::AskExportFile()
{
    FileDialogRequest request;
    request.bSave = true;
    request.strFilter = QStringLiteral("Excel(*.xlsx)");
    request.strDefault = m_strCurrentDir + QStringLiteral("/MusicFile/ZR470");
    request.strTitle = Tr(kTxtExportTitle);
    return Prompts().AskFile(request);
}
