#include "CtlContext.h"

#include "CtlDevice.h"
#include "GlobalData.h"
#include "KTV_Data.h"

int Refuse(CtlContext& ctx, const std::string& strLine)
{
    ctx.err << "zr470ctl: " << strLine << '\n';
    return kExitFailed;
}

int LinkFailed(CtlContext& ctx, const CCtlDevice& device)
{
    return Refuse(ctx, device.Failure());
}

int RunOnProcessor(CtlContext& ctx, const ProcessorWork& work)
{
    CKTV_Data data;  // outlives the device, whose link thread scans it
    CCtlDevice device(data);
    if (!device.Open(ctx.inv.strDevice))
        return LinkFailed(ctx, device);
    std::string strResult;
    const int nExit = work(device, data, &strResult);
    if (nExit != kExitOk)
        return nExit;
    if (!device.Drain())
        return LinkFailed(ctx, device);
    device.Close();
    // Messages that did not stop the command (a frame that needed many
    // attempts, for instance) are still worth a line.
    for (const std::string& strMessage : device.Messages())
        ctx.err << "zr470ctl: " << strMessage << '\n';
    ctx.out << strResult;
    return kExitOk;
}
