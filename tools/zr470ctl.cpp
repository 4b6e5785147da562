// zr470ctl: the scriptable command-line client of the core. See CtlArgs.h
// for the command line and CtlCommands.h for what each command does.
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "CtlArgs.h"
#include "CtlMain.h"

namespace {

// Set from the signal handler: a lock-free atomic store is safe there.
std::atomic<bool> g_bStopRequested{false};

extern "C" void OnStopSignal(int)
{
    g_bStopRequested.store(true);
}

// The server and the venue commands turn SIGINT and SIGTERM into a clean
// stop (a venue command then says which rooms finished); every other
// command ends at once on them, as a shell user expects.
void InstallStopHandlersFor(const std::vector<std::string>& args, const char* pEnvDevice)
{
    CtlInvocation inv;
    std::string strError;
    if (!ParseInvocation(args, pEnvDevice, &inv, &strError))
        return;
    const bool bVenueCommand = !inv.strVenue.empty() && inv.strRoom.empty();
    if (inv.strCommand != "emulate" && !bVenueCommand)
        return;
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    static_assert(std::atomic<bool>::is_always_lock_free);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const char* pEnvDevice = std::getenv("ZR470_DEVICE");
    InstallStopHandlersFor(args, pEnvDevice);
    return RunCtl(args, pEnvDevice, std::cout, std::cerr, g_bStopRequested);
}
