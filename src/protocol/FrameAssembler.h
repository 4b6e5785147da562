// Finds frames in an arbitrary byte stream (reports, TCP records, any
// chunking) and checks them. Used on both sides of the link: the editor's
// receiver and the virtual processor. Keeps no global state.
//
// Hunting: a 0x5C counts towards the sync run; a 0xEE, or any byte after a
// run of exactly three 0x5C, starts a frame; anything else resets the run.
// A frame is numbered from its start byte: command at 1, payload length at
// 9 … 10, payload from 11, checksum at L + 11, end byte 0xAA at L + 12.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

constexpr int kFrameBufferSize = 400;

enum class FrameCheck { Ok, Bad };

class CFrameAssembler {
public:
    // Called for every frame whose expected length has been collected, with
    // the frame numbered from its start byte. Bad frames (wrong end byte or
    // checksum, or longer than the buffer) are reported too.
    using FrameSink = std::function<void(const uint8_t* pFrame, int nLength, FrameCheck check)>;

    explicit CFrameAssembler(FrameSink sink) : m_sink(std::move(sink)) {}

    void Feed(const uint8_t* pData, size_t nCount);
    // Back to hunting; the partial frame is dropped.
    void Reset();
    bool InFrame() const { return m_bInFrame; }
    bool SyncSeen() const { return m_bSyncSeen; }

private:
    void Append(uint8_t nByte);
    void Complete();

    FrameSink m_sink;
    uint8_t m_frame[kFrameBufferSize] = {};
    int m_nSyncCount = 0;
    bool m_bInFrame = false;
    bool m_bSyncSeen = false;
    int m_nCollected = 0;
    int m_nExpected = 0;
};
