// The room-tuning fixture files and a search through the readers' notes.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestPaths.h"

// The folder comes from the build: __FILE__ is relative when a compiler
// cache rewrites paths, and tests change their working folder.
inline std::string RoomFixture(const char* szName)
{
    return (std::filesystem::path(TestFixturesDir()) / "room" / szName).string();
}

inline bool HasNote(const std::vector<std::string>& notes, const std::string& strPart)
{
    return std::any_of(notes.begin(), notes.end(),
                       [&](const std::string& note) { return note.find(strPart) != std::string::npos; });
}
