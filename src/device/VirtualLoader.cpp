#include "VirtualLoader.h"

#include <algorithm>

#include "FirmwareFrames.h"

namespace {
constexpr uint8_t kErased = 0xFF;
constexpr int kDspAddressSize = 4;
constexpr int kDspChunkPayload = kDspAddressSize + kDspChunkSize;
static_assert(CVirtualLoader::kDspArea == kDspImageSize);
static_assert(CVirtualLoader::kHeaderSize == kMcuHeaderSize);
}  // namespace

CVirtualLoader::CVirtualLoader() : m_dsp(kDspArea, kErased), m_dspWritten(kDspArea, false) {}

bool CVirtualLoader::IsLoaderStep(int nItem)
{
    return nItem >= kStepEnter && nItem <= kStepDspData;
}

CVirtualLoader::Answer CVirtualLoader::Write(int nStep, const uint8_t* pPayload, int nLength)
{
    if (nStep == kStepEnter) {
        // A new session: the flash keeps its contents, the bookkeeping starts over.
        m_bRunning = false;
        std::fill(m_dspWritten.begin(), m_dspWritten.end(), false);
        m_nDspWritten = 0;
        m_bHeader = false;
        m_mcu.clear();
        m_bVerified = false;
        return Answer::AckRestart;
    }
    if (!m_bRunning)
        return Answer::Resend;
    switch (nStep) {
    case kStepErase:
        return Erase();
    case kStepDspData:
        return DspChunk(pPayload, nLength);
    case kStepMcuStart:
        return McuHeader(pPayload, nLength);
    case kStepMcuData:
        return McuChunk(pPayload, nLength);
    case kStepFinish:
        return Checksum(pPayload, nLength);
    default:
        return Answer::Resend;
    }
}

CVirtualLoader::Answer CVirtualLoader::Erase()
{
    std::fill(m_dsp.begin(), m_dsp.end(), kErased);
    std::fill(m_dspWritten.begin(), m_dspWritten.end(), false);
    m_nDspWritten = 0;
    return Answer::Ack;
}

CVirtualLoader::Answer CVirtualLoader::DspChunk(const uint8_t* pPayload, int nLength)
{
    if (nLength != kDspChunkPayload)
        return Answer::Resend;
    uint32_t nAddress = 0;
    for (int i = 0; i < kDspAddressSize; ++i)
        nAddress |= static_cast<uint32_t>(pPayload[i]) << (8 * i);
    if (nAddress >= static_cast<uint32_t>(kDspArea))
        return Answer::Resend;
    // The last chunk reaches past the area; its tail is padding.
    const int nCount = std::min(kDspChunkSize, kDspArea - static_cast<int>(nAddress));
    for (int i = 0; i < nCount; ++i) {
        const size_t nAt = nAddress + static_cast<size_t>(i);
        m_dsp[nAt] = pPayload[kDspAddressSize + i];
        if (!m_dspWritten[nAt]) {
            m_dspWritten[nAt] = true;
            ++m_nDspWritten;
        }
    }
    return DspComplete() ? Answer::AckDspDone : Answer::Ack;
}

CVirtualLoader::Answer CVirtualLoader::McuHeader(const uint8_t* pPayload, int nLength)
{
    if (nLength != kHeaderSize)
        return Answer::Resend;
    std::copy(pPayload, pPayload + kHeaderSize, m_header.begin());
    m_bHeader = true;
    m_mcu.clear();
    m_bVerified = false;
    return Answer::Ack;
}

CVirtualLoader::Answer CVirtualLoader::McuChunk(const uint8_t* pPayload, int nLength)
{
    if (!m_bHeader || nLength != kMcuChunkSize)
        return Answer::Resend;
    m_mcu.insert(m_mcu.end(), pPayload, pPayload + nLength);
    return Answer::Ack;
}

CVirtualLoader::Answer CVirtualLoader::Checksum(const uint8_t* pPayload, int nLength)
{
    if (nLength != 1 || m_bRefuseChecksum || !ChecksumMatches(pPayload[0]))
        return Answer::Resend;
    m_bVerified = true;
    return Answer::Ack;
}

bool CVirtualLoader::ChecksumMatches(uint8_t nChecksum) const
{
    uint8_t nSum = kMcuChecksumSeed;
    for (uint8_t nByte : m_mcu)
        nSum ^= nByte;
    if (nChecksum == nSum)
        return true;
    // Leaving out an odd number of fill bytes flips every bit once more.
    return !m_mcu.empty() && m_mcu.back() == kErased && nChecksum == (nSum ^ kErased);
}
