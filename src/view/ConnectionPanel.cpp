#include "ConnectionPanel.h"

#include "DisplayDlg.h"
#include "GradientProgressCtrl.h"
#include "LinkSession.h"
#include "Processor.h"
#include "SkinIds.h"
#include "XPButton.h"

namespace {
constexpr int kProgressPollMs = 50;
}

CConnectionPanel::CConnectionPanel(CProcessor& processor, QWidget* pForm, std::function<QWidget*()> progressOwner)
    : QObject(pForm), m_processor(processor), m_session(processor.Session()), m_pForm(pForm),
      m_progressOwner(std::move(progressOwner))
{
    connect(&m_progressTimer, &QTimer::timeout, this, [this] { UpdateProgress(); });
}

void CConnectionPanel::CreateControls(int nX, int nY)
{
    m_pConnect = new CXPButton(1413, m_pForm);
    m_pConnect->move(nX + 260, nY + 2);
    m_pConnect->SetSkin(kSkinConnect);
    m_pProgress = new CGradientProgressCtrl(1414, m_pForm);
    m_pProgress->setGeometry(nX, nY + 54, 380, 10);
    m_pDisplay = new CDisplayDlg(m_pForm->window(), m_session.m_bTransferRunning);
}

bool CConnectionPanel::IsConnected() const
{
    return m_session.IsConnected();
}

void CConnectionPanel::Toggle()
{
    if (IsConnected())
        m_processor.Disconnect();
    else
        Connect();
}

void CConnectionPanel::Connect()
{
    m_processor.Connect(m_strDevice.toStdString());
    m_pConnect->SetPressed(IsConnected());
    if (IsConnected())
        m_progressTimer.start(kProgressPollMs);
}

bool CConnectionPanel::ShownConnected() const
{
    return m_pConnect->IsPressed();
}

void CConnectionPanel::AfterLinkEvent()
{
    if (!IsConnected()) {
        m_progressTimer.stop();
        m_pProgress->SetPos(0);
        m_pDisplay->Hide();
    } else {
        UpdateProgress();
    }
    m_pConnect->SetPressed(IsConnected());
}

void CConnectionPanel::UpdateProgress()
{
    if (!IsConnected())
        return;
    const int nRange = m_session.ProgressRange();
    if (nRange > 0 && m_pProgress->GetUpper() != nRange)
        m_pProgress->SetRange(0, nRange);
    m_pProgress->SetPos(m_session.ProgressPos());
    if (m_session.m_bTransferRunning && !m_pDisplay->isVisible())
        m_pDisplay->Show(m_progressOwner());
}
