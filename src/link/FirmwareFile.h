// A firmware file for the processor's two programmable parts (DSP and MCU)
// and the state of one update made from it.
//
// File layouts (raw bytes, ".bin", called a "Hex File" by the dialogs):
//   MCU only  shorter than 0x40004 bytes: "WMCU", then the MCU image.
//   DSP       0x40004 bytes or more: "WDSP", the 0x40000-byte DSP section of
//             which the first 65535 bytes are the DSP image (the loader's
//             DSP area ends one byte short of 64 KiB); then, optionally,
//             "WMCU" at 0x40004 and the MCU image from 0x40008 to the end.
//             Anything else after the DSP section is padding, left alone.
// The first 4 bytes of an MCU image are a header the loader takes in a step
// of its own; the MCU checksum covers the bytes after it: 0x12 XOR each.
//
// Files that would start an update with nothing (or half a file) to send
// are refused: no known tag, shorter than the tag, a "WDSP" file shorter
// than its DSP section, an MCU image without a byte after its header, or
// more than kMaxFirmwareFile bytes.
//
// Threads: LoadFirmwareFile and ParseFirmwareFile are pure (any thread).
// An update state is made on the user-interface thread before transfers
// start; from then on only the communication thread uses it, under the comm lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FirmwareFrames.h"
#include "TextTable.h"

constexpr size_t kFirmwareTagSize = 4;
constexpr size_t kFirmwareDspSection = 0x40000;
constexpr size_t kFirmwareMcuTagOffset = kFirmwareTagSize + kFirmwareDspSection;  // 0x40004
constexpr size_t kFirmwareMcuAfterDsp = kFirmwareMcuTagOffset + kFirmwareTagSize;  // 0x40008
// No processor has flash anywhere near this; a bigger file is not ours.
constexpr size_t kMaxFirmwareFile = 16u << 20;


enum class DspStep { NotStarted, Sending, DoneAlone, DoneMcuFollows, Finished };
enum class McuStep { NotStarted, HeaderNext, Sending, DataDone, Finished };

// The state of one update. Made by ParseFirmwareFile, advanced by
// NextFirmwareCommand and OnFirmwareReply (FirmwareSequence.h).
class CFirmwareUpdate {
public:
    size_t DspRemaining() const { return m_dspImage.size() - m_nDspSent; }
    size_t McuRemaining() const { return m_mcuImage.size() - m_nMcuSent; }

    std::vector<uint8_t> m_dspImage;  // kDspImageSize bytes when present
    std::vector<uint8_t> m_mcuImage;  // header and data when present
    size_t m_nDspSent = 0;            // bytes of each image already queued
    size_t m_nMcuSent = 0;
    uint8_t m_nChecksum = kMcuChecksumSeed;  // stays the seed without an MCU image
    bool m_bDspPresent = false;
    bool m_bMcuPresent = false;
    DspStep m_nDspStep = DspStep::NotStarted;
    McuStep m_nMcuStep = McuStep::NotStarted;
    uint32_t m_nDspAddress = 0;
    bool m_bStart = true;        // the handshake is still to be sent
    int m_nSteps = 0;            // progress steps: one for each reply the update waits for
    int m_nProgressItem = 0;     // progress number of the last command queued
    bool m_bMcuReplySeen = false;
    bool m_bFinished = false;    // the processor acknowledged the final step
};

enum class FirmwareFileError { None, Missing, Unreadable, BadLayout };

struct FirmwareFileResult {
    std::optional<CFirmwareUpdate> update;  // set exactly when error is None
    FirmwareFileError error = FirmwareFileError::None;
};

FirmwareFileResult ParseFirmwareFile(const uint8_t* pData, size_t nSize);
FirmwareFileResult LoadFirmwareFile(const std::filesystem::path& path);

// The refusal from the text table, in the language given or of the moment:
// a missing file, "Hex File error!" / "Hex文件错误!" for one that cannot be
// read, "更新文件错误！" (in English: not a firmware update file) for one
// without its sections; nothing for None.
std::string FirmwareFileErrorText(FirmwareFileError error, Language language = CurrentLanguage());
