// emulate --listen [HOST:]PORT | --hidg /dev/hidgN --gadget DIR [fault options]
#include "CtlCommands.h"
#include "EmulatorOptions.h"
#include "EmulatorServer.h"
#include "GadgetServer.h"
#include "VirtualProcessor.h"

namespace {

int ServeOnGadget(CtlContext& ctx, CVirtualProcessor& device, const EmulatorOptions& options,
                  const std::atomic<bool>& bStop)
{
    CGadgetServer server(device, options.strHidg, options.strGadget);
    std::string strError;
    if (!server.Open(&strError))
        return Refuse(ctx, strError);
    // Scripts wait for this line before they connect.
    ctx.out << "serving on " << options.strHidg << std::endl;
    server.Serve(bStop);
    return kExitOk;
}

}  // namespace

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
    if (!options.strHidg.empty())
        return ServeOnGadget(ctx, device, options, bStop);
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
