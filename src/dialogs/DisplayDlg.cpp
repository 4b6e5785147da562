#include "DisplayDlg.h"

#include <QLabel>
#include <QVBoxLayout>

#include "AppGlobals.h"
#include "GlobalData.h"
#include "LinkSession.h"
#include "Strings.h"

namespace {
constexpr int kBlinkMs = 200;
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kRed(0xFF, 0x00, 0x00);
}  // namespace

CDisplayDlg::CDisplayDlg(QWidget* pParent, const std::atomic<int>& bTransferRunning)
    : QDialog(pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint), m_bTransferRunning(bTransferRunning)
{
    setObjectName("ctl104");
    setModal(false);
    setFixedSize(330, 96);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xE5, 0xE5, 0xE5));
    setPalette(palette);

    m_pLabel = new QLabel(this);
    m_pLabel->setObjectName("ctl1433");
    m_pLabel->setAlignment(Qt::AlignCenter);
    m_pLabel->setFont(ArialFont(18));
    m_pLabel->setAutoFillBackground(true);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pLabel);
    SetLabelColour(false);

    m_timer.setInterval(kBlinkMs);
    connect(&m_timer, &QTimer::timeout, this, &CDisplayDlg::OnTimer);
}

void CDisplayDlg::SetLabelColour(bool bRed)
{
    m_bRed = bRed;
    QPalette palette = m_pLabel->palette();
    palette.setColor(QPalette::Window, QColor(0xE6, 0xE6, 0xE6));
    palette.setColor(QPalette::WindowText, bRed ? kRed : kNavy);
    m_pLabel->setPalette(palette);
}

void CDisplayDlg::Show(QWidget* pOwner)
{
    move(500, 400);
    setWindowTitle(Tr(kTxtTransferTitle));
    m_pLabel->setText(Tr(kTxtTransferLabel));
    SetLabelColour(false);
    if (m_pDisabled && m_pDisabled != pOwner)
        m_pDisabled->setEnabled(true);
    m_pDisabled = pOwner;
    if (pOwner)
        pOwner->setEnabled(false);
    show();
    raise();
    m_timer.start();
}

void CDisplayDlg::Hide()
{
    m_timer.stop();
    const bool bWasActive = isActiveWindow();
    hide();
    if (m_pDisabled) {
        m_pDisabled->setEnabled(true);
        // Typing goes on where it was before the transfer.
        if (bWasActive)
            m_pDisabled->window()->activateWindow();
    }
    m_pDisabled = nullptr;
}

void CDisplayDlg::OnTimer()
{
    if (m_bTransferRunning) {
        SetLabelColour(!m_bRed);
        return;
    }
    m_pLabel->setText(Tr(kTxtTransferEnd));
    Hide();
}
