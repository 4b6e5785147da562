// What every zr470ctl command is given, its exit codes and the ways it
// reports: results on the output stream, one line per failure on the error
// stream.
//
// Threads: the command's thread.
#pragma once

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "CtlArgs.h"
#include "ProcessorConversation.h"
#include "CtlOptions.h"
#include "VenueFile.h"

class CKTV_Data;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // refused input, a processor or link failure
constexpr int kExitUsage = 2;

// One connection that several commands share (zr470ctl batch). It is opened
// by the first command that needs the processor. Commands that only change
// settings (bSettle false) leave their edits to go out with the next ones,
// so a run of them coalesces like a burst of edits in the editor; every
// other command starts and ends on a settled processor.
struct CtlSharedLink {
    CKTV_Data& data;
    CProcessorConversation& device;
    bool bOpened = false;
    bool bSettle = true;
    size_t nMessagesShown = 0;
    int nLine = 0;  // the script line running, for the edits it records
};

struct CtlContext {
    const CtlInvocation& inv;
    std::ostream& out;
    std::ostream& err;
    CtlSharedLink* pShared = nullptr;  // set inside a batch
    CommandLine line;                  // the arguments and options, checked against the command's
    const std::atomic<bool>* pStop = nullptr;  // Ctrl+C: set for the venue commands
    Venue venue{};                     // --venue: the file read
    std::vector<VenueRoom> rooms{};    // --venue: the rooms chosen
};

// Prints "zr470ctl: LINE" on the error stream; returns kExitFailed.
int Refuse(CtlContext& ctx, const std::string& strLine);

// The command's work on a processor that is connected and fully read. It
// returns an exit code, prints its own refusals, and leaves in *pResult
// what to print once everything it queued has gone out.
using ProcessorWork = std::function<int(CProcessorConversation& device, CKTV_Data& data, std::string* pResult)>;
// Connect and read, run the work, wait until the queue has drained,
// disconnect; print the result or the failure. Inside a batch the shared
// link is used and stays open.
int RunOnProcessor(CtlContext& ctx, const ProcessorWork& work);
// The failure line of a device whose link failed, with how many of the
// parameters set over it the processor did not confirm.
std::string LinkFailureLine(CProcessorConversation& device);
// Prints it; returns kExitFailed.
int LinkFailed(CtlContext& ctx, CProcessorConversation& device);
