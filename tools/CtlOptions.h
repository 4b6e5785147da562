// The options a command takes besides its arguments, declared once in the
// command table as a blank-separated list:
//   "--dry-run"         a flag
//   "--link="           an option with a value ("--link 3,5" or "--link=3,5")
//   "--unit=ms|inch|cm" an option whose value is one of these words
// Options may stand anywhere among the arguments and are never counted as
// arguments.
//
// Threads: pure functions.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct CommandLine {
    std::vector<std::string> positional;
    std::set<std::string> flags;                // "--dry-run"
    std::map<std::string, std::string> values;  // "--format" → "rew"; a repeated option keeps its last value
};

// False with one line for the user for an option the command does not
// take, a missing or empty value, or a word outside the option's choice.
bool SplitOptions(const std::vector<std::string>& args, std::string_view declared, CommandLine* pOut,
                  std::string* pError);
