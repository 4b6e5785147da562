#include "FrameAssembler.h"

#include "Frame.h"

namespace {
constexpr int kReceivedOverhead = 13; // header, checksum, end byte
}  // namespace

void CFrameAssembler::Reset()
{
    m_bInFrame = false;
    m_nSyncCount = 0;
    m_nCollected = 0;
    m_nExpected = 0;
}

void CFrameAssembler::Feed(const uint8_t* pData, size_t nCount)
{
    for (size_t i = 0; i < nCount; ++i) {
        const uint8_t nByte = pData[i];
        if (m_bInFrame) {
            Append(nByte);
            continue;
        }
        if (nByte == kFrameSync) {
            ++m_nSyncCount;
            m_bSyncSeen = true;
        } else if (nByte == kFrameStart || m_nSyncCount == 3) {
            m_bInFrame = true;
            m_nSyncCount = 0;
            m_nCollected = 0;
            m_nExpected = 0;
            Append(nByte);
        } else {
            m_nSyncCount = 0;
        }
    }
}

void CFrameAssembler::Append(uint8_t nByte)
{
    m_frame[m_nCollected++] = nByte;
    if (m_nCollected == kReceivedOverhead && m_nExpected == 0) {
        m_nExpected = (m_frame[9] | (m_frame[10] << 8)) + kReceivedOverhead;
        // A declared length the buffer cannot hold is noise: drop it and
        // hunt again rather than write past the buffer.
        if (m_nExpected > kFrameBufferSize) {
            Reset();
            m_sink(m_frame, kReceivedOverhead, FrameCheck::Bad);
            return;
        }
    }
    if (m_nExpected != 0 && m_nCollected == m_nExpected)
        Complete();
}

void CFrameAssembler::Complete()
{
    const int n = m_nExpected;
    uint8_t nSum = 0;
    for (int i = 1; i <= n - 3; ++i)
        nSum ^= m_frame[i];
    const bool bOk = m_frame[n - 1] == kFrameEnd && m_frame[n - 2] == nSum;
    Reset();
    m_sink(m_frame, n, bOk ? FrameCheck::Ok : FrameCheck::Bad);
}
