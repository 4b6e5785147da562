// The settings memory of the virtual processor: the live image, scene
// programs 1 … 20 (laid out like the live image) and effect programs
// 21 … 40 (name, then the effect block), with the addressing that block
// and name frames use.
//
// Preset numbers: 0 the live image, 1 … 20 a scene program; the effect
// kind with 21 … 40 addresses an effect program. A frame that addresses
// nothing (a channel the processor lacks, a group past the block end, a
// payload of the wrong size) is refused and changes nothing.
//
// Threads: no lock of its own; the virtual processor calls it under its lock.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "GlobalData.h"

class CVirtualImages {
public:
    CVirtualImages();

    bool WriteGroup(int nPreset, int nKind, int nChannel, int nGroup, const uint8_t* pData, int nLength);
    // A whole block as it travels: 112 bytes (microphone, music), the first
    // 96 bytes of the effect block, 296 bytes (output).
    bool WriteBlock(int nPreset, int nKind, int nChannel, const uint8_t* pData, int nLength);
    // The whole block for a read reply. With a program number and mode 0
    // the program's block is recalled into the live state first.
    bool ReadBlock(int nPreset, int nKind, int nChannel, int nMode, std::vector<uint8_t>* pOut);

    // Item 0 (scene name) and item 1 (effect-program name), 16 bytes.
    bool WriteName(int nItem, int nPreset, const uint8_t* pData, int nLength);
    bool ReadName(int nItem, int nPreset, std::vector<uint8_t>* pOut);

    const uint8_t* Live() const { return m_live.data(); }
    // nullptr outside 1 … 20 / 21 … 40.
    const uint8_t* Scene(int n) const;
    const uint8_t* EffectProgram(int n) const;
    bool SetScene(int n, const std::vector<uint8_t>& image);
    bool SetLive(const std::vector<uint8_t>& image);

private:
    struct Span {
        uint8_t* p = nullptr;
        int n = 0;
    };
    uint8_t* Image(int nPreset);
    Span Block(int nPreset, int nKind, int nChannel);
    Span Name(int nItem, int nPreset);

    using Image_t = std::array<uint8_t, kImageSize>;
    Image_t m_live{};
    std::array<Image_t, kSceneEntries> m_scenes{};
    std::array<std::array<uint8_t, kEffectProgSize>, kEffectProgLast - kEffectProgFirst + 1> m_effects{};
};
