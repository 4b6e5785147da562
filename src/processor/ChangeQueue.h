// A subscriber for a thread other than the processor's owner: events are
// kept until that thread takes them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "ChangeEvent.h"

class CChangeQueue : public IChangeSubscriber {
public:
    void OnChange(const ChangeEvent& event) override;
    // Every event kept so far, waiting up to timeout for the first.
    std::vector<ChangeEvent> Take(std::chrono::milliseconds timeout = std::chrono::milliseconds(0));

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<ChangeEvent> m_events;
};
