#include "VenueDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Strings.h"
#include "VenueJob.h"

namespace {

QString FromStd(const std::string& str)
{
    return QString::fromStdString(str);
}

}  // namespace

CVenueDlg::CVenueDlg(QWidget* pParent, Venue venue, VenueDlgHost host)
    : QDialog(pParent, Qt::Window), m_venue(std::move(venue)), m_host(std::move(host))
{
    setObjectName("Venue");
    setAttribute(Qt::WA_DeleteOnClose, false);
    CreateControls();
    FillRows();
    ApplyLanguage();
    resize(980, 380);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &CVenueDlg::Refresh);
    m_refresh.start();
    QTimer::singleShot(0, this, &CVenueDlg::Refresh);
}

CVenueDlg::~CVenueDlg() = default;

void CVenueDlg::CreateControls()
{
    auto* pLayout = new QVBoxLayout(this);
    m_pTitle = new QLabel(this);
    QFont font = m_pTitle->font();
    font.setBold(true);
    m_pTitle->setFont(font);
    pLayout->addWidget(m_pTitle);
    m_pTable = new QTableWidget(0, kColCount, this);
    m_pTable->setObjectName("VenueRooms");
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->verticalHeader()->hide();
    m_pTable->setWordWrap(false);
    m_pTable->horizontalHeader()->setSectionResizeMode(kColResult, QHeaderView::Stretch);
    connect(m_pTable, &QTableWidget::cellDoubleClicked, this, [this](int nRow, int) { OnDoubleClick(nRow); });
    pLayout->addWidget(m_pTable, 1);
    auto* pButtons = new QHBoxLayout;
    pLayout->addLayout(pButtons);
    pButtons->addWidget(AddButton(kTxtVenueBackup, &CVenueDlg::BackUp));
    pButtons->addWidget(AddButton(kTxtVenuePush, &CVenueDlg::Push));
    pButtons->addWidget(AddButton(kTxtVenueCompare, &CVenueDlg::Compare));
    pButtons->addStretch(1);
    m_pStop = AddButton(kTxtVenueStop, &CVenueDlg::Stop);
    m_pStop->setEnabled(false);
    pButtons->addWidget(m_pStop);
    QPushButton* pClose = AddButton(kTxtVenueClose, &CVenueDlg::Stop);
    connect(pClose, &QPushButton::clicked, this, &QDialog::close);
    pButtons->addWidget(pClose);
}

QPushButton* CVenueDlg::AddButton(TextId text, void (CVenueDlg::*onClick)())
{
    auto* pButton = new QPushButton(this);
    pButton->setAutoDefault(false);
    connect(pButton, &QPushButton::clicked, this, onClick);
    m_buttons.emplace_back(pButton, text);
    return pButton;
}

void CVenueDlg::ApplyLanguage()
{
    setWindowTitle(Tr(kTxtVenueTitle).arg(FromStd(m_venue.strName)));
    m_pTitle->setText(FromStd(m_venue.strName));
    static constexpr TextId kHeadings[kColCount] = {kTxtVenueRoom,           kTxtVenueStatus,   kTxtVenueScene,
                                                    kTxtVenueIdentification, kTxtVenueProgress, kTxtVenueResult};
    QStringList headings;
    for (TextId text : kHeadings)
        headings << Tr(text);
    m_pTable->setHorizontalHeaderLabels(headings);
    for (auto& [pButton, text] : m_buttons)
        pButton->setText(Tr(text));
}

void CVenueDlg::FillRows()
{
    m_pTable->setRowCount(static_cast<int>(m_venue.rooms.size()));
    for (size_t i = 0; i < m_venue.rooms.size(); ++i) {
        for (int nColumn = 0; nColumn < kColCount; ++nColumn)
            m_pTable->setItem(static_cast<int>(i), nColumn, new QTableWidgetItem);
        SetCell(i, kColRoom, FromStd(m_venue.rooms[i].strName));
        m_pTable->item(static_cast<int>(i), kColRoom)->setToolTip(FromStd(m_venue.rooms[i].strDevice));
        auto* pBar = new QProgressBar(m_pTable);
        pBar->setRange(0, 100);
        pBar->setValue(0);
        m_pTable->setCellWidget(static_cast<int>(i), kColProgress, pBar);
        m_bars.push_back(pBar);
    }
    static constexpr int kWidths[kColCount] = {120, 190, 140, 150, 100, 0};
    for (int nColumn = 0; nColumn < kColResult; ++nColumn)
        m_pTable->setColumnWidth(nColumn, kWidths[nColumn]);
}

