// The Venue window's operations: backup, push and difference, each on a job.
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <utility>

#include "Strings.h"
#include "VenueDiffDlg.h"
#include "VenueDlg.h"
#include "VenueJob.h"

namespace {

QString FromStd(const std::string& str)
{
    return QString::fromStdString(str);
}

TextId FailureText(RoomHolds holds)
{
    switch (holds) {
    case RoomHolds::kOld: return kTxtVenueFailedOld;
    case RoomHolds::kNew: return kTxtVenueFailedNew;
    case RoomHolds::kUnknown: break;
    }
    return kTxtVenueFailedUnknown;
}

}  // namespace

void CVenueDlg::RunJob(const std::vector<size_t>& rooms, bool bNeedsFormRoom, Work work,
                       std::function<void(size_t, const RoomResult&)> onFinished)
{
    if (m_job && !m_bStatusJob)
        return;
    m_job.reset();  // a status round gives way; it holds no results
    const int nFormRoom = FormRoom();
    if (bNeedsFormRoom && nFormRoom >= 0 && std::count(rooms.begin(), rooms.end(), size_t(nFormRoom))) {
        m_strReleasedDevice = m_host.formDevice();
        m_host.releaseForm();
    }
    m_jobRooms = rooms;
    std::vector<VenueRoom> chosen;
    for (size_t i : rooms) {
        chosen.push_back(m_venue.rooms[i]);
        m_bars[i]->setValue(0);
        SetCell(i, kColResult, QString());
    }
    CVenueJob::Receivers receivers;
    receivers.progress = [this](size_t nRoom, int nPercent) { m_bars[m_jobRooms[nRoom]]->setValue(nPercent); };
    receivers.status = [this](size_t nRoom, const RoomStatus& status) { ShowStatus(m_jobRooms[nRoom], status); };
    receivers.finished = [this, onFinished](size_t nRoom, const RoomResult& result) {
        if (onFinished)
            onFinished(m_jobRooms[nRoom], result);
    };
    receivers.done = [this] { AfterJob(); };
    m_job = std::make_unique<CVenueJob>(this, std::move(receivers));
    m_bStatusJob = false;
    SetBusy(true);
    m_job->Start([chosen, work](const std::atomic<bool>& bStop, IVenueObserver* pObserver) {
        work(chosen, bStop, pObserver);
    });
}

void CVenueDlg::AfterJob()
{
    m_job.reset();
    SetBusy(false);
    if (auto afterJob = std::exchange(m_afterJob, {}))
        afterJob();
    if (!m_strReleasedDevice.isEmpty()) {
        m_host.connectTo(m_strReleasedDevice);
        m_strReleasedDevice.clear();
    }
    ShowFormRoom();
}

void CVenueDlg::Stop()
{
    if (m_job)
        m_job->RequestStop();
}

void CVenueDlg::ShowResult(size_t nRoom, const RoomResult& result, bool bPush)
{
    QString strText;
    if (result.bOk)
        strText = bPush ? Tr(kTxtVenueVerified) : Tr(kTxtVenueSaved).arg(FromStd(result.file.filename().string()));
    else if (!result.bFinished)
        strText = Tr(kTxtVenueStopped);
    else
        strText = Tr(bPush ? FailureText(result.holds) : kTxtVenueFailed).arg(FromStd(result.strReason));
    SetCell(nRoom, kColResult, strText);
    m_pTable->item(static_cast<int>(nRoom), kColResult)->setToolTip(strText);
    m_pTable->item(static_cast<int>(nRoom), kColResult)
        ->setForeground(result.bOk ? palette().color(QPalette::Text) : QColor(176, 0, 0));
    m_bars[nRoom]->setValue(result.bOk ? 100 : 0);
}

void CVenueDlg::BackUp()
{
    const QString strFolder = m_host.askBackupFolder();
    if (strFolder.isEmpty())
        return;
    std::vector<size_t> rooms(m_venue.rooms.size());
    for (size_t i = 0; i < rooms.size(); ++i)
        rooms[i] = i;
    const std::filesystem::path dir = strFolder.toStdString();
    RunJob(
        rooms, true,
        [dir](const std::vector<VenueRoom>& chosen, const std::atomic<bool>& bStop, IVenueObserver* pObserver) {
            VenueBackup(chosen, dir, bStop, pObserver);
        },
        [this](size_t nRoom, const RoomResult& result) { ShowResult(nRoom, result, false); });
}

void CVenueDlg::Push()
{
    const std::vector<size_t> rooms = ChosenRooms();
    if (rooms.empty()) {
        m_host.showMessage(Tr(kTxtVenueChooseRooms));
        return;
    }
    const QString strFile = m_host.askPresetFile();
    if (strFile.isEmpty())
        return;
    const QString strQuestion = Tr(kTxtVenuePushQuestion).arg(strFile).arg(rooms.size());
    if (!m_host.confirm(strQuestion))
        return;
    const std::filesystem::path file = strFile.toStdString();
    RunJob(
        rooms, true,
        [file](const std::vector<VenueRoom>& chosen, const std::atomic<bool>& bStop, IVenueObserver* pObserver) {
            VenuePush(chosen, file, bStop, pObserver);
        },
        [this](size_t nRoom, const RoomResult& result) { ShowResult(nRoom, result, true); });
}

void CVenueDlg::Compare()
{
    const std::vector<size_t> rooms = ChosenRooms();
    if (rooms.empty() || rooms.size() > 2) {
        m_host.showMessage(Tr(kTxtVenueCompareHow));
        return;
    }
    DiffSide a = DiffSide::Room(m_venue.rooms[rooms[0]]);
    DiffSide b;
    if (rooms.size() == 2) {
        b = DiffSide::Room(m_venue.rooms[rooms[1]]);
    } else {
        const QString strFile = m_host.askPresetFile();
        if (strFile.isEmpty())
            return;
        b = DiffSide::File(strFile.toStdString());
    }
    auto pResult = std::make_shared<DiffResult>();
    RunJob(
        rooms, true,
        [a, b, pResult](const std::vector<VenueRoom>&, const std::atomic<bool>& bStop, IVenueObserver*) {
            *pResult = VenueDiff(a, b, bStop);
        },
        {});
    // The job's end shows the table; its results are the difference's.
    m_afterJob = [this, a, b, pResult] {
        ShowDifference(FromStd(a.Title()), FromStd(b.Title()), *pResult);
    };
}

void CVenueDlg::ShowDifference(const QString& strA, const QString& strB, const DiffResult& result)
{
    if (!result.bOk) {
        if (!result.strError.empty())
            m_host.showMessage(Tr(kTxtVenueCompareFailed).arg(FromStd(result.strError)));
        return;
    }
    m_pDiff = new CVenueDiffDlg(this, strA, strB, result);
    m_pDiff->setAttribute(Qt::WA_DeleteOnClose);
    m_pDiff->show();
}

CVenueDiffDlg* CVenueDlg::Difference() const
{
    return m_pDiff;
}
