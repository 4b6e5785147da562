#include "WindowPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
QRect g_rcAreaSet;
}

QRect AvailableArea(const QWidget* pWidget)
{
    if (!g_rcAreaSet.isEmpty())
        return g_rcAreaSet;
    QScreen* pScreen = pWidget ? pWidget->screen() : nullptr;
    if (!pScreen)
        pScreen = QGuiApplication::primaryScreen();
    return pScreen ? pScreen->availableGeometry() : QRect();
}

void SetAvailableArea(const QRect& rcArea)
{
    g_rcAreaSet = rcArea;
}

QRect KeptWithin(const QRect& rc, const QRect& rcArea)
{
    if (rcArea.isEmpty())
        return rc;
    const int nWidth = std::min(rc.width(), rcArea.width());
    const int nHeight = std::min(rc.height(), rcArea.height());
    const int x = std::clamp(rc.x(), rcArea.left(), rcArea.left() + rcArea.width() - nWidth);
    const int y = std::clamp(rc.y(), rcArea.top(), rcArea.top() + rcArea.height() - nHeight);
    return {x, y, nWidth, nHeight};
}

CDialogPlacer::CDialogPlacer(QWidget* pForm)
    : QObject(pForm), m_pForm(pForm)
{
    qApp->installEventFilter(this);
}

// Shown, a dialog has its size; its frame is not known before it is mapped,
// so the frame's margins are those of the form's window.
bool CDialogPlacer::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() != QEvent::Show)
        return false;
    auto* pDialog = qobject_cast<QDialog*>(pWatched);
    if (!pDialog || !pDialog->isWindow())
        return false;
    QWidget* pWindow = m_pForm->window();
    if (pDialog->screen() != pWindow->screen())
        pDialog->setScreen(pWindow->screen());
    const QMargins margins(pWindow->geometry().left() - pWindow->frameGeometry().left(),
                           pWindow->geometry().top() - pWindow->frameGeometry().top(),
                           pWindow->frameGeometry().right() - pWindow->geometry().right(),
                           pWindow->frameGeometry().bottom() - pWindow->geometry().bottom());
    const QRect rcFrame = pDialog->geometry().marginsAdded(margins);
    const QRect rcKept = KeptWithin(rcFrame, AvailableArea(pWindow));
    if (rcKept.topLeft() != rcFrame.topLeft())
        pDialog->move(rcKept.topLeft());  // a window's position is its frame's
    return false;
}
