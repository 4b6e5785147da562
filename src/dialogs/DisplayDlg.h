// "Data transmission": the small window shown while a batch of commands is
// being answered. It blinks while g_bTransferRunning is set and hides itself
// once the batch has finished. Created once, hidden, at start-up.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>

class QLabel;

class CDisplayDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDisplayDlg(QWidget* pParent);
    // Disables pOwner (the form, or the program manager window) while shown.
    void Show(QWidget* pOwner);
    void Hide();
    QLabel* Label() const { return m_pLabel; }
    bool IsBlinkRed() const { return m_bRed; }

private:
    void OnTimer();
    void SetLabelColour(bool bRed);

    QLabel* m_pLabel;
    QTimer m_timer;
    QPointer<QWidget> m_pDisabled;
    bool m_bRed = false;
};
