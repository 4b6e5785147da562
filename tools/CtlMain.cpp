#include "CtlMain.h"

#include <algorithm>
#include <array>

#include "CtlCommands.h"
#include "CtlOptions.h"
#include "GlobalData.h"
#include "NumberText.h"

namespace {

constexpr std::array kCommands = {
    CommandEntry{"devices", 0, RunDevices},
    CommandEntry{"info", 0, RunInfo},
    CommandEntry{"read-scene", 1, RunReadScene},
    CommandEntry{"write-scene", 1, RunWriteScene},
    CommandEntry{"backup", 1, RunBackup},
    CommandEntry{"restore", 1, RunRestore},
    CommandEntry{"store", 2, RunStore},
    CommandEntry{"recall", 1, RunRecall},
    CommandEntry{"delete", 1, RunDelete},
    CommandEntry{"get", 2, RunGet},
    CommandEntry{"set", 3, RunSet},
    CommandEntry{"firmware", 1, RunFirmware},
    CommandEntry{"response", 1, RunResponse, "--measurement= --phase --group-delay --sum=", 2},
    CommandEntry{"align", 3, RunAlign, "--measurement="},
    CommandEntry{"eq-import", 2, RunEqImport, "--dry-run --link= --channel="},
    CommandEntry{"eq-fit", 2, RunEqFit,
                 "--target= --range= --bands= --max-boost= --max-cut= --dry-run --link= --from= --save= --force", 9},
    CommandEntry{"eq-export", 1, RunEqExport, "--format=apo|rew"},
    CommandEntry{"report", 0, RunReport, "--from= --unit=ms|inch|cm --xlsx= --pdf= --language=en|zh --handover --sum="},
    CommandEntry{"demo", 0, RunDemo},
    CommandEntry{"batch", 1, RunBatch, "--keep-going"},
};

std::string Arguments(size_t nCount)
{
    return std::to_string(nCount) + (nCount == 1 ? " argument" : " arguments");
}

int Usage(std::ostream& err, const std::string& strProblem)
{
    err << "zr470ctl: " << strProblem << '\n' << UsageText();
    return kExitUsage;
}

}  // namespace

int RunCtl(const std::vector<std::string>& args, const char* pEnvDevice, std::ostream& out, std::ostream& err,
           const std::atomic<bool>& bStop, const std::function<void(int nPort)>& onListening)
{
    CtlInvocation inv;
    std::string strError;
    if (!ParseInvocation(args, pEnvDevice, &inv, &strError))
        return Usage(err, strError);
    if (inv.bHelp) {
        out << UsageText();
        return kExitOk;
    }
    if (inv.bVersion) {
        out << VersionText() << '\n';
        return kExitOk;
    }
    // Every run starts in the editor's language at start-up; every
    // processor's model starts from its defaults.
    g_bChinese = 0;
    CtlContext ctx{inv, out, err, nullptr, {}, &bStop};
    if (inv.strCommand == "emulate")
        return RunEmulate(ctx, bStop, onListening);
    if (!inv.strVenue.empty())
        return RunWithVenue(ctx);
    if (!inv.strRoom.empty() || !inv.strRooms.empty())
        return Usage(err, std::string(inv.strRoom.empty() ? "--rooms" : "--room") + " needs --venue FILE");
    return RunCommand(ctx);
}

int RunCommand(CtlContext& ctx)
{
    return RunCommandFrom(ctx, kCommands);
}

int RunCommandFrom(CtlContext& ctx, std::span<const CommandEntry> commands)
{
    const CtlInvocation& inv = ctx.inv;
    for (const CommandEntry& command : commands) {
        if (inv.strCommand != command.pName)
            continue;
        CommandLine line;
        std::string strError;
        if (!SplitOptions(inv.args, command.pOptions, &line, &strError))
            return Usage(ctx.err, inv.strCommand + ": " + strError);
        const size_t nMax = std::max(command.nArgs, command.nMaxArgs);
        if (line.positional.size() < command.nArgs || line.positional.size() > nMax)
            return Usage(ctx.err, inv.strCommand + " takes " +
                                      (nMax > command.nArgs ? std::to_string(command.nArgs) + " to " : "") +
                                      Arguments(nMax) +
                                      (*command.pOptions ? " besides its options" : "") + ", not " +
                                      std::to_string(line.positional.size()));
        ctx.line = std::move(line);
        return command.run(ctx);
    }
    return Usage(ctx.err, "unknown command \"" + EchoText(inv.strCommand) + "\"");
}
