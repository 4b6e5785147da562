// The firmware commands on the wire: the step each one carries in its
// item byte, and the handshake report that precedes them. The editor's
// update sequence and the virtual processor's loader both speak it.
#pragma once

#include <cstddef>
#include <cstdint>

// What the loader takes: the DSP image in chunks after a 4-byte address,
// the MCU image as a header and chunks, closed by its running checksum.
constexpr int kDspImageSize = 65535;
constexpr int kDspChunkSize = 44;  // image bytes in one DSP chunk, after the 4-byte address
constexpr int kMcuHeaderSize = 4;
constexpr int kMcuChunkSize = 48;
constexpr uint8_t kMcuChecksumSeed = 0x12;

enum FirmwareStep : int {
    kStepEnter = 54,       // '6' 16 zero bytes; the processor restarts into its loader after answering
    kStepMcuStart = 55,    // '7' the 4-byte MCU image header
    kStepMcuData = 56,     // '8' 48 MCU image bytes, the last chunk filled up with 0xFF
    kStepFinish = 57,      // '9' the MCU checksum byte
    kStepErase = 58,       // ':' 16 zero bytes; erases the DSP area
    kStepDspData = 59,     // ';' DSP address (32 bits, little-endian), 44 image bytes, zeros after the last
    kStepDspDone = 60,     // '<' never sent: the item of the processor's answer to the chunk completing the DSP image
    kStepHandshake = 255,  // a 64-byte command that goes out as the raw report pattern below
};

// The handshake report: 0x43 ('C') and 0x11 alternating over all 64 data
// bytes. It is not a frame, so a processor's frame hunting skips it.
constexpr uint8_t kHandshakeOdd = 0x43;
constexpr uint8_t kHandshakeEven = 0x11;
// Fills a 65-byte output report: byte 0 the report number 0, then the pattern.
void FillHandshakeReport(uint8_t* pReport65);
bool IsHandshakeData(const uint8_t* pData, size_t nCount);
