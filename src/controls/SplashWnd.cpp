#include "SplashWnd.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>
#include <algorithm>

namespace {

CSplashWnd* g_pSplashWnd = nullptr;

} // namespace

bool CSplashWnd::ShowSplashScreen(const QString& strPath, int nMs, QWidget* pMainWnd)
{
    if (g_pSplashWnd)
        return false;
    const QPixmap pixmap(strPath);
    if (pixmap.isNull())
        return false;
    auto* pSplash = new CSplashWnd(pixmap, pMainWnd);
    pSplash->m_timer.start(std::max(nMs, 0), pSplash);
    pSplash->show();
    return true;
}

CSplashWnd* CSplashWnd::Current()
{
    return g_pSplashWnd;
}

CSplashWnd::CSplashWnd(const QPixmap& pixmap, QWidget* pMainWnd)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_pixmap(pixmap), m_pMainWnd(pMainWnd)
{
    g_pSplashWnd = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_pixmap.deviceIndependentSize().toSize());
    CentreOnScreen();
}

CSplashWnd::~CSplashWnd()
{
    if (g_pSplashWnd == this)
        g_pSplashWnd = nullptr;
}

void CSplashWnd::CentreOnScreen()
{
    QScreen* pScreen = m_pMainWnd ? m_pMainWnd->screen() : QGuiApplication::primaryScreen();
    if (!pScreen)
        return;
    const QRect rcWork = pScreen->availableGeometry();
    move(rcWork.left() + (rcWork.width() - width()) / 2,
         rcWork.top() + (rcWork.height() - height()) / 2);
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_pixmap);
}

// The first tick ends the splash; the main window then repaints what the
// picture covered.
void CSplashWnd::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() != m_timer.timerId()) {
        QWidget::timerEvent(pEvent);
        return;
    }
    m_timer.stop();
    g_pSplashWnd = nullptr;
    const QPointer<QWidget> pMainWnd = m_pMainWnd;
    close();
    if (pMainWnd)
        pMainWnd->update();
}
