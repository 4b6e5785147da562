// The virtual processor's loader: what the processor does with the
// firmware steps (system-item writes 54 … 59).
//
//   54  enter the loader: answered 'Q', then the processor restarts (the
//       virtual processor vanishes for a pause and re-appears running the
//       loader); 54 is accepted at any time.
//   58  erase: the DSP area becomes 0xFF.
//   59  DSP chunk: 32-bit little-endian address and 44 bytes, stored where
//       they fall inside the 65535-byte DSP area. The chunk that completes
//       the area (every byte written since the erase) is answered 'Q' with
//       item 60 instead of 59: that is how the processor reports 60.
//   55  MCU header (4 bytes): starts MCU programming, earlier MCU data is dropped.
//   56  MCU chunk (48 bytes), appended as received, fill included.
//   57  checksum (1 byte), compared with 0x12 XOR the MCU data received;
//       the last chunk is filled up with 0xFF and the loader cannot tell
//       fill from image bytes of that value, so a checksum taken without
//       any part of a trailing 0xFF run shorter than a chunk also matches.
//       A match is answered 'Q' (item 57) and ends the update; a mismatch
//       is answered 'R', so the editor repeats 57 until it gives up on the
//       update instead of reporting success. Without MCU data the expected
//       checksum is 0x12.
// Steps 55 … 59 before the loader runs, out of range or with a wrong
// payload size are answered 'R' and change nothing.
//
// Threads: no lock of its own; the virtual processor calls it under its lock.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

class CVirtualLoader {
public:
    static constexpr int kDspArea = 65535;
    static constexpr int kHeaderSize = 4;

    enum class Answer {
        Ack,         // 'Q' with the request's item
        AckDspDone,  // 'Q' with item 60: the DSP area is complete
        AckRestart,  // 'Q', then restart into the loader
        Resend,      // 'R': refused, nothing changed
    };

    CVirtualLoader();

    static bool IsLoaderStep(int nItem);
    Answer Write(int nStep, const uint8_t* pPayload, int nLength);
    // The restart after step 54 is over: the loader runs.
    void Restarted() { m_bRunning = true; }
    // The checksum of step 57 is refused even when it matches.
    void SetRefuseChecksum(bool bRefuse) { m_bRefuseChecksum = bRefuse; }
    void CountHandshake() { ++m_nHandshakes; }

    bool Running() const { return m_bRunning; }
    const std::vector<uint8_t>& DspImage() const { return m_dsp; }
    bool DspComplete() const { return m_nDspWritten == kDspArea; }
    bool HasMcuHeader() const { return m_bHeader; }
    const std::array<uint8_t, kHeaderSize>& McuHeader() const { return m_header; }
    const std::vector<uint8_t>& McuData() const { return m_mcu; }
    bool McuVerified() const { return m_bVerified; }
    // The last step of an update the loader can recognise was accepted: the
    // checksum, or the DSP area completed with no MCU programming started.
    bool UpdateFinished() const { return m_bVerified || (DspComplete() && !m_bHeader); }
    int Handshakes() const { return m_nHandshakes; }

private:
    Answer Erase();
    Answer DspChunk(const uint8_t* pPayload, int nLength);
    Answer McuHeader(const uint8_t* pPayload, int nLength);
    Answer McuChunk(const uint8_t* pPayload, int nLength);
    Answer Checksum(const uint8_t* pPayload, int nLength);
    bool ChecksumMatches(uint8_t nChecksum) const;

    bool m_bRunning = false;
    bool m_bRefuseChecksum = false;
    std::vector<uint8_t> m_dsp;
    std::vector<bool> m_dspWritten;
    int m_nDspWritten = 0;
    bool m_bHeader = false;
    std::array<uint8_t, kHeaderSize> m_header{};
    std::vector<uint8_t> m_mcu;
    bool m_bVerified = false;
    int m_nHandshakes = 0;
};
