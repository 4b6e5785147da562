#include "MainFrm.h"

#include <QCloseEvent>

#include "ProcessorState.h"
#include "QM7100View.h"
#include "Strings.h"

CMainFrame::CMainFrame(QWidget* pParent)
    : QMainWindow(pParent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setFixedSize(kMainWidth, kMainHeight);
    move(0, 0);
    setWindowTitle(Tr(kTxtAppTitle));
}

void CMainFrame::SetView(CQM7100View* pView)
{
    m_pView = pView;
    setCentralWidget(pView);
}

void CMainFrame::ApplyTitle()
{
    const int nType = m_pView ? m_pView->State().m_nDeviceType.load() : 0;
    if (nType == 1 || nType == 2)
        setWindowTitle(Tr(kTxtAppTitle));
}

void CMainFrame::changeEvent(QEvent* pEvent)
{
    // Restoring from the task bar must not bring back another title.
    if (pEvent->type() == QEvent::WindowStateChange)
        ApplyTitle();
    QMainWindow::changeEvent(pEvent);
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    if (m_pView)
        m_pView->EndCommThread();
    QMainWindow::closeEvent(pEvent);
}
