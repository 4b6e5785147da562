// zr470d as a function: the token commands, or the service until bStop is
// set (SIGINT, SIGTERM). Returns the exit status: 0, 1 when it refused or
// failed (with the reason on err), 2 for a command-line mistake.
//
// Threads: the caller's; bStop may be set from any thread.
#pragma once

#include <atomic>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

int RunZr470d(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const std::atomic<bool>& bStop);
// Where the service remembers what staff muted: beside the tokens file.
std::filesystem::path StaffStatePath(const std::filesystem::path& tokens);
