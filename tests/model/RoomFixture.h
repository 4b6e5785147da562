// The room-tuning fixture files and a search through the readers' notes.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

inline std::string RoomFixture(const char* szName)
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures" / "room" / szName).string();
}

inline bool HasNote(const std::vector<std::string>& notes, const std::string& strPart)
{
    return std::any_of(notes.begin(), notes.end(),
                       [&](const std::string& note) { return note.find(strPart) != std::string::npos; });
}
