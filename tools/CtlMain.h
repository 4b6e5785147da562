// zr470ctl as a function, so tests run it like the shell does.
//
// Threads: one run at a time per process (the core's data areas are
// process-wide); the calling thread plays the user-interface thread.
#pragma once

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// args: the arguments without the program name; pEnvDevice: the value of
// ZR470_DEVICE or null; bStop ends `emulate`, and onListening gets the
// port `emulate` listens on once it has said so. Returns the exit status.
int RunCtl(const std::vector<std::string>& args, const char* pEnvDevice, std::ostream& out, std::ostream& err,
           const std::atomic<bool>& bStop, const std::function<void(int nPort)>& onListening = {});
