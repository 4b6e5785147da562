// One queued command frame. Owns its bytes; the queue owns the object.
#pragma once

#include <cstdint>
#include <functional>
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
    // A frame sent for another client (a frame port): its answer, whatever
    // it is, goes to this hook instead of into the model, and ends the
    // command. Called on the communication thread under the comm lock,
    // with the answer numbered from its start byte.
    std::function<void(const uint8_t* pAnswer, int nLength)> m_onAnswer;

private:
    std::vector<uint8_t> m_frame;
};
