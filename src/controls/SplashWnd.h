// Start-up picture: a frameless window of the picture's size, centred on
// the screen, that destroys itself when its period ends. UI thread only.
#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    // Shows the picture in strPath for nMs ms unless one is already up or
    // the picture cannot be loaded.
    // Returns whether a splash window was shown.
    static bool ShowSplashScreen(const QString& strPath, int nMs, QWidget* pMainWnd);
    // The splash window now on screen, or nullptr.
    static CSplashWnd* Current();

    ~CSplashWnd() override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;

private:
    CSplashWnd(const QPixmap& pixmap, QWidget* pMainWnd);
    void CentreOnScreen();

    QPixmap m_pixmap;
    QPointer<QWidget> m_pMainWnd;
    QBasicTimer m_timer;
};
