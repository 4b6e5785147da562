#include "CommitKeys.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QWidget>

CCommitKeys::CCommitKeys(QWidget& owner, Escape escape, const QWidget* pOwnKeys)
    : QObject(&owner), m_owner(owner), m_escape(escape), m_pOwnKeys(pOwnKeys)
{
}

void CCommitKeys::Install(QWidget& dialog, Escape escape)
{
    auto* pFilter = new CCommitKeys(dialog, escape, nullptr);
    pFilter->Watch(dialog);
}

void CCommitKeys::Install(QWidget& form, const QWidget& ownKeys)
{
    auto* pFilter = new CCommitKeys(form, Escape::kCommits, &ownKeys);
    pFilter->Watch(form);
}

// Controls are mostly created after the dialog's base has installed the
// filter, and some inside group boxes: each watched widget passes its new
// children on.
void CCommitKeys::Watch(QObject& object)
{
    if (!object.isWidgetType() || &object == m_pOwnKeys)
        return;
    object.installEventFilter(this);
    for (QObject* pChild : object.children())
        Watch(*pChild);
}

bool CCommitKeys::IsCommitKey(int nKey) const
{
    if (nKey == Qt::Key_Escape)
        return m_escape == Escape::kCommits;
    return nKey == Qt::Key_Return || nKey == Qt::Key_Enter;
}

bool CCommitKeys::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::ChildAdded)
        Watch(*static_cast<QChildEvent*>(pEvent)->child());
    if (pEvent->type() != QEvent::KeyPress || !IsCommitKey(static_cast<QKeyEvent*>(pEvent)->key()))
        return QObject::eventFilter(pWatched, pEvent);
    // An open drop-down list, a message box or a dialog over the form is a
    // window of its own and keeps its keys.
    if (!pWatched->isWidgetType() || static_cast<QWidget*>(pWatched)->window() != m_owner.window())
        return false;
    m_owner.setFocus(Qt::OtherFocusReason);
    return true;
}
