#include "SendDataQueue.h"

bool CSendDataQueue::RemoveHead()
{
    if (m_queue.empty())
        return false;
    m_queue.pop_front();
    return true;
}
