// The system settings of the virtual processor (block kind 9 apart from the
// names, which live with the images): control block, information text,
// lock block, single-byte settings, low-pass limit, delay preset table,
// the default-setup word, and the read-only items: level readings,
// identification and variant.
//
// Threads: no lock of its own; the virtual processor calls it under its lock.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "GlobalData.h"

class CVirtualSystem {
public:
    static constexpr const char* kIdentification = "SVH1-WV1.00";

    CVirtualSystem();

    // False when the item is not writable or the payload has the wrong
    // size; nothing changes then.
    bool Write(int nItem, const uint8_t* pData, int nLength);
    // Payload of a read reply; false for an item the processor does not know.
    bool Read(int nItem, std::vector<uint8_t>* pOut);

    // Single-byte items as stored; item 50 the 16-bit limit, 52 the variant;
    // -1 for an item without a value.
    int Value(int nItem) const;
    std::vector<uint8_t> DelayTable() const;

    // Any text; it is sent space-padded or cut to 11 characters.
    void SetIdentification(const std::string& strId);
    // Fixed readings from now on instead of the moving demonstration ones.
    void SetLevels(const std::array<int, kLevelEntries>& levels);
    void SetVariant(int nVariant) { m_nVariant = static_cast<uint8_t>(nVariant); }

private:
    static bool IsSingleByte(int nItem);
    void Levels(std::vector<uint8_t>* pOut);

    std::array<uint8_t, 256> m_bytes{};
    std::array<uint8_t, kControlSize> m_control{};
    std::array<uint8_t, kInfoTextSize> m_info{};
    std::array<uint8_t, kLockSize> m_lock{};
    std::array<uint8_t, 2> m_lowPassLimit{};
    std::array<uint8_t, 2> m_defaultWord{};
    std::array<uint8_t, kDelayTableSize> m_delay{};
    std::array<uint8_t, kIdSize> m_id{};
    std::array<uint8_t, kLevelEntries> m_levels{};
    bool m_bFixedLevels = false;
    unsigned m_nLevelReads = 0;
    uint8_t m_nVariant = 1;
};
