#include "VersionDlg.h"

#include <QPushButton>

#include "FirmwareHost.h"
#include "LinkSession.h"
#include "Processor.h"
#include "TransparentStatic.h"

namespace {

constexpr int kWidthDlu = 200;
constexpr int kHeightDlu = 90;

// The identification as the processor sent it at connect, without the
// padding; empty before the first connect.
QString Identification(CProcessor& processor)
{
    return QString::fromLatin1(processor.Identification()).trimmed();
}

}  // namespace

CVersionDlg::CVersionDlg(IFirmwareHost& host, QWidget* pParent)
    : CFormDialog(pParent, QStringLiteral("About"), kSansSerifUnits.X(kWidthDlu), kSansSerifUnits.Y(kHeightDlu)),
      m_host(host)
{
    // An update never outlives its dialog.
    m_host.Session().LeaveFirmwareMode();
    setWindowTitle(Tr(kTxtAbout));
    AddLabel(kIdIdentification, Identification(m_host.Processor()), kSansSerifUnits.Rect(14, 12, 172, 12));
    AddLabel(kIdFamily, QString::fromLatin1(kFamily), kSansSerifUnits.Rect(14, 30, 172, 12));
    QPushButton* pHelp = AddButton(kIdHelp, kTxtHelp, kSansSerifUnits.Rect(12, 62, 84, 16));
    QPushButton* pUpdate = AddButton(kIdFirmwareUpdate, kTxtFirmwareUpdate, kSansSerifUnits.Rect(104, 62, 84, 16));
    connect(pHelp, &QPushButton::clicked, this, [this] { m_host.OpenHelp(); });
    connect(pUpdate, &QPushButton::clicked, this, &QDialog::accept);
}

CTransparentStatic* CVersionDlg::AddLabel(int nId, const QString& strText, const QRect& rect)
{
    auto* pLabel = new CTransparentStatic(nId, strText, this);
    pLabel->setGeometry(rect);
    pLabel->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return pLabel;
}
