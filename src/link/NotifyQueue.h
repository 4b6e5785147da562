// A notification sink for programs without a window system (zr470ctl, tests):
// posts from any thread are queued, and the thread that plays the
// user-interface part takes them and hands them to the session.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "Notify.h"

class CLinkSession;

struct PostedNotification {
    int nMsg;
    intptr_t wParam;
    intptr_t lParam;
};

class CNotifyQueue : public INotifySink {
public:
    void Post(int nMsg, intptr_t wParam, intptr_t lParam) override;
    // The next notification within nTimeoutMs, or false.
    bool Take(PostedNotification* pOut, int nTimeoutMs);

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<PostedNotification> m_queue;
};

// Plays the user-interface thread: hands every notification to the session
// (and to the observer, if any) until bDone() holds or the time is up.
// Returns whether bDone() held.
bool PumpUntil(CNotifyQueue& queue, CLinkSession& session, const std::function<bool()>& bDone, int nTimeoutMs,
               const std::function<void(const PostedNotification&)>& observer = {});
