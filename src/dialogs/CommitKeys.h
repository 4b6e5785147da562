// Enter and Esc in the settings dialogs: the dialog itself takes the focus,
// so a number field that had it commits its text, and nothing closes and
// no button is pressed. UI thread only.
#pragma once

#include <QObject>

class QWidget;

class CCommitKeys : public QObject {
public:
    // Watches the dialog and every child it has now; owned by the dialog.
    static void Install(QWidget& dialog);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    explicit CCommitKeys(QWidget& dialog);

    QWidget& m_dialog;
};
