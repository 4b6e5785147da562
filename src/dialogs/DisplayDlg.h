// "Data transmission": the small window shown while a batch of commands is
// being answered. It blinks while the link's transfer flag is set and hides itself
// once the batch has finished. Created once, hidden, at start-up.
#pragma once

#include <atomic>

#include <QDialog>
#include <QPointer>
#include <QTimer>

class QLabel;

class CDisplayDlg : public QDialog {
    Q_OBJECT
public:
    // bTransferRunning: the link's flag of a batch in progress.
    CDisplayDlg(QWidget* pParent, const std::atomic<int>& bTransferRunning);
    // Disables pOwner (the form, or the program manager window) while shown.
    void Show(QWidget* pOwner);
    void Hide();
    QLabel* Label() const { return m_pLabel; }
    bool IsBlinkRed() const { return m_bRed; }

private:
    void OnTimer();
    void SetLabelColour(bool bRed);

    const std::atomic<int>& m_bTransferRunning;
    QLabel* m_pLabel;
    QTimer m_timer;
    QPointer<QWidget> m_pDisabled;
    bool m_bRed = false;
};
