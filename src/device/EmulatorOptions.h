// Command line of `zr470ctl emulate`:
//   --listen [HOST:]PORT      HOST a name, an IPv4 address or [IPv6]; default 127.0.0.1
//   --drop-every N  --corrupt-every N  --resend-every N  --delay-ms D
//   --silent-after N  --empty-reply-on ITEM  --wrong-id TEXT
// Counts are whole numbers from 0 (0: the fault is off), ITEM 0 … 255.
//
// Threads: a pure function.
#pragma once

#include <string>
#include <vector>

#include "VirtualProcessor.h"

struct EmulatorOptions {
    std::string strHost = "127.0.0.1";
    int nPort = -1;
    VirtualFaults faults;
};

// The arguments after "emulate". False with one line for the user in
// *pError; *pOptions is then unchanged. *pBadValue (when given) tells a
// value out of range or not a number from a mistake in the syntax (an
// unknown option, a missing value or --listen).
bool ParseEmulatorOptions(const std::vector<std::string>& args, EmulatorOptions* pOptions, std::string* pError,
                          bool* pBadValue = nullptr);
