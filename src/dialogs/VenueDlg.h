// The Venue window: every room of a venue file with its live status, the
// backup of every room, a file pushed to the chosen rooms, and the
// difference of two rooms or of a room and a preset file. A double-click
// connects the main form to that room.
//
// Each operation runs on a CVenueJob, one link per room; the window shows
// what the rooms report as it comes. The room the main form holds is shown
// from the form, and the form lets go of it for an operation on that room
// and takes it again afterwards: a processor serves one link at a time.
//
// Modeless, owned by the main form's window. User-interface thread only.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "Strings.h"
#include "VenueDiff.h"
#include "VenueFile.h"
#include "VenueRun.h"

class CVenueDiffDlg;
class CVenueJob;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// What the window needs of the editor around it.
struct VenueDlgHost {
    std::function<QString()> askBackupFolder;              // empty when cancelled
    std::function<QString()> askPresetFile;                // a .ZR4C or .ZR4AC; empty when cancelled
    std::function<bool(const QString&)> confirm;
    std::function<void(const QString&)> showMessage;
    std::function<QString()> formDevice;                   // the device the form holds; empty when none
    std::function<RoomStatus()> formStatus;                // what the form knows of it
    std::function<void(const QString& strDevice)> connectTo;
    std::function<void()> releaseForm;                     // the form closes its link
};

class CVenueDlg : public QDialog {
    Q_OBJECT
public:
    enum Column { kColRoom, kColStatus, kColScene, kColIdentification, kColProgress, kColResult, kColCount };
    static constexpr int kRefreshMs = 10000;

    CVenueDlg(QWidget* pParent, Venue venue, VenueDlgHost host);
    ~CVenueDlg() override;

    QTableWidget* Table() const { return m_pTable; }
    // Asks every room for its status now (unless an operation runs).
    void Refresh();
    void SetRefreshInterval(int nMs) { m_refresh.setInterval(nMs); }
    bool IsBusy() const { return m_job != nullptr; }
    // The operations behind the buttons, on the rooms chosen in the list.
    void BackUp();
    void Push();
    void Compare();
    void Stop();
    void ApplyLanguage();
    // The window of the last difference shown, while it is open.
    CVenueDiffDlg* Difference() const;

private:
    void CreateControls();
    QPushButton* AddButton(TextId text, void (CVenueDlg::*onClick)());
    void FillRows();
    void SetCell(size_t nRoom, int nColumn, const QString& strText);
    void ShowStatus(size_t nRoom, const RoomStatus& status);
    void ShowFormRoom();
    std::vector<size_t> ChosenRooms() const;
    // Runs work on the rooms given by index; the form lets go of its room
    // for it when bNeedsFormRoom and takes it again once the job is done.
    using Work = std::function<void(const std::vector<VenueRoom>&, const std::atomic<bool>&, IVenueObserver*)>;
    void RunJob(const std::vector<size_t>& rooms, bool bNeedsFormRoom, Work work,
                std::function<void(size_t, const RoomResult&)> onFinished);
    void AfterJob();
    void ShowResult(size_t nRoom, const RoomResult& result, bool bPush);
    void ShowDifference(const QString& strA, const QString& strB, const DiffResult& result);
    int FormRoom() const;
    void SetBusy(bool bBusy);
    void OnDoubleClick(int nRow);

    Venue m_venue;
    VenueDlgHost m_host;
    std::unique_ptr<CVenueJob> m_job;
    bool m_bStatusJob = false;       // m_job only asks for the rooms' status
    std::vector<size_t> m_jobRooms;  // a job's room index -> the list's row
    QString m_strReleasedDevice;     // the form's room, to be taken again after a job
    QTimer m_refresh;
    QLabel* m_pTitle = nullptr;
    QTableWidget* m_pTable = nullptr;
    std::vector<QProgressBar*> m_bars;
    std::vector<std::pair<QPushButton*, TextId>> m_buttons;
    QPushButton* m_pStop = nullptr;
    std::function<void()> m_afterJob;  // what a finished operation shows
    QPointer<CVenueDiffDlg> m_pDiff;   // the last difference shown
};