void CVenueDlg::SetCell(size_t nRoom, int nColumn, const QString& strText)
{
    m_pTable->item(static_cast<int>(nRoom), nColumn)->setText(strText);
}

// ---- live status ----------------------------------------------------------------------

int CVenueDlg::FormRoom() const
{
    const QString strDevice = m_host.formDevice ? m_host.formDevice() : QString();
    for (size_t i = 0; i < m_venue.rooms.size() && !strDevice.isEmpty(); ++i)
        if (FromStd(m_venue.rooms[i].strDevice) == strDevice)
            return static_cast<int>(i);
    return -1;
}

void CVenueDlg::Refresh()
{
    if (m_job)
        return;
    ShowFormRoom();
    std::vector<size_t> rooms;
    for (size_t i = 0; i < m_venue.rooms.size(); ++i)
        if (static_cast<int>(i) != FormRoom())
            rooms.push_back(i);
    m_jobRooms = rooms;
    CVenueJob::Receivers receivers;
    receivers.status = [this](size_t nRoom, const RoomStatus& status) { ShowStatus(m_jobRooms[nRoom], status); };
    receivers.done = [this] { AfterJob(); };
    m_job = std::make_unique<CVenueJob>(this, std::move(receivers));
    m_bStatusJob = true;
    std::vector<VenueRoom> chosen;
    for (size_t i : rooms)
        chosen.push_back(m_venue.rooms[i]);
    m_job->Start([chosen](const std::atomic<bool>& bStop, IVenueObserver* pObserver) {
        VenueStatus(chosen, bStop, pObserver);
    });
}

void CVenueDlg::ShowFormRoom()
{
    const int nRoom = FormRoom();
    if (nRoom >= 0 && m_host.formStatus)
        ShowStatus(static_cast<size_t>(nRoom), m_host.formStatus());
}

void CVenueDlg::ShowStatus(size_t nRoom, const RoomStatus& status)
{
    if (!status.bFinished)
        return;  // stopped before it knew: what was shown still holds
    const bool bForm = static_cast<int>(nRoom) == FormRoom();
    QString strStatus = status.bOnline ? Tr(bForm ? kTxtVenueOnlineForm : kTxtVenueOnline)
                                       : Tr(kTxtVenueOffline).arg(FromStd(status.strReason));
    SetCell(nRoom, kColStatus, strStatus);
    m_pTable->item(static_cast<int>(nRoom), kColStatus)->setToolTip(strStatus);
    m_pTable->item(static_cast<int>(nRoom), kColStatus)
        ->setForeground(status.bOnline ? palette().color(QPalette::Text) : QColor(176, 0, 0));
    SetCell(nRoom, kColScene, status.bOnline ? FromStd(status.strSceneName) : QString());
    SetCell(nRoom, kColIdentification, status.bOnline ? FromStd(status.strIdentification) : QString());
}

void CVenueDlg::OnDoubleClick(int nRow)
{
    if (nRow < 0 || nRow >= static_cast<int>(m_venue.rooms.size()) || !m_host.connectTo)
        return;
    if (m_job && !m_bStatusJob)
        return;  // the room may be in the middle of a backup or a push
    // A status round's link to the room would hold it: it ends first.
    m_job.reset();
    m_host.connectTo(FromStd(m_venue.rooms[static_cast<size_t>(nRow)].strDevice));
    ShowFormRoom();
}

std::vector<size_t> CVenueDlg::ChosenRooms() const
{
    std::vector<size_t> rooms;
    for (const QModelIndex& index : m_pTable->selectionModel()->selectedRows())
        rooms.push_back(static_cast<size_t>(index.row()));
    std::sort(rooms.begin(), rooms.end());
    return rooms;
}

void CVenueDlg::SetBusy(bool bBusy)
{
    for (auto& [pButton, text] : m_buttons)
        if (text != kTxtVenueClose)
            pButton->setEnabled(!bBusy);
    m_pStop->setEnabled(bBusy);
}
