// emulate --listen [HOST:]PORT [fault options]
#include "CtlCommands.h"
#include "EmulatorOptions.h"
#include "EmulatorServer.h"
#include "VirtualProcessor.h"

int RunEmulate(CtlContext& ctx, const std::atomic<bool>& bStop, const std::function<void(int nPort)>& onListening)
{
    EmulatorOptions options;
    std::string strError;
    bool bBadValue = false;
    if (!ParseEmulatorOptions(ctx.inv.args, &options, &strError, &bBadValue)) {
        if (bBadValue)  // refused like any value out of range
            return Refuse(ctx, strError);
        ctx.err << "zr470ctl: " << strError << '\n' << UsageText();
        return kExitUsage;
    }
    CVirtualProcessor device;
    device.SetFaults(options.faults);
    CEmulatorServer server(device);
    if (!server.Listen(options.strHost, options.nPort, &strError))
        return Refuse(ctx, strError);
    const bool bIpv6 = options.strHost.find(':') != std::string::npos;
    const std::string strHost = bIpv6 ? "[" + options.strHost + "]" : options.strHost;
    // Scripts wait for this line before they connect.
    ctx.out << "listening on " << strHost << ':' << server.Port() << std::endl;
    if (onListening)
        onListening(server.Port());
    server.Serve(bStop);
    return kExitOk;
}
