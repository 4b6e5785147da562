// zr470d, the venue service: see src/service/ServiceMain.h.
#include <csignal>
#include <iostream>

#include "ServiceMain.h"

namespace {

std::atomic<bool> g_bStop{false};

void OnSignal(int)
{
    g_bStop = true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    return RunZr470d(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, g_bStop);
}
