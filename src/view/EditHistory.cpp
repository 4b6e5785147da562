#include "EditHistory.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QUndoView>
#include <algorithm>
#include <utility>

#include "BlockAddress.h"
#include "CurSYSDlg.h"
#include "DelayDlg.h"
#include "HistoryStep.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "NumEdit.h"
#include "StepName.h"
#include "Strings.h"

namespace {

// A gesture's last changes may still be on their way when it ends: the
// graph hands a drag's band to the linked outputs up to 50 ms later.
constexpr int kGestureTailMs = 120;

enum class HistoryKey { None, Undo, Redo };

HistoryKey KeyOf(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (key.key() == Qt::Key_Z && mods == Qt::ControlModifier)
        return HistoryKey::Undo;
    if ((key.key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
        (key.key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        return HistoryKey::Redo;
    return HistoryKey::None;
}

// Keys that step a value: their steps on one value merge.
bool IsStepKey(int nKey)
{
    return nKey == Qt::Key_Up || nKey == Qt::Key_Down || nKey == Qt::Key_Left || nKey == Qt::Key_Right ||
           nKey == Qt::Key_PageUp || nKey == Qt::Key_PageDown;
}

bool IsSpin(QObject* pObject)
{
    for (; pObject; pObject = pObject->parent()) {
        if (pObject->inherits("CNumSpin") || pObject->inherits("QAbstractSpinBox"))
            return true;
    }
    return false;
}

// Typing not yet committed: the field's own undo takes the key.
bool HoldsTyping(const QWidget* pFocus)
{
    if (const auto* pNum = qobject_cast<const CNumEdit*>(pFocus))
        return pNum->IsModified();
    const auto* pEdit = qobject_cast<const QLineEdit*>(pFocus);
    return pEdit && pEdit->isModified();
}

}  // namespace

CEditHistory::CEditHistory(CKTV_Data& data, CLinkSession& session, QWidget* pForm)
    : QObject(pForm), m_data(data), m_session(session), m_pForm(pForm), m_current(CLiveSnapshot::Capture(data))
{
    m_stack.setUndoLimit(kStepLimit);
    m_wire = WireStateOfModel(m_data);
    connect(&m_stack, &QUndoStack::indexChanged, this, &CEditHistory::NoteWireChange);
    qApp->installEventFilter(this);
}

CEditHistory::~CEditHistory()
{
    // The stack clears itself last, after the members its signal would touch.
    m_stack.disconnect(this);
    qApp->removeEventFilter(this);
    delete m_pWindow;
}

void CEditHistory::Restart()
{
    m_stack.clear();
    m_current = CLiveSnapshot::Capture(m_data);
    m_strNextName.clear();
    m_ledger.Clear();
    m_wire = WireStateOfModel(m_data);
}

void CEditHistory::Settle()
{
    const bool bMergeable = std::exchange(m_bMergeable, false);
    CLiveSnapshot now = CLiveSnapshot::Capture(m_data);
    if (now == m_current)
        return;
    const StepSubject subject = StepSubject::Between(m_data, m_current, now);
    // A change of the scene name alone is the link's, not the user's.
    if (subject.part == StepSubject::Part::None && m_strNextName.isEmpty())
        return;
    const QString strName = m_strNextName.isEmpty() ? StepName(subject) : std::exchange(m_strNextName, QString());
    const CHistoryStep::Kind kind{std::exchange(m_bNextWhole, false), bMergeable};
    CLiveSnapshot before = std::exchange(m_current, now);
    m_stack.push(new CHistoryStep(*this, std::move(before), std::move(now), strName, subject, kind, m_nNextSerial++));
    NoteWireChange();  // a merged step may not move the index
}

int CEditHistory::CurrentSerial() const
{
    const int nIndex = m_stack.index();
    return nIndex == 0 ? 0 : static_cast<const CHistoryStep*>(m_stack.command(nIndex - 1))->Serial();
}

void CEditHistory::NoteWireChange()
{
    WireState now = WireStateOfModel(m_data);
    m_ledger.Record({CurrentSerial(), {}}, m_wire, now);
    m_wire = std::move(now);
    // Steps past the undo limit cannot be undone any more.
    if (m_stack.count() > 0)
        m_ledger.DropBefore(static_cast<const CHistoryStep*>(m_stack.command(0))->Serial());
}

void CEditHistory::DropUnconfirmed(const WireState& confirmed)
{
    Settle();
    const std::vector<CEditLedger::Edit> open = m_ledger.Unconfirmed(confirmed);
    if (open.empty())
        return;
    int nFirst = open.front().nTag;
    for (const CEditLedger::Edit& edit : open)
        nFirst = std::min(nFirst, edit.nTag);
    while (m_stack.index() > 0 && CurrentSerial() >= nFirst)
        m_stack.undo();
    // An obsolete command pushed takes every step above the index with it.
    auto* pDrop = new QUndoCommand;
    pDrop->setObsolete(true);
    m_stack.push(pDrop);
    m_ledger.Clear();
    m_wire = WireStateOfModel(m_data);
}

void CEditHistory::NameNextStep(const QString& strName, bool bWhole)
{
    m_strNextName = strName;
    m_bNextWhole = bWhole;
}

void CEditHistory::Undo()
{
    Settle();
    m_stack.undo();
}

void CEditHistory::Redo()
{
    Settle();
    m_stack.redo();
}

void CEditHistory::Apply(const CLiveSnapshot& state, bool bWhole)
{
    if (bWhole)
        m_session.RestoreLiveState(state);
    else if (state.ApplyTo(m_data).bControlChanged)
        m_session.SendSystemItem(kItemControl, 0);
    m_current = CLiveSnapshot::Capture(m_data);
    if (m_onApplied)
        m_onApplied();
    QWidget* pModal = QApplication::activeModalWidget();
    if (auto* pSystem = qobject_cast<CCurSYSDlg*>(pModal))
        pSystem->ShowModel();
    else if (auto* pDelays = qobject_cast<CDelayDlg*>(pModal))
        pDelays->ShowModel();
}

QWidget* CEditHistory::HistoryWindow()
{
    if (!m_pWindow) {
        auto* pView = new QUndoView(&m_stack);
        pView->setObjectName("historyView");
        pView->setWindowFlag(Qt::Tool);
        pView->resize(300, 360);
        m_pWindow = pView;
    }
    auto* pView = static_cast<QUndoView*>(m_pWindow.data());
    pView->setWindowTitle(Tr(kTxtHistoryTitle));
    pView->setEmptyLabel(Tr(kTxtHistoryStart));
    return m_pWindow;
}

bool CEditHistory::IsHistoryWindow(const QWidget* pWindow) const
{
    return pWindow && (pWindow == m_pForm->window() || qobject_cast<const CCurSYSDlg*>(pWindow) ||
                       qobject_cast<const CDelayDlg*>(pWindow) || pWindow == m_pWindow);
}

bool CEditHistory::HandleKeys(QObject* pWatched, QEvent* pEvent)
{
    const HistoryKey key = KeyOf(*static_cast<QKeyEvent*>(pEvent));
    auto* pWidget = qobject_cast<QWidget*>(pWatched);
    if (key == HistoryKey::None || !pWidget || !IsHistoryWindow(pWidget->window()))
        return false;
    if (HoldsTyping(QApplication::focusWidget()))
        return false;
    if (key == HistoryKey::Undo)
        Undo();
    else
        Redo();
    return true;
}

void CEditHistory::SettleLater(bool bMergeable)
{
    m_bMergeable = m_bMergeable || bMergeable;
    if (m_bSettleQueued)
        return;
    m_bSettleQueued = true;
    QTimer::singleShot(kGestureTailMs, this, [this] {
        m_bSettleQueued = false;
        Settle();
    });
}

bool CEditHistory::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::KeyPress:
        if (HandleKeys(pWatched, pEvent))
            return true;
        Settle();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        Settle();
        break;
    case QEvent::Wheel:
        Settle();
        SettleLater(true);
        break;
    case QEvent::KeyRelease:
        SettleLater(IsStepKey(static_cast<QKeyEvent*>(pEvent)->key()));
        break;
    case QEvent::MouseButtonRelease:
        SettleLater(IsSpin(pWatched));
        break;
    case QEvent::FocusOut:
        SettleLater(false);
        break;
    default:
        break;
    }
    return false;
}
