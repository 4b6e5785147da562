// The options of the room-tuning commands (eq-import, eq-export,
// response --measurement): they follow the command's arguments, so the
// global parser passes them through and each command takes its own.
//
// Threads: pure functions.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

struct RoomOptions {
    std::vector<std::string> positional;
    std::set<std::string> flags;                  // "--dry-run"
    std::map<std::string, std::string> values;    // "--format" → "rew"
};

// Splits args into positional arguments, flags and options with a value
// (as "--opt VALUE" or "--opt=VALUE"); false with *pError for an unknown
// option, a missing value or a wrong number of positional arguments.
bool SplitRoomOptions(const std::vector<std::string>& args, size_t nPositional, const std::set<std::string>& flags,
                      const std::set<std::string>& valued, RoomOptions* pOut, std::string* pError);
// Output 1 … 6 from its text; false with *pError.
bool ParseOutputNumber(const std::string& strText, int* pChannel, std::string* pError);
