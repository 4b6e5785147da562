// Enter and Esc in the dialogs: the dialog itself takes the focus,
// so a number field that had it commits its text, and nothing closes and
// no button is pressed. The keys are taken before the focused control sees
// them, since a number field keeps both keys to itself. UI thread only.
#pragma once

#include <QObject>

class QWidget;

class CCommitKeys : public QObject {
public:
    // Whether Esc commits like Enter or is left to close the dialog.
    enum class Escape { kCommits, kCloses };

    // Watches the dialog and every control it has or is given later; owned
    // by the dialog.
    static void Install(QWidget& dialog, Escape escape = Escape::kCommits);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    CCommitKeys(QWidget& dialog, Escape escape);

    void Watch(QObject& object);
    bool IsCommitKey(int nKey) const;

    QWidget& m_dialog;
    const Escape m_escape;
};
