// How a caller follows and stops a room fit, and the fit's side of it.
//
// Threads: the fit runs on the caller's thread (a dialog's worker, the
// command line's main thread). isCancelled is polled from that thread, so a
// dialog reads an atomic flag its Cancel button sets; onProgress is called
// from that thread too and must post to the user-interface thread itself.
#pragma once

#include <functional>

struct RoomFitHooks {
    std::function<bool()> isCancelled;      // polled between steps of the fit
    std::function<void(int)> onProgress;    // 0 … 100, never decreasing
};

class CRoomFitRun {
public:
    explicit CRoomFitRun(const RoomFitHooks& hooks) : m_hooks(hooks) {}

    // Once true it stays true without asking the caller again.
    bool Cancelled()
    {
        if (!m_bCancelled && m_hooks.isCancelled)
            m_bCancelled = m_hooks.isCancelled();
        return m_bCancelled;
    }
    void Progress(int nPercent)
    {
        if (nPercent <= m_nPercent)
            return;
        m_nPercent = nPercent;
        if (m_hooks.onProgress)
            m_hooks.onProgress(nPercent);
    }

private:
    const RoomFitHooks& m_hooks;
    bool m_bCancelled = false;
    int m_nPercent = -1;
};
