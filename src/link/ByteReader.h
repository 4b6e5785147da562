// Reads a preset container front to back. Every read is checked against the
// bytes left, so a short or hostile file is never read past its end, and a
// failed read consumes nothing.
//
// Threads: any; a reader only looks at the buffer it was given, which must
// outlive it and every span it hands out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

class CByteReader {
public:
    explicit CByteReader(std::span<const uint8_t> bytes) : m_rest(bytes) {}

    // True (and the tag consumed) when the next bytes are exactly the tag:
    // one length byte, then its characters without terminator.
    bool ReadTag(std::string_view tag);
    std::optional<uint8_t> ReadByte();
    // The next n bytes, or nothing when fewer are left.
    std::optional<std::span<const uint8_t>> Take(size_t nBytes);
    bool AtEnd() const { return m_rest.empty(); }

private:
    std::span<const uint8_t> m_rest;
};
