// The live settings as the edit history keeps them: the music and output
// records (their blocks and every filter's values), the link groups, the
// delay table with the current position, the control block and the scene
// name, as one compact byte image (about 3 kB).
//
// Threads: user-interface thread only; capture and apply take the model lock
// for each record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CKTV_Data;
class CProcessorState;

class CLiveSnapshot {
public:
    static CLiveSnapshot Capture(CKTV_Data& data);

    // Brings the model to this state through the records' setters, only
    // where a value differs, so that the change scanner sends just the
    // groups that changed (and the delay table when it did). The scene
    // name is left alone: the link blanks it on its own after an edit.
    struct Applied {
        bool bChanged = false;
        bool bControlChanged = false;  // system item 2 must be sent by the caller
    };
    Applied ApplyTo(CKTV_Data& data) const;
    // The scene name as well, for a state that is written whole (an undone
    // recall or file load).
    void ApplySceneName(CProcessorState& state) const;

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    // The layout, for comparing two states: record r (0 the music, 1 … 6
    // the outputs) starts at RecordOffset(data, r), its block first, then
    // its filters' values (kFilterBytes each); the globals follow the
    // records: link groups, delay table, control block, scene name.
    static constexpr int kFilterBytes = 18;
    static int RecordOffset(CKTV_Data& data, int nRecord);
    size_t GlobalsOffset() const;
    bool operator==(const CLiveSnapshot& other) const { return m_bytes == other.m_bytes; }
    bool operator!=(const CLiveSnapshot& other) const { return !(*this == other); }

private:
    std::vector<uint8_t> m_bytes;
};
