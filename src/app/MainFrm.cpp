#include "MainFrm.h"

#include <QCloseEvent>
#include <QScrollArea>
#include <QSettings>
#include <QTimer>

#include "FormFit.h"
#include "ProcessorState.h"
#include "QM7100View.h"
#include "Strings.h"
#include "WindowPlacement.h"

namespace {
const char* const kGeometryKey = "Window/Geometry";

QSettings AppSettings()
{
    return QSettings("ZR_470.exe", "DspMcu");
}
}  // namespace

CMainFrame::CMainFrame(QWidget* pParent)
    : QMainWindow(pParent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                               Qt::WindowCloseButtonHint)
{
    setWindowTitle(Tr(kTxtAppTitle));
    m_pScroll = new QScrollArea(this);
    m_pScroll->setFrameShape(QFrame::NoFrame);
    m_pScroll->setWidgetResizable(true);
    setCentralWidget(m_pScroll);
    new CDialogPlacer(this);
}

void CMainFrame::SetView(CQM7100View* pView)
{
    m_pView = pView;
    pView->setMinimumSize(CFormFit::MinimumOf(CQM7100View::BaseSize()));
    m_pScroll->setWidget(pView);
    PlaceWindow();
}

// Where the form does not fit, the window takes the whole area: the form
// is scaled to the tighter side and spreads along the other.
QSize CMainFrame::OpeningSize(const QSize& szArea)
{
    const QSize szBase = CQM7100View::BaseSize();
    return szArea.width() >= szBase.width() && szArea.height() >= szBase.height() ? szBase : szArea;
}

// Where it was, or at the top left of the available area.
void CMainFrame::PlaceWindow()
{
    const QByteArray geometry = AppSettings().value(kGeometryKey).toByteArray();
    if (!geometry.isEmpty() && restoreGeometry(geometry)) {
        KeepWithinScreen();
        return;
    }
    const QRect rcArea = AvailableArea(this);
    resize(rcArea.isEmpty() ? CQM7100View::BaseSize() : OpeningSize(rcArea.size()));
    move(rcArea.topLeft());
}

// The title bar and borders are known once the window is shown: then the
// whole window is kept inside the available area.
void CMainFrame::KeepWithinScreen()
{
    if (isMaximized() || isFullScreen())
        return;
    const QRect rcFrame = frameGeometry();
    const QRect rcKept = KeptWithin(rcFrame, AvailableArea(this));
    if (rcKept == rcFrame)
        return;
    const QMargins margins(geometry().left() - rcFrame.left(), geometry().top() - rcFrame.top(),
                           rcFrame.right() - geometry().right(), rcFrame.bottom() - geometry().bottom());
    resize(rcKept.marginsRemoved(margins).size());
    move(rcKept.topLeft());
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

void CMainFrame::showEvent(QShowEvent* pEvent)
{
    QMainWindow::showEvent(pEvent);
    if (!m_bShownOnce) {
        m_bShownOnce = true;
        KeepWithinScreen();
        // A window manager tells the frame's size once it has framed the
        // window: look again then.
        QTimer::singleShot(0, this, &CMainFrame::KeepWithinScreen);
    }
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    AppSettings().setValue(kGeometryKey, saveGeometry());
    if (m_pView)
        m_pView->EndCommThread();
    QMainWindow::closeEvent(pEvent);
}
