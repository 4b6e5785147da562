#include "ByteReader.h"

#include <algorithm>

bool CByteReader::ReadTag(std::string_view tag)
{
    if (tag.size() > 255 || m_rest.size() < tag.size() + 1 || m_rest[0] != tag.size())
        return false;
    if (!std::equal(tag.begin(), tag.end(), m_rest.begin() + 1,
                    [](char c, uint8_t b) { return static_cast<uint8_t>(c) == b; }))
        return false;
    m_rest = m_rest.subspan(tag.size() + 1);
    return true;
}

std::optional<uint8_t> CByteReader::ReadByte()
{
    if (m_rest.empty())
        return std::nullopt;
    const uint8_t nByte = m_rest[0];
    m_rest = m_rest.subspan(1);
    return nByte;
}

std::optional<std::span<const uint8_t>> CByteReader::Take(size_t nBytes)
{
    if (m_rest.size() < nBytes)
        return std::nullopt;
    const std::span<const uint8_t> taken = m_rest.first(nBytes);
    m_rest = m_rest.subspan(nBytes);
    return taken;
}
