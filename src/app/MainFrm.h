// The main window: fixed 1260 × 725, no menu, tool bar or status bar; it
// holds the main form and ends the communication thread before it closes.
#pragma once

#include <QMainWindow>

class CQM7100View;

constexpr int kMainWidth = 1260;
constexpr int kMainHeight = 725;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* pParent = nullptr);
    void SetView(CQM7100View* pView);
    // The title for device variants 1 and 2.
    void ApplyTitle();

protected:
    void changeEvent(QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    CQM7100View* m_pView = nullptr;
};
