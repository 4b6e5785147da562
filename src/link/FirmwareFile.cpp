#include "FirmwareFile.h"

#include <cstring>
#include <fstream>

namespace {

bool HasTag(const uint8_t* pData, size_t nSize, size_t nOffset, const char* pTag)
{
    return nSize >= nOffset + kFirmwareTagSize && std::memcmp(pData + nOffset, pTag, kFirmwareTagSize) == 0;
}

int Chunks(size_t nBytes, int nChunk)
{
    return static_cast<int>((nBytes + static_cast<size_t>(nChunk) - 1) / static_cast<size_t>(nChunk));
}

FirmwareFileResult Failure(FirmwareFileError error)
{
    FirmwareFileResult result;
    result.error = error;
    return result;
}

// The MCU image must carry its header and at least one byte to program;
// with less the loader would be left waiting for data that never comes.
bool TakeMcuImage(const uint8_t* pData, size_t nSize, size_t nOffset, CFirmwareUpdate* pUpdate)
{
    if (nSize <= nOffset + kMcuHeaderSize)
        return false;
    pUpdate->m_mcuImage.assign(pData + nOffset, pData + nSize);
    pUpdate->m_bMcuPresent = true;
    uint8_t nSum = kMcuChecksumSeed;
    for (size_t i = kMcuHeaderSize; i < pUpdate->m_mcuImage.size(); ++i)
        nSum ^= pUpdate->m_mcuImage[i];
    pUpdate->m_nChecksum = nSum;
    return true;
}

// Every command the processor answers: enter and erase, the DSP chunks
// (the processor reports the last one as done), the MCU header, its chunks
// and the checksum; an MCU-only update enters with a step of its own.
int CountSteps(const CFirmwareUpdate& update)
{
    int nSteps = 0;
    if (update.m_bDspPresent)
        nSteps += 2 + Chunks(update.m_dspImage.size(), kDspChunkSize);
    if (update.m_bMcuPresent) {
        nSteps += update.m_bDspPresent ? 0 : 1;
        nSteps += 2 + Chunks(update.m_mcuImage.size() - kMcuHeaderSize, kMcuChunkSize);
    }
    return nSteps;
}

bool ParseLayout(const uint8_t* pData, size_t nSize, CFirmwareUpdate* pUpdate)
{
    if (nSize > kMaxFirmwareFile)
        return false;
    if (nSize < kFirmwareMcuTagOffset)
        return HasTag(pData, nSize, 0, "WMCU") && TakeMcuImage(pData, nSize, kFirmwareTagSize, pUpdate);
    if (!HasTag(pData, nSize, 0, "WDSP"))
        return false;
    pUpdate->m_dspImage.assign(pData + kFirmwareTagSize, pData + kFirmwareTagSize + kDspImageSize);
    pUpdate->m_bDspPresent = true;
    pUpdate->m_nMcuStep = McuStep::HeaderNext;
    // Vendors pad their files: whatever follows the DSP section without the
    // MCU tag is not ours to program, and the DSP part is updated alone.
    if (!HasTag(pData, nSize, kFirmwareMcuTagOffset, "WMCU"))
        return true;
    return TakeMcuImage(pData, nSize, kFirmwareMcuAfterDsp, pUpdate);
}

}  // namespace

std::string FirmwareFileErrorText(FirmwareFileError error, Language language)
{
    switch (error) {
    case FirmwareFileError::Missing:
        return TextIn(language, kTxtFirmwareMissing);
    case FirmwareFileError::Unreadable:
        return TextIn(language, kTxtHexFileError);
    case FirmwareFileError::BadLayout:
        return TextIn(language, kTxtNotFirmwareFile);
    case FirmwareFileError::None:
        break;
    }
    return {};
}

FirmwareFileResult ParseFirmwareFile(const uint8_t* pData, size_t nSize)
{
    CFirmwareUpdate update;
    if (!pData || !ParseLayout(pData, nSize, &update))
        return Failure(FirmwareFileError::BadLayout);
    update.m_nSteps = CountSteps(update);
    FirmwareFileResult result;
    result.update = std::move(update);
    return result;
}

FirmwareFileResult LoadFirmwareFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return Failure(FirmwareFileError::Missing);
    if (!std::filesystem::is_regular_file(path, ec))
        return Failure(FirmwareFileError::Unreadable);
    const std::uintmax_t nSize = std::filesystem::file_size(path, ec);
    if (ec)
        return Failure(FirmwareFileError::Unreadable);
    if (nSize > kMaxFirmwareFile)
        return Failure(FirmwareFileError::BadLayout);
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<size_t>(nSize));
    if (!file || !file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return Failure(FirmwareFileError::Unreadable);
    return ParseFirmwareFile(bytes.data(), bytes.size());
}
