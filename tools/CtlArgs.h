// The command line of zr470ctl: global options, the command word and its
// arguments.
//
//   zr470ctl [--device D] [--json] COMMAND ARGS…
//   zr470ctl --venue FILE [--rooms A,B,…] [--json] VENUE-COMMAND ARGS…
//   zr470ctl --venue FILE --room NAME [--json] COMMAND ARGS…
//   zr470ctl --help | -h | --version
//
// --device, --venue, --room and --rooms (each also as --OPTION=VALUE),
// --json, --help, -h and --version may stand
// anywhere before the arguments of `emulate`, whose options are its own.
// With --help or --version no command is needed. The device defaults to
// $ZR470_DEVICE, else "usb"; a wrong $ZR470_DEVICE counts only for the
// commands that open a device (CheckDeviceToOpen).
//
// Threads: pure functions.
#pragma once

#include <string>
#include <vector>

struct CtlInvocation {
    std::string strDevice = "usb";
    bool bJson = false;
    bool bHelp = false;     // print the usage and succeed
    bool bVersion = false;  // print the version and succeed
    std::string strVenue;  // a venue file: the venue commands, or --room's device
    std::string strRoom;   // the room whose device a one-processor command takes
    std::string strRooms;  // the rooms a venue command works on; empty: every room
    std::string strCommand;
    std::vector<std::string> args;  // after the command word, options removed
};

// args: argv without the program name. pEnvDevice: $ZR470_DEVICE or null.
// False with one line for the user (a usage error).
bool ParseInvocation(const std::vector<std::string>& args, const char* pEnvDevice, CtlInvocation* pOut,
                     std::string* pError);
// False with one line for the user when inv.strDevice is no device form
// (a usage error): called before a device is opened.
bool CheckDeviceToOpen(const CtlInvocation& inv, std::string* pError);
// The usage text, one command a line.
const char* UsageText();
// "zr470ctl 0.9.0", without a line end.
std::string VersionText();
