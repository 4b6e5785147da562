// Carries the link's notifications to the main form as posted events, so
// the link thread never touches a window. Any thread may Post.
#pragma once

#include <QEvent>

#include "Notify.h"

class QObject;

class CNotifyEvent : public QEvent {
public:
    static QEvent::Type EventType();
    CNotifyEvent(int nMsg, intptr_t wParam, intptr_t lParam)
        : QEvent(EventType()), m_nMsg(nMsg), m_wParam(wParam), m_lParam(lParam) {}
    int m_nMsg;
    intptr_t m_wParam;
    intptr_t m_lParam;
};

class CViewNotifySink : public INotifySink {
public:
    explicit CViewNotifySink(QObject* pTarget) : m_pTarget(pTarget) {}
    void Post(int nMsg, intptr_t wParam, intptr_t lParam) override;

private:
    QObject* m_pTarget;  // outlives the link thread: the view ends it first
};
