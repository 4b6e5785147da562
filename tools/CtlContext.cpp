#include "CtlContext.h"

#include "ProcessorConversation.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "Processor.h"

int Refuse(CtlContext& ctx, const std::string& strLine)
{
    ctx.err << "zr470ctl: " << strLine << '\n';
    return kExitFailed;
}

std::string LinkFailureLine(CProcessorConversation& device)
{
    std::string strLine = device.Failure();
    const int nOpen = CountNames(device.Unconfirmed());
    if (nOpen > 0)
        strLine += "; " + std::to_string(nOpen) + (nOpen == 1 ? " parameter was" : " parameters were") +
                   " not confirmed by the processor";
    return strLine;
}

int LinkFailed(CtlContext& ctx, CProcessorConversation& device)
{
    return Refuse(ctx, LinkFailureLine(device));
}

namespace {

// Messages that did not stop the command (a frame that needed many
// attempts, for instance) are still worth a line.
void ShowMessages(CtlContext& ctx, const CProcessorConversation& device, size_t nFirst)
{
    const std::vector<std::string>& messages = device.Messages();
    for (size_t i = nFirst; i < messages.size(); ++i)
        ctx.err << "zr470ctl: " << messages[i] << '\n';
}

int RunOnSharedLink(CtlContext& ctx, CtlSharedLink& link, const ProcessorWork& work)
{
    if (!link.bOpened) {
        if (!link.device.Open(ctx.inv.strDevice))
            return LinkFailed(ctx, link.device);
        link.bOpened = true;
    }
    // Once the link is gone, every later line that needs it fails: none of
    // them could be confirmed.
    if (link.device.IsLost())
        return LinkFailed(ctx, link.device);
    if (link.bSettle && !link.device.Drain())
        return LinkFailed(ctx, link.device);
    std::string strResult;
    const int nExit = work(link.device, link.data, &strResult);
    if (nExit != kExitOk)
        return nExit;
    if (link.bSettle && !link.device.Drain())
        return LinkFailed(ctx, link.device);
    ShowMessages(ctx, link.device, link.nMessagesShown);
    link.nMessagesShown = link.device.Messages().size();
    ctx.out << strResult;
    return kExitOk;
}

}  // namespace

int RunOnProcessor(CtlContext& ctx, const ProcessorWork& work)
{
    if (std::string strError; !CheckDeviceToOpen(ctx.inv, &strError))
        return Refuse(ctx, strError), kExitUsage;
    if (ctx.pShared)
        return RunOnSharedLink(ctx, *ctx.pShared, work);
    CProcessor processor;  // outlives the device, which reports what its link posts
    CProcessorConversation device(processor);
    if (!device.Open(ctx.inv.strDevice))
        return LinkFailed(ctx, device);
    std::string strResult;
    const int nExit = work(device, processor.Data(), &strResult);
    if (nExit != kExitOk)
        return nExit;
    if (!device.Drain())
        return LinkFailed(ctx, device);
    device.Close();
    ShowMessages(ctx, device, 0);
    ctx.out << strResult;
    return kExitOk;
}
