#include "CommitKeys.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QWidget>

CCommitKeys::CCommitKeys(QWidget& dialog, Escape escape) : QObject(&dialog), m_dialog(dialog), m_escape(escape) {}

void CCommitKeys::Install(QWidget& dialog, Escape escape)
{
    auto* pFilter = new CCommitKeys(dialog, escape);
    pFilter->Watch(dialog);
}

// Controls are mostly created after the dialog's base has installed the
// filter, and some inside group boxes: each watched widget passes its new
// children on.
void CCommitKeys::Watch(QObject& object)
{
    if (!object.isWidgetType())
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
    // An open drop-down list is a window of its own and keeps its keys.
    if (!pWatched->isWidgetType() || static_cast<QWidget*>(pWatched)->window() != &m_dialog)
        return false;
    m_dialog.setFocus(Qt::OtherFocusReason);
    return true;
}
