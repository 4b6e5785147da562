// Which edits of a conversation the processor has confirmed. Each edit is
// recorded with the parts of the settings it changed and their bytes after
// it; held against what the processor acknowledged, an edit is confirmed
// when the processor holds its bytes, or those of a later edit of the same
// part that it also confirmed. Edits of one part that were coalesced into
// one frame are thus confirmed together.
//
// Threads: one, the front end's.
#pragma once

#include <string>
#include <vector>

#include "WireState.h"

class CEditLedger {
public:
    struct Edit {
        int nTag = 0;          // the front end's: a script line, for instance
        std::string strName;   // what was changed, as the front end names it
    };

    // Notes an edit that took the settings from before to after (both from
    // WireStateOfModel). An edit that changed no byte is not kept.
    void Record(const Edit& edit, const WireState& before, const WireState& after);
    // The recorded edits the processor does not hold, in recording order.
    std::vector<Edit> Unconfirmed(const WireState& confirmed) const;
    // Everything recorded so far is confirmed: start again.
    void Clear() { m_entries.clear(); }
    bool Empty() const { return m_entries.empty(); }
    // Forgets the edits tagged below nTag.
    void DropBefore(int nTag);

private:
    struct Change {
        int nPart = 0;
        std::vector<uint8_t> bytes;
    };
    struct Entry {
        Edit edit;
        std::vector<Change> changes;
    };
    std::vector<Entry> m_entries;
};

// How many different names the edits carry ("1 level" set three times is one).
int CountNames(const std::vector<CEditLedger::Edit>& edits);
