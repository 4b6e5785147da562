// Fuzz inputs meet the model through a 2184-byte image. Random bytes in all
// of it make every band of every record non-flat, and computing those ~300
// curves of 241 points costs about a millisecond a run under the
// sanitizers. Instead the input fills one part of the start-up image, whose
// bands are all bypassed and so flat: the names with the effect block, the
// microphone, the music or one output (a byte of the input picks it). Over
// many runs every part is reached, and each target stays above 1,000 runs a
// second.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "GlobalData.h"
#include "KTV_Data.h"

namespace fuzzimage {

struct Part {
    int nOffset;
    int nSize;
};

constexpr int kParts = 3 + kOutputs;

inline Part PartOf(uint8_t nPick)
{
    const int n = nPick % kParts;
    if (n == 0)
        return {0, kOffMic};
    if (n == 1)
        return {kOffMic, kInBlockSize};
    if (n == 2)
        return {kOffMusic, kInBlockSize};
    return {kOffOutput + kOutBlockSize * (n - 3), kOutBlockSize};
}

// The start-up model's image, taken once .
inline const std::array<uint8_t, kImageSize>& StartupImage()
{
    static const std::array<uint8_t, kImageSize> image = [] {
        CKTV_Data fresh;
        fresh.FillAll();
        std::array<uint8_t, kImageSize> bytes{};
        std::memcpy(bytes.data(), fresh.State().m_LiveImage, kImageSize);
        return bytes;
    }();
    return image;
}

// pImage: the start-up image with bytes [pData, pData + nSize) over the
// part that nPick chooses (cut to the part's size).
inline void FillPart(uint8_t* pImage, uint8_t nPick, const uint8_t* pData, size_t nSize)
{
    std::memcpy(pImage, StartupImage().data(), kImageSize);
    const Part part = PartOf(nPick);
    std::memcpy(pImage + part.nOffset, pData, std::min(nSize, static_cast<size_t>(part.nSize)));
}

}  // namespace fuzzimage
