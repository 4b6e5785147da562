#include "ViewNotifySink.h"

#include <QCoreApplication>

QEvent::Type CNotifyEvent::EventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void CViewNotifySink::Post(int nMsg, intptr_t wParam, intptr_t lParam)
{
    QCoreApplication::postEvent(m_pTarget, new CNotifyEvent(nMsg, wParam, lParam));
}
