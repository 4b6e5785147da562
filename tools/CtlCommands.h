// The commands of zr470ctl. Each takes its arguments from ctx.inv.args
// (the count is already checked), validates all of them before it opens a
// link, and returns the exit code.
//
// Threads: the command's thread, which plays the user-interface thread.
#pragma once

#include <atomic>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "CtlContext.h"

// Processor and program information (CtlInfoCommands.cpp).
int RunDevices(CtlContext& ctx);
int RunInfo(CtlContext& ctx);
// Parameters (CtlParamCommands.cpp).
int RunGet(CtlContext& ctx);
int RunSet(CtlContext& ctx);
// Preset files to and from the processor (CtlFileCommands.cpp).
int RunReadScene(CtlContext& ctx);
int RunWriteScene(CtlContext& ctx);
int RunBackup(CtlContext& ctx);
int RunRestore(CtlContext& ctx);
// Scene programs held by the processor (CtlProgramCommands.cpp).
int RunStore(CtlContext& ctx);
int RunRecall(CtlContext& ctx);
int RunDelete(CtlContext& ctx);
// The firmware update (CtlFirmware.cpp).
int RunFirmware(CtlContext& ctx);
// Room tuning: filter sets in and out of an output (CtlRoomCommands.cpp).
int RunEqImport(CtlContext& ctx);
int RunEqExport(CtlContext& ctx);
// Room tuning: bands fitted to a measurement (CtlFitCommand.cpp).
int RunEqFit(CtlContext& ctx);
// The parameter report of the processor or of a preset file (CtlReport.cpp).
int RunReport(CtlContext& ctx);
// Without a processor (CtlOfflineCommands.cpp).
int RunResponse(CtlContext& ctx);
int RunResponseSum(CtlContext& ctx);
int RunAlign(CtlContext& ctx);
int RunDemo(CtlContext& ctx);
// A command of a table: its name, how many arguments it takes, and the
// options it takes besides them (see CtlOptions.h).
struct CommandEntry {
    const char* pName;
    size_t nArgs;
    int (*run)(CtlContext& ctx);
    const char* pOptions = "";  // checked before the command runs
    size_t nMaxArgs = 0;        // more than nArgs: the command takes nArgs … nMaxArgs
};
// Runs ctx.inv's command after checking its argument count (CtlMain.cpp).
int RunCommand(CtlContext& ctx);
// The same for a command of the table given; a usage error for any other.
int RunCommandFrom(CtlContext& ctx, std::span<const CommandEntry> commands);
// --venue FILE: a venue command on the rooms chosen, or with --room a
// one-processor command on that room's device (CtlVenue.cpp).
int RunWithVenue(CtlContext& ctx);
int RunVenueStatus(CtlContext& ctx);
int RunVenueBackup(CtlContext& ctx);
int RunVenuePush(CtlContext& ctx);
int RunVenueDiff(CtlContext& ctx);
// A script of commands over one connection (CtlBatch.cpp).
int RunBatch(CtlContext& ctx);
// The words of one script line, as a shell would split them for these
// commands: blanks separate, '…' and "…" keep blanks inside a word, and a
// word that starts with # ends the line. False for an unclosed quote.
bool SplitScriptLine(const std::string& strLine, std::vector<std::string>* pWords, std::string* pError);
// Serves a virtual processor until bStop is set; onListening (if any)
// gets the port once it listens (CtlEmulate.cpp).
int RunEmulate(CtlContext& ctx, const std::atomic<bool>& bStop, const std::function<void(int nPort)>& onListening);
