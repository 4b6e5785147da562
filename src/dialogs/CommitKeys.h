// Enter and Esc in the dialogs and on the main form: the dialog or form
// itself takes the focus, so a number field that had it commits its text,
// and nothing closes and no button is pressed. The keys are taken before the
// focused control sees them, since a number field keeps both keys to
// itself. UI thread only.
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
    // The same for a form inside a window, but ownKeys and its controls are
    // left alone: they have key rules of their own.
    static void Install(QWidget& form, const QWidget& ownKeys);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    CCommitKeys(QWidget& owner, Escape escape, const QWidget* pOwnKeys);

    void Watch(QObject& object);
    bool IsCommitKey(int nKey) const;

    QWidget& m_owner;
    const Escape m_escape;
    const QWidget* const m_pOwnKeys;
};
