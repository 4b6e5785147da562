#include "CtlMain.h"

#include <algorithm>
#include <array>

#include "CtlCommands.h"
#include "GlobalData.h"

namespace {

struct CommandEntry {
    const char* pName;
    size_t nArgs;
    int (*run)(CtlContext& ctx);
    size_t nMaxArgs = 0;  // commands with options: up to this many (the command checks them)
};

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
    CommandEntry{"response", 2, RunResponse, 4},
    CommandEntry{"eq-import", 2, RunEqImport, 7},
    CommandEntry{"eq-export", 1, RunEqExport, 3},
    CommandEntry{"report", 0, RunReport, 8},
    CommandEntry{"demo", 0, RunDemo},
};

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
    // Every run starts from the state the editor starts in.
    InitGlobalDefaults();
    g_bChinese = 0;
    CtlContext ctx{inv, out, err};
    if (inv.strCommand == "emulate")
        return RunEmulate(ctx, bStop, onListening);
    for (const CommandEntry& command : kCommands) {
        if (inv.strCommand != command.pName)
            continue;
        if (inv.args.size() < command.nArgs || inv.args.size() > std::max(command.nArgs, command.nMaxArgs))
            return Usage(err, inv.strCommand + " takes " + std::to_string(command.nArgs) + " argument" +
                                  (command.nArgs == 1 ? "" : "s") + ", not " + std::to_string(inv.args.size()));
        return command.run(ctx);
    }
    return Usage(err, "unknown command \"" + inv.strCommand + "\"");
}
