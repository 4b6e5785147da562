#include "EditLedger.h"

#include <algorithm>
#include <cstring>
#include <set>

void CEditLedger::Record(const Edit& edit, const WireState& before, const WireState& after)
{
    Entry entry{edit, {}};
    for (int p = 0; p < kWireParts; ++p) {
        const WirePart part = WirePartAt(p);
        const auto first = after.begin() + part.nOffset;
        if (!std::equal(first, first + part.nSize, before.begin() + part.nOffset))
            entry.changes.push_back({p, std::vector<uint8_t>(first, first + part.nSize)});
    }
    if (!entry.changes.empty())
        m_entries.push_back(std::move(entry));
}

std::vector<CEditLedger::Edit> CEditLedger::Unconfirmed(const WireState& confirmed) const
{
    // For each part: the entries after the last one whose bytes the
    // processor holds are not confirmed.
    std::vector<bool> bOpen(m_entries.size(), false);
    for (int p = 0; p < kWireParts; ++p) {
        const WirePart part = WirePartAt(p);
        std::vector<size_t> touching;
        size_t nHeld = 0;  // entries before this index are covered
        for (size_t i = 0; i < m_entries.size(); ++i) {
            for (const Change& change : m_entries[i].changes) {
                if (change.nPart != p)
                    continue;
                touching.push_back(i);
                if (std::memcmp(change.bytes.data(), confirmed.data() + part.nOffset, part.nSize) == 0)
                    nHeld = touching.size();
            }
        }
        for (size_t k = nHeld; k < touching.size(); ++k)
            bOpen[touching[k]] = true;
    }
    std::vector<Edit> edits;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (bOpen[i])
            edits.push_back(m_entries[i].edit);
    }
    return edits;
}

void CEditLedger::DropBefore(int nTag)
{
    std::erase_if(m_entries, [nTag](const Entry& entry) { return entry.edit.nTag < nTag; });
}

int CountNames(const std::vector<CEditLedger::Edit>& edits)
{
    std::set<std::string> names;
    for (const CEditLedger::Edit& edit : edits)
        names.insert(edit.strName);
    return static_cast<int>(names.size());
}
