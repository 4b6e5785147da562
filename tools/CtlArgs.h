// The command line of zr470ctl: global options, the command word and its
// arguments.
//
//   zr470ctl [--device D] [--json] COMMAND ARGS…
//
// --device (or --device=D) and --json may stand anywhere before the
// arguments of `emulate`, whose options are its own. The device defaults
// to $ZR470_DEVICE, else "usb".
//
// Threads: pure functions.
#pragma once

#include <string>
#include <vector>

struct CtlInvocation {
    std::string strDevice = "usb";
    bool bJson = false;
    std::string strCommand;
    std::vector<std::string> args;  // after the command word, options removed
};

// args: argv without the program name. pEnvDevice: $ZR470_DEVICE or null.
// False with one line for the user (a usage error).
bool ParseInvocation(const std::vector<std::string>& args, const char* pEnvDevice, CtlInvocation* pOut,
                     std::string* pError);
// The usage text, one command a line.
const char* UsageText();
