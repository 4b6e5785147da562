// zr470ctl run as a function, as the shell would run it: the exit status and
// what it printed on each stream.
#pragma once

#include <atomic>
#include <sstream>
#include <string>
#include <vector>

#include "CtlMain.h"

struct CtlRun {
    int nExit = -1;
    std::string strOut;
    std::string strErr;
    // The first line on the error stream, without its line end.
    std::string FirstErr() const { return strErr.substr(0, strErr.find('\n')); }
};

inline CtlRun RunArgs(const std::vector<std::string>& args, const char* pEnvDevice = nullptr)
{
    std::ostringstream out;
    std::ostringstream err;
    const std::atomic<bool> bStop{false};
    CtlRun run;
    run.nExit = RunCtl(args, pEnvDevice, out, err, bStop);
    run.strOut = out.str();
    run.strErr = err.str();
    return run;
}
