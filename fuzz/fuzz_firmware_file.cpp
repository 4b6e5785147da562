// Whatever a firmware file holds, loading it never crashes; a refused file
// yields no update, and an accepted one starts an update that is
// consistent: every image byte goes out once, in order, every command is a
// well-formed frame, and the sequence ends with the checksum.
//
// A DSP file is 0x40004 bytes or more, too big for a seed, so every short
// input is tried a second time as a DSP file: its first 4 bytes, a zero
// DSP section, then the rest of the input ("WDSP" "WMCU" HEAD DATA... makes
// a DSP file with an MCU section).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "FirmwareFile.h"
#include "FirmwareSequence.h"
#include "FrameAssembler.h"

namespace {

void Require(bool bCondition)
{
    if (!bCondition)
        __builtin_trap();
}

bool IsWellFormed(const CSendData& data)
{
    int nGood = 0;
    CFrameAssembler assembler([&](const uint8_t*, int n, FrameCheck check) {
        nGood += check == FrameCheck::Ok && n == data.Length() - 3 ? 1 : 0;
    });
    assembler.Feed(data.Frame(), static_cast<size_t>(data.Length()));
    return nGood == 1;
}

// Replays the whole command sequence and rebuilds the images from it.
void CheckSequence(CFirmwareUpdate update)
{
    const std::vector<uint8_t> dsp = update.m_dspImage;
    const std::vector<uint8_t> mcu = update.m_mcuImage;
    std::vector<uint8_t> sentDsp;
    std::vector<uint8_t> sentMcu;
    sentDsp.reserve(dsp.size() + kDspChunkSize);
    sentMcu.reserve(mcu.size() + kMcuChunkSize);
    std::deque<std::unique_ptr<CSendData>> commands;
    const int nMaxCalls = update.m_nSteps + 4;
    for (int nCalls = 0; NextFirmwareCommand(update, commands) > 0; ++nCalls)
        Require(nCalls < nMaxCalls);
    Require(!commands.empty() && commands.front()->m_nFirmwareStep == kStepHandshake);
    Require(commands.back()->m_nFirmwareStep == kStepFinish);
    int nTagged = 0;
    for (const auto& p : commands) {
        Require(IsWellFormed(*p));
        nTagged += p->m_nProgressTag > 0 ? 1 : 0;
        const uint8_t* pPayload = p->Frame() + 14;
        if (p->m_nFirmwareStep == kStepDspData) {
            const uint32_t nAddress = pPayload[0] | pPayload[1] << 8 | pPayload[2] << 16 |
                                      static_cast<uint32_t>(pPayload[3]) << 24;
            Require(nAddress == sentDsp.size());
            sentDsp.insert(sentDsp.end(), pPayload + 4, pPayload + 4 + kDspChunkSize);
        } else if (p->m_nFirmwareStep == kStepMcuStart || p->m_nFirmwareStep == kStepMcuData) {
            sentMcu.insert(sentMcu.end(), pPayload, pPayload + p->Length() - 16);
        } else if (p->m_nFirmwareStep == kStepFinish) {
            Require(pPayload[0] == update.m_nChecksum);
        }
    }
    Require(sentDsp.size() >= dsp.size() && std::equal(dsp.begin(), dsp.end(), sentDsp.begin()));
    Require(sentDsp.size() - dsp.size() < static_cast<size_t>(kDspChunkSize));
    Require(sentMcu.size() >= mcu.size() && std::equal(mcu.begin(), mcu.end(), sentMcu.begin()));
    Require(sentMcu.size() - mcu.size() < static_cast<size_t>(kMcuChunkSize));
    // A DSP-only update ends on the processor's report of 60; its 57 stays unanswered.
    Require(nTagged == update.m_nSteps + (update.m_bMcuPresent ? 0 : 1));
}

void Check(const uint8_t* pData, size_t nSize)
{
    FirmwareFileResult result = ParseFirmwareFile(pData, nSize);
    if (!result.update) {
        Require(result.error == FirmwareFileError::BadLayout && !FirmwareFileErrorText(result.error).empty());
        return;
    }
    const CFirmwareUpdate& update = *result.update;
    Require(result.error == FirmwareFileError::None);
    Require(update.m_bDspPresent || update.m_bMcuPresent);
    Require(!update.m_bDspPresent || update.m_dspImage.size() == static_cast<size_t>(kDspImageSize));
    Require(!update.m_bMcuPresent || update.m_mcuImage.size() > static_cast<size_t>(kMcuHeaderSize));
    Require(update.m_bStart && update.m_nSteps > 0);
    CheckSequence(update);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    Check(pData, nSize);
    if (nSize >= kFirmwareTagSize && nSize < kFirmwareMcuTagOffset) {
        // One buffer for every run: a fresh quarter megabyte each time costs
        // more in page faults than the whole check.
        static std::vector<uint8_t> file;
        file.assign(pData, pData + kFirmwareTagSize);
        file.resize(kFirmwareMcuTagOffset, 0);
        file.insert(file.end(), pData + kFirmwareTagSize, pData + nSize);
        Check(file.data(), file.size());
    }
    return 0;
}
