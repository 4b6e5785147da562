// Command line of `zr470ctl emulate`, one of the two places to serve on:
//   --listen [HOST:]PORT      HOST a name, an IPv4 address or [IPv6]; default 127.0.0.1
//   --hidg NODE --gadget DIR  a USB HID gadget's node (/dev/hidgN) and its configfs folder
// and the faults:
//   --drop-every N  --corrupt-every N  --resend-every N  --delay-ms D
//   --silent-after N  --empty-reply-on ITEM  --wrong-id TEXT  --unplug-after N
// Counts are whole numbers from 0 (0: the fault is off), ITEM 0 … 255.
//
// Threads: a pure function.
#pragma once

#include <string>
#include <vector>

#include "VirtualProcessor.h"

struct EmulatorOptions {
    std::string strHost = "127.0.0.1";
    int nPort = -1;          // -1: not on TCP
    std::string strHidg;     // empty: not on a gadget
    std::string strGadget;
    VirtualFaults faults;
};

// The arguments after "emulate". False with one line for the user in
// *pError; *pOptions is then unchanged. *pBadValue (when given) tells a
// value out of range or not a number from a mistake in the syntax (an
// unknown option, a missing value, no place to serve or two).
bool ParseEmulatorOptions(const std::vector<std::string>& args, EmulatorOptions* pOptions, std::string* pError,
                          bool* pBadValue = nullptr);
