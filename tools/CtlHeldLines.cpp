#include "CtlHeldLines.h"

#include <set>

#include "CtlContext.h"
#include "ProcessorConversation.h"

int CHeldLines::Settle(CProcessorConversation& device, bool bKeepGoing, const Reporter& report)
{
    if (m_held.empty())
        return kExitOk;
    std::vector<LineReport> held = std::move(m_held);
    m_held.clear();
    std::set<int> open;
    std::string strFailure;
    if (!device.Drain()) {
        for (const CEditLedger::Edit& edit : device.Unconfirmed())
            open.insert(edit.nTag);
        strFailure = LinkFailureLine(device);
    }
    int nFirstFailure = kExitOk;
    for (LineReport& line : held) {
        if (open.count(line.nLine)) {
            line.nExit = kExitFailed;
            line.strOut.clear();
            line.errors = {"line " + std::to_string(line.nLine) + ": " + strFailure};
            if (nFirstFailure == kExitOk)
                nFirstFailure = kExitFailed;
        }
        report(line);
        if (nFirstFailure != kExitOk && !bKeepGoing)
            break;
    }
    return nFirstFailure;
}
