// The form's side of the Help dialog and the firmware update: opening the
// dialogs, the help document, the firmware file and the update's start and
// cancel. The transfer runs on the communication thread (LinkSession).
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "FirmwareFile.h"
#include "LinkSession.h"
#include "Processor.h"
#include "QM7100View.h"
#include "ConnectionPanel.h"
#include "UpgradeDlg.h"
#include "VersionDlg.h"

void CQM7100View::OnAbout()
{
    CVersionDlg version(*this, this);
    if (version.exec() != QDialog::Accepted)
        return;
    CUpgradeDlg upgrade(*this, this);
    m_pUpgradeDlg = &upgrade;
    upgrade.exec();
    m_pUpgradeDlg = nullptr;
    m_pSession->LeaveFirmwareMode();
    AfterLinkEvent();
}

CUpgradeDlg* CQM7100View::UpgradeDialog() const
{
    return m_pUpgradeDlg.data();
}

// Beside the program (a relocated install such as a .deb unpacked anywhere)
// first, then where this build installs it.
QString CQM7100View::FindManual()
{
    const QStringList candidates = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../" ZR470_DOC_RELDIR "/manual/index.html"),
        QStringLiteral(ZR470_DOC_DIR "/manual/index.html"),
    };
    for (const QString& strPath : candidates) {
        if (QFileInfo::exists(strPath))
            return QFileInfo(strPath).canonicalFilePath();
    }
    return {};
}

bool CQM7100View::OpenHelp()
{
    for (const QString& strPath : {m_strHelpPath, m_strManualPath}) {
        if (strPath.isEmpty() || !QFileInfo::exists(strPath))
            continue;
        const QUrl url = QUrl::fromLocalFile(strPath);
        if (Prompts().OpenUrl(url))
            return true;
    }
    ShowMessage(Tr(kTxtNoHelpFile));
    return false;
}

QString CQM7100View::BrowseFirmware()
{
    const FileDialogRequest request{false, QStringLiteral("*.bin"), m_settings.m_strPath, {}};
    const QString strPath = Prompts().AskFile(request);
    if (strPath.isEmpty())
        return {};
    m_settings.m_strName = strPath;
    m_settings.m_strPath = m_strFirmwarePattern;
    m_settings.Save();
    return strPath;
}

bool CQM7100View::UpdateFirmware(const QString& strPath)
{
    if (m_pSession->IsFirmwareMode())
        return false;
    m_settings.m_strName = strPath;
    FirmwareFileResult file = LoadFirmwareFile(QFile::encodeName(strPath).toStdString());
    if (!file.update) {
        ShowMessage(QString::fromStdString(FirmwareFileErrorText(file.error)));
        // A refused file is not offered again, in this run or the next.
        m_settings.m_strName.clear();
        m_settings.Save();
        return false;
    }
    const bool bStarted =
        m_processor.StartFirmwareUpdate(std::move(*file.update), m_pConnection->Device().toStdString());
    AfterLinkEvent();
    return bStarted;
}

void CQM7100View::CancelFirmwareUpdate()
{
    m_processor.CancelFirmwareUpdate();
    AfterLinkEvent();
}
