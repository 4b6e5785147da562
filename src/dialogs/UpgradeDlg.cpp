#include "UpgradeDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "ButtonRadio.h"
#include "ControlName.h"
#include "FirmwareHost.h"
#include "GradientProgressCtrl.h"
#include "LinkSession.h"
#include "SxGroupBox.h"
#include "TransparentStatic.h"

namespace {
// Often enough for a smooth bar; the link posts no notification per chunk
// that the dialog would have to wait for.
constexpr int kPollMs = 50;
const char* const kLinkChoices[3] = {"USB", "COM", "TCP/IP"};
}  // namespace

CUpgradeDlg::CUpgradeDlg(IFirmwareHost& host, QWidget* pParent)
    : CFormDialog(pParent, QStringLiteral("Upgrade"), kWidth, kHeight), m_host(host)
{
    setWindowTitle(Tr(kTxtUpgradeTitle));
    CreateFileGroup();
    CreateHiddenLinkGroup();
    CreateProgress();
    QPushButton* pUpdate = AddButton(kIdUpdate, kTxtUpdate, kSansSerifUnits.Rect(62, 104, 54, 16));
    QPushButton* pQuit = AddButton(kIdQuit, kTxtQuit, kSansSerifUnits.Rect(140, 104, 54, 16));
    connect(pUpdate, &QPushButton::clicked, this, &CUpgradeDlg::OnUpdate);
    connect(pQuit, &QPushButton::clicked, this, &CUpgradeDlg::reject);
    connect(&m_poll, &QTimer::timeout, this, &CUpgradeDlg::ShowProgress);
    move(kLeft, kTop);
}

void CUpgradeDlg::CreateFileGroup()
{
    auto* pGroup = new CSxGroupBox(kIdFileGroup, Tr(kTxtUpdateFile), this);
    pGroup->setGeometry(kSansSerifUnits.Rect(7, 4, 242, 40));
    auto* pLabel = new CTransparentStatic(kIdHexLabel, Tr(kTxtHexFile), this);
    pLabel->setGeometry(kSansSerifUnits.Rect(14, 20, 40, 11));
    pLabel->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pFile = new QLineEdit(m_host.FirmwareFile(), this);
    m_pFile->setObjectName(ControlName(kIdFile));
    m_pFile->setGeometry(kSansSerifUnits.Rect(56, 19, 140, 13));
    QPushButton* pBrowse = AddButton(kIdBrowse, kTxtBrowse, kSansSerifUnits.Rect(201, 18, 42, 15));
    connect(pBrowse, &QPushButton::clicked, this, &CUpgradeDlg::OnBrowse);
    pGroup->lower();
}

// The template's link choice: this editor talks USB only.
void CUpgradeDlg::CreateHiddenLinkGroup()
{
    const QRect area = kSansSerifUnits.Rect(7, 48, 242, 30);
    auto* pGroup = new CSxGroupBox(kIdLinkGroup, Tr(kTxtLinkPort), this);
    pGroup->setGeometry(area);
    pGroup->hide();
    auto* pLabel = new CTransparentStatic(kIdLinkLabel, Tr(kTxtLinkPort), this);
    pLabel->hide();
    for (int i = 0; i < 3; ++i) {
        auto* pChoice = new CButtonRadio(kIdLinkChoices[i], QString::fromLatin1(kLinkChoices[i]), this);
        pChoice->setChecked(i == 0);
        pChoice->hide();
    }
    auto* pPorts = new QComboBox(this);
    pPorts->setObjectName(ControlName(kIdLinkPorts));
    pPorts->hide();
}

void CUpgradeDlg::CreateProgress()
{
    m_pProgress = new CGradientProgressCtrl(kIdProgress, this);
    m_pProgress->setGeometry(kSansSerifUnits.Rect(7, 56, 242, 12));
    m_pStatus = new CTransparentStatic(kIdStatus, this);
    m_pStatus->setGeometry(kSansSerifUnits.Rect(7, 76, 242, 14));
    m_pStatus->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_pStatus->SetTextColor(Qt::red);
}

void CUpgradeDlg::OnBrowse()
{
    const QString strPath = m_host.BrowseFirmware();
    if (!strPath.isEmpty())
        m_pFile->setText(strPath);
}

void CUpgradeDlg::OnUpdate()
{
    const CLinkSession& session = m_host.Session();
    if (session.IsFirmwareMode())
        return;  // one transfer at a time
    if (!m_host.UpdateFirmware(m_pFile->text())) {
        // A refused file is forgotten: the edit shows that, empty.
        if (!session.IsFirmwareMode())
            m_pFile->setText(m_host.FirmwareFile());
        return;
    }
    m_pProgress->SetRange(0, session.FirmwareRange());
    m_pProgress->SetPos(0);
    ShowProgress();
    m_poll.start(kPollMs);
}

void CUpgradeDlg::ShowProgress()
{
    const CLinkSession& session = m_host.Session();
    m_pProgress->SetPos(session.FirmwareProgress());
    m_pStatus->SetText(QString::fromStdString(session.FirmwareStatus()));
}

void CUpgradeDlg::reject()
{
    if (m_host.Session().IsFirmwareMode())
        m_host.CancelFirmwareUpdate();
    m_poll.stop();
    CFormDialog::reject();
}
