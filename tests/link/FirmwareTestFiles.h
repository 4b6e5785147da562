// Firmware files for tests, built byte by byte from the two layouts, and
// the commands of a whole update.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FirmwareFile.h"
#include "FirmwareSequence.h"

// Bytes that differ from their neighbours, from 0xFF fill and from zero
// padding in most places; nSeed tells two images apart.
inline std::vector<uint8_t> PatternBytes(size_t nCount, int nSeed)
{
    std::vector<uint8_t> bytes(nCount);
    for (size_t i = 0; i < nCount; ++i)
        bytes[i] = static_cast<uint8_t>(i * 13 + static_cast<size_t>(nSeed) * 29 + 1);
    return bytes;
}

inline std::vector<uint8_t> WithTag(const char* pTag, const std::vector<uint8_t>& body)
{
    // Sized once: GCC 12 at -O3 warns falsely about an insert that grows the vector.
    std::vector<uint8_t> file(kFirmwareTagSize + body.size());
    std::copy(pTag, pTag + kFirmwareTagSize, file.begin());
    std::copy(body.begin(), body.end(), file.begin() + kFirmwareTagSize);
    return file;
}

// "WDSP", the DSP section (image, then the unused rest of the section),
// then "WMCU" and the MCU image unless it is empty.
inline std::vector<uint8_t> DspFile(const std::vector<uint8_t>& dspImage, const std::vector<uint8_t>& mcuImage = {})
{
    std::vector<uint8_t> section = dspImage;
    section.resize(0x40000, 0xA5);
    std::vector<uint8_t> file = WithTag("WDSP", section);
    if (!mcuImage.empty()) {
        const std::vector<uint8_t> mcu = WithTag("WMCU", mcuImage);
        file.insert(file.end(), mcu.begin(), mcu.end());
    }
    return file;
}

inline CFirmwareUpdate ParsedOrFail(const std::vector<uint8_t>& file)
{
    FirmwareFileResult result = ParseFirmwareFile(file.data(), file.size());
    if (!result.update)
        throw std::runtime_error("firmware file refused: " + FirmwareFileErrorText(result.error));
    return std::move(*result.update);
}

// Every call of NextFirmwareCommand until it queues nothing more; each
// inner list is what one call queued.
inline std::vector<std::deque<std::unique_ptr<CSendData>>> AllCalls(CFirmwareUpdate& update)
{
    std::vector<std::deque<std::unique_ptr<CSendData>>> calls;
    for (;;) {
        std::deque<std::unique_ptr<CSendData>> queued;
        if (NextFirmwareCommand(update, queued) == 0)
            return calls;
        calls.push_back(std::move(queued));
    }
}
