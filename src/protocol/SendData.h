// One queued command frame. Owns its bytes; the queue owns the object.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kReportSize = 65;      // report number + 64 data bytes
constexpr int kReportData = 64;

class CSendData {
public:
    explicit CSendData(int nLength);

    uint8_t* Frame() { return m_frame.data(); }
    const uint8_t* Frame() const { return m_frame.data(); }
    int Length() const { return static_cast<int>(m_frame.size()); }

    // Places the next (up to) 64 frame bytes into a 65-byte report whose
    // byte 0 is the report number 0; false when every byte has been placed.
    bool FillNextReport(uint8_t* pReport);
    bool HasUnsentBytes() const { return m_nSendPos < Length(); }
    void Rewind() { m_nSendPos = 0; }
    int EndOfWriteBatchReached() const { return m_nSendPos == Length() ? m_bEndOfWrite : 0; }
    int EndOfReadBatchReached() const { return m_nSendPos >= Length() ? m_bEndOfRead : 0; }

    int m_nAttempts = 0;
    int m_bBatch = 0;
    int m_nProgressTag = 0;
    int m_bEndOfRead = 0;
    int m_bEndOfWrite = 0;
    int m_nSendPos = 0;
    int m_nFirmwareStep = 0;
    int m_bSingleProgress = 0;

private:
    std::vector<uint8_t> m_frame;
};
