// Equalizer APO's "Channel:" lines: the filters after one apply to the
// channels it names ("Channel: L R"), until the next one; filters before
// the first, or after "Channel: all", apply to every channel. An output of
// the processor takes one channel's filters, never the sum of all
// sections.
//
// The rule: the filters for all channels when the file has any, otherwise
// those of the first channel named; a channel chosen by name takes its own
// sections and those for all channels. Sections left out are noted.
//
// Threads: plain values (messages read the language flag).
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "RoomText.h"

// The choice of the filters for all channels.
constexpr std::string_view kApoAllChannels = "all";

class CApoChannels {
public:
    // A "Channel:" line; rest is the text after the colon.
    void Start(std::string_view rest, int nLine);
    // The section of the next filter row, counted as one of its rows.
    std::size_t TakeRow();
    // Names a file offers to choose from: "all" when it has filters for
    // every channel, then each channel named; empty when all filters apply
    // to the same channels and there is nothing to choose.
    std::vector<std::string> Choices() const;
    // The channel to take: strWanted when given (false with *pError, which
    // lists the names the file has, when no section names it or it is "all"
    // and no filters are for all channels), else the rule's choice.
    bool Choose(const std::string& strWanted, std::string* pChosen, RoomFileError* pError) const;
    bool Takes(std::size_t nSection, const std::string& strChosen) const;
    // A note for every section with filters that strChosen leaves out.
    void NoteLeftOut(const std::string& strChosen, CRoomNotes& notes) const;

private:
    struct Section {
        std::string strText;             // as written after "Channel:"
        std::vector<std::string> names;  // as written; empty: every channel
        std::set<std::string> upper;     // the names in upper case, to look one up
        int nLine = 0;
        std::size_t nRows = 0;
    };
    std::vector<std::string> NamesWithRows() const;

    std::vector<Section> m_sections{Section{"all", {}, {}, 0, 0}};
};
