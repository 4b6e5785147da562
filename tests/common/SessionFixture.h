// A session on the virtual processor, with this test's thread playing the
// user-interface thread: it pumps the posted notifications into the session.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Frame.h"
#include "LinkSession.h"
#include "ModelFixture.h"
#include "NotifyQueue.h"
#include "VirtualProcessor.h"
#include "VirtualTransport.h"

// A frame as the processor received it, numbered from the sync bytes.
using RawFrame = std::vector<uint8_t>;

inline bool IsLevelPoll(const RawFrame& f)
{
    return f.size() > 8 && f[kFoCommand] == kCmdRead && f[kFoKind] == kKindSystem && f[kFoChannel] == kItemLevels &&
           f[kFoPreset] == 0;
}

inline int PayloadWord(const RawFrame& f, int nOffset)
{
    return f[kFoPayload + nOffset] | (f[kFoPayload + nOffset + 1] << 8);
}

class SessionTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        State().m_pNotifySink = &m_queue;
        m_pDevice = std::make_shared<CVirtualProcessor>();
        m_pSession = std::make_unique<CLinkSession>(Data());
        m_pSession->m_onMessage = [this](const std::string& str, MessageKind) { m_messages.push_back(str); };
    }
    void TearDown() override
    {
        m_pSession.reset();
        ModelTest::TearDown();
    }

    bool Pump(const std::function<bool()>& bDone, int nTimeoutMs = 5000)
    {
        return PumpUntil(m_queue, *m_pSession, bDone, nTimeoutMs,
                         [this](const PostedNotification& n) { m_seen.push_back(n); });
    }
    // Connect and complete the full read, as the editor does.
    bool ConnectOnline(std::unique_ptr<ITransport> pTransport = nullptr)
    {
        if (!pTransport)
            pTransport = std::make_unique<CVirtualTransport>(m_pDevice);
        if (!m_pSession->Connect(std::move(pTransport)))
            return false;
        return Pump([this] { return State().m_bOnline.load() != 0; }) && Drain();
    }
    // Waits until every queued command and marked edit has gone out.
    bool Drain(int nTimeoutMs = 5000)
    {
        return Pump([this] { return !m_pSession->HasPendingWork(); }, nTimeoutMs);
    }
    // Frames the processor received, without the idle level polls.
    std::vector<RawFrame> Sent()
    {
        std::vector<RawFrame> out;
        for (const RawFrame& f : m_pDevice->ReceivedFrames()) {
            if (!IsLevelPoll(f))
                out.push_back(f);
        }
        return out;
    }
    int Seen(int nMsg, int nLParam = -1) const
    {
        int n = 0;
        for (const PostedNotification& note : m_seen)
            n += (note.nMsg == nMsg && (nLParam < 0 || note.lParam == nLParam)) ? 1 : 0;
        return n;
    }

    CNotifyQueue m_queue;
    std::shared_ptr<CVirtualProcessor> m_pDevice;
    std::unique_ptr<CLinkSession> m_pSession;
    std::vector<std::string> m_messages;
    std::vector<PostedNotification> m_seen;
};
