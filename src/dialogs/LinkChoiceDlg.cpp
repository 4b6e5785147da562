#include "ControlName.h"
#include "LinkChoiceDlg.h"

#include <QLabel>
#include <QPushButton>

#include "AppGlobals.h"
#include "ButtonRadio.h"
#include "DialogUnits.h"

namespace {

constexpr int kMarginDlu = 7;
constexpr int kLabelTopDlu = 8;
constexpr int kLineDlu = 10;
constexpr int kRadioLeftDlu = 22;
constexpr int kButtonWidthDlu = 50;
constexpr int kButtonHeightDlu = 14;
constexpr int kButtonGapDlu = 22;

constexpr char kQuestion[] = "Which channel data should be applied? ";

}  // namespace

QRect CLinkChoiceDlg::DluRect(int x, int y, int cx, int cy)
{
    return kSansSerifUnits.Rect(x, y, cx, cy);
}

CLinkChoiceDlg::CLinkChoiceDlg(int nWidthDlu, int nHeightDlu, QWidget* pParent)
    : QDialog(pParent), m_nWidthDlu(nWidthDlu)
{
    setModal(true);
    setFixedSize(kSansSerifUnits.X(nWidthDlu), kSansSerifUnits.Y(nHeightDlu));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, g_brushDialog);
    setPalette(pal);
    setAutoFillBackground(true);
    // The templates' 8-point dialog face: Arial at 12 px keeps the texts
    // within the template's widths.
    setFont(ArialFont(12));
    auto* pLabel = new QLabel(QString::fromLatin1(kQuestion), this);
    pLabel->setGeometry(DluRect(kMarginDlu, kLabelTopDlu, nWidthDlu - 2 * kMarginDlu, kLineDlu));
    m_group.setExclusive(true);
}

CButtonRadio* CLinkChoiceDlg::AddRadio(int nId, int nTopDlu)
{
    auto* pRadio = new CButtonRadio(nId, this);
    pRadio->setGeometry(DluRect(kRadioLeftDlu, nTopDlu, m_nWidthDlu - 2 * kRadioLeftDlu, kLineDlu));
    const int nIndex = static_cast<int>(m_radios.size());
    m_group.addButton(pRadio, nIndex);
    m_radios.push_back(pRadio);
    connect(pRadio, &QAbstractButton::clicked, this, [this, nIndex] { m_nChoice = nIndex; });
    return pRadio;
}

void CLinkChoiceDlg::AddButtons(int nButtonsY)
{
    const int nLeft = (m_nWidthDlu - 2 * kButtonWidthDlu - kButtonGapDlu) / 2;
    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(ControlName(kIdOk));
    pOk->setGeometry(DluRect(nLeft, nButtonsY, kButtonWidthDlu, kButtonHeightDlu));
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    pCancel->setObjectName(ControlName(kIdCancel));
    pCancel->setGeometry(
        DluRect(nLeft + kButtonWidthDlu + kButtonGapDlu, nButtonsY, kButtonWidthDlu, kButtonHeightDlu));
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Opening shows the stored choice selected (the first radio for a new dialog).
void CLinkChoiceDlg::showEvent(QShowEvent* pEvent)
{
    if (m_nChoice >= 0 && m_nChoice < static_cast<int>(m_radios.size()))
        Radio(m_nChoice)->setChecked(true);
    QDialog::showEvent(pEvent);
}
