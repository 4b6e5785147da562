// Every core test starts from the start-up state: a fresh model with
// defaults in every data area, not online, English texts, and a sink that
// records its notifications.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <vector>

#include "KTV_Data.h"
#include "Notify.h"
#include "ProcessorState.h"
#include "SendData.h"

struct PostedMsg {
    int nMsg;
    intptr_t wParam;
    intptr_t lParam;
};

class RecordingSink : public INotifySink {
public:
    void Post(int nMsg, intptr_t wParam, intptr_t lParam) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_posted.push_back({nMsg, wParam, lParam});
    }
    int Count(int nMsg)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        int n = 0;
        for (const PostedMsg& m : m_posted)
            n += m.nMsg == nMsg ? 1 : 0;
        return n;
    }

private:
    std::mutex m_mutex;
    std::vector<PostedMsg> m_posted;
};

class ModelTest : public ::testing::Test {
protected:
    ModelTest() { State().m_pNotifySink = &m_sink; }
    void SetUp() override { g_bChinese = 0; }

    CKTV_Data& Data() { return *m_pData; }
    CProcessorState& State() { return m_pData->State(); }

    RecordingSink m_sink;
    std::unique_ptr<CKTV_Data> m_pData = std::make_unique<CKTV_Data>();
};
