// The outgoing commands, first in first out. Exactly one is in flight: the
// head stays until its answer removes it or asks for it again.
// Threads: used under the processor's comm lock only.
#pragma once

#include <deque>
#include <memory>

#include "SendData.h"

class CSendDataQueue {
public:
    void Add(std::unique_ptr<CSendData> pData) { m_queue.push_back(std::move(pData)); }
    CSendData* GetHead() const { return m_queue.empty() ? nullptr : m_queue.front().get(); }
    int GetCount() const { return static_cast<int>(m_queue.size()); }
    bool RemoveHead();
    void Clear() { m_queue.clear(); }

private:
    std::deque<std::unique_ptr<CSendData>> m_queue;
};
