// The main window: no menu, tool bar or status bar; it holds the main form
// and ends the communication thread before it closes. It opens at the
// form's own 1260 × 725 where the screen has room, smaller where it has
// not, and where it was when it last closed; it can be resized and
// maximised. Below the smallest legible scale the form scrolls.
#pragma once

#include <QMainWindow>

class CQM7100View;
class QScrollArea;

constexpr int kMainWidth = 1260;
constexpr int kMainHeight = 725;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* pParent = nullptr);
    void SetView(CQM7100View* pView);
    // The title for device variants 1 and 2.
    void ApplyTitle();
    QScrollArea* ScrollArea() const { return m_pScroll; }

    // The size the window opens at on a screen of this available size.
    static QSize OpeningSize(const QSize& szArea);

protected:
    void changeEvent(QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    void PlaceWindow();
    void KeepWithinScreen();

    CQM7100View* m_pView = nullptr;
    QScrollArea* m_pScroll = nullptr;
    bool m_bShownOnce = false;
};
