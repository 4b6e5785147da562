// Which outputs staff muted: staff may unmute only those, so an output the
// installer muted stays muted. Kept in a small JSON file beside the tokens
// file, so that it holds across a restart of the service.
//
//   {"staff_muted": {"room 1": [2, 5]}}
//
// Threads: any; one lock guards the set and the file.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>

class CStaffMutes {
public:
    // An empty path keeps the set in memory only. A missing or unreadable
    // file starts empty.
    explicit CStaffMutes(std::filesystem::path path);

    bool MutedByStaff(const std::string& strRoom, int nOutput) const;
    // A mute by staff is remembered, any unmute (or an installer's mute)
    // forgets it.
    void Note(const std::string& strRoom, int nOutput, bool bMuted, bool bByStaff);

private:
    void Save() const;

    const std::filesystem::path m_path;
    mutable std::mutex m_mutex;
    std::map<std::string, std::set<int>> m_muted;  // room name in lower case
};
