// The edit history of the live settings: every change the user makes is
// one step of a QUndoStack, kept as the states before and after it.
//
// Rather than each control reporting its edits, the history watches the
// user's input: a change found when a gesture ends (a button or key
// released, a wheel turned, focus leaving a field) or before the next one
// begins is one step. A drag, from press to release, is therefore one step;
// wheel, arrow and spin steps on the same value within a second merge.
// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, on the main form and in the
// System and Delay dialogs; a field holding uncommitted typing keeps the key
// for its own undo.
//
// A step holds two states of about 6 kB each, so the 500 steps the stack
// keeps stay near 6 MB, well inside the 16 MB the history may use.
//
// User-interface thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>
#include <functional>

#include "EditLedger.h"
#include "LiveSnapshot.h"

class CKTV_Data;
class CLinkSession;
class QUndoView;
class QWidget;

class CEditHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kStepLimit = 500;

    CEditHistory(CKTV_Data& data, CLinkSession& session, QWidget* pForm);
    ~CEditHistory() override;

    QUndoStack& Stack() { return m_stack; }
    // A new history from the model as it is: after the full read at
    // connect the processor's state is the truth.
    void Restart();
    // Whatever changed since the last step becomes one step.
    void Settle();
    // The next change found is one step of this name; bWhole: it is undone
    // by writing the state whole, as a recall or a file load was made.
    void NameNextStep(const QString& strName, bool bWhole);
    void Undo();
    void Redo();
    // The window listing the steps (QUndoView); a click on a step goes to it.
    QWidget* HistoryWindow();

    // The form shows the model again after an undo or redo.
    std::function<void()> m_onApplied;

    // A step's undo and redo: the model brought to the state.
    void Apply(const CLiveSnapshot& state, bool bWhole);
    // After a lost link: the steps whose changes the processor did not
    // confirm are undone in the model (nothing is sent any more) and
    // dropped, so that nothing offers to bring them back; the next
    // connect's full read decides what the form shows.
    void DropUnconfirmed(const WireState& confirmed);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    bool HandleKeys(QObject* pWatched, QEvent* pEvent);
    bool IsHistoryWindow(const QWidget* pWindow) const;
    void SettleLater(bool bMergeable);
    // The serial of the step whose state is current; 0 before the first.
    int CurrentSerial() const;
    // What the model changed since the last note, as the current step's.
    void NoteWireChange();

    CKTV_Data& m_data;
    CLinkSession& m_session;
    QWidget* m_pForm;
    QUndoStack m_stack;
    CLiveSnapshot m_current;
    QString m_strNextName;
    bool m_bNextWhole = false;
    bool m_bMergeable = false;
    bool m_bSettleQueued = false;
    QPointer<QWidget> m_pWindow;
    int m_nNextSerial = 1;
    CEditLedger m_ledger;  // tagged with step serials
    WireState m_wire;      // the model as last noted
};
