#include "CommitKeys.h"

#include <QKeyEvent>
#include <QWidget>

CCommitKeys::CCommitKeys(QWidget& dialog) : QObject(&dialog), m_dialog(dialog) {}

void CCommitKeys::Install(QWidget& dialog)
{
    auto* pFilter = new CCommitKeys(dialog);
    dialog.installEventFilter(pFilter);
    for (QWidget* pChild : dialog.findChildren<QWidget*>())
        pChild->installEventFilter(pFilter);
}

bool CCommitKeys::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return QObject::eventFilter(pWatched, pEvent);
    const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
    if (nKey != Qt::Key_Return && nKey != Qt::Key_Enter && nKey != Qt::Key_Escape)
        return false;
    // An open drop-down list is a window of its own and keeps its keys.
    if (!pWatched->isWidgetType() || static_cast<QWidget*>(pWatched)->window() != &m_dialog)
        return false;
    m_dialog.setFocus(Qt::OtherFocusReason);
    return true;
}
