// The Venue window on the form: opened from a venue file (zr470 --venue, or
// Ctrl+Shift+V), its rooms' live status, and a double-click that connects
// the form to a room.
#include <QFileInfo>
#include <QMessageBox>
#include <QShortcut>

#include "ConnectionPanel.h"
#include "Processor.h"
#include "QM7100View.h"
#include "Strings.h"
#include "VenueDlg.h"

namespace {

const QString kVenueFilter = QStringLiteral("*.json");

}  // namespace

void CQM7100View::CreateVenueShortcut()
{
    auto* pShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), window());
    connect(pShortcut, &QShortcut::activated, this, &CQM7100View::OnOpenVenue);
}

void CQM7100View::OnOpenVenue()
{
    FileDialogRequest request;
    request.strFilter = kVenueFilter;
    request.strDefault = m_strCurrentDir + "/DataFile/" + kVenueFilter;
    request.strTitle = Tr(kTxtVenueOpenTitle);
    const QString strPath = Prompts().AskFile(request);
    if (!strPath.isEmpty())
        OpenVenue(strPath);
}

bool CQM7100View::OpenVenue(const QString& strPath)
{
    const VenueFileResult read = ReadVenueFile(strPath.toStdString());
    if (!read.bOk) {
        const QString strWhy = QString::fromStdString(read.strError);
        // Line 0: the file as a whole (unreadable, too large).
        ShowMessage(read.nLine > 0 ? Tr(kTxtVenueRefused).arg(strPath).arg(read.nLine).arg(strWhy)
                                   : Tr(kTxtVenueRefusedFile).arg(strPath, strWhy));
        return false;
    }
    if (m_pVenue)
        m_pVenue->deleteLater();
    m_pVenue = new CVenueDlg(window(), read.venue, VenueHost());
    m_pVenue->show();
    return true;
}

VenueDlgHost CQM7100View::VenueHost()
{
    VenueDlgHost host;
    host.askBackupFolder = [this] {
        FileDialogRequest request;
        request.bFolder = true;
        request.strDefault = m_strCurrentDir + "/DataFile";
        request.strTitle = Tr(kTxtVenueFolderTitle);
        return Prompts().AskFile(request);
    };
    host.askPresetFile = [this] {
        FileDialogRequest request;
        request.strFilter = QStringLiteral("*.ZR4C *.ZR4AC");
        request.strDefault = m_strCurrentDir + "/DataFile/*.ZR4C";
        return Prompts().AskFile(request);
    };
    host.confirm = [this](const QString& strQuestion) {
        return QMessageBox::question(m_pVenue, Tr(kTxtAppTitle), strQuestion, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
    host.showMessage = [this](const QString& strText) { ShowMessage(strText); };
    host.formDevice = [this] { return IsConnected() ? m_pConnection->Device() : QString(); };
    host.formStatus = [this] { return FormRoomStatus(); };
    host.connectTo = [this](const QString& strDevice) { ConnectTo(strDevice); };
    host.releaseForm = [this] {
        if (IsConnected()) {
            m_processor.Disconnect();
            AfterLinkEvent();
        }
    };
    return host;
}

RoomStatus CQM7100View::FormRoomStatus()
{
    RoomStatus status;
    status.strDevice = m_pConnection->Device().toStdString();
    status.bOnline = IsConnected();
    status.bFinished = true;
    status.strIdentification = m_processor.Identification();
    status.strSceneName = m_processor.SceneName();
    for (int n = 1; n <= 10; ++n)
        status.programNames[static_cast<size_t>(n - 1)] = m_processor.ProgramName(n);
    return status;
}

void CQM7100View::ConnectTo(const QString& strDevice)
{
    if (IsConnected()) {
        if (m_pConnection->Device() == strDevice)
            return;
        m_processor.Disconnect();
        AfterLinkEvent();
    }
    m_pConnection->SetDevice(strDevice);
    OnConnect();
}

CVenueDlg* CQM7100View::VenueWindow() const
{
    return m_pVenue;
}
