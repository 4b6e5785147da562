// Set lines of a batch whose edits have not been confirmed yet. A run of
// set lines coalesces like a burst of edits in the editor, so whether a
// line's change arrived is known only when the link has settled: each is
// reported then, with its true exit status.
//
// Threads: the command's thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ProcessorConversation.h"

struct LineReport {
    int nLine = 0;
    int nExit = 0;
    std::string strOut;
    std::vector<std::string> errors;  // each already "line N: …"
};

class CHeldLines {
public:
    using Reporter = std::function<void(const LineReport&)>;

    void Hold(LineReport report) { m_held.push_back(std::move(report)); }
    bool Empty() const { return m_held.empty(); }
    // Waits until the processor has answered everything queued, then
    // reports the held lines. A line whose change it did not confirm fails
    // with the link's failure; without bKeepGoing nothing after the first
    // such line is reported. Returns the exit status of the first failure.
    int Settle(CProcessorConversation& device, bool bKeepGoing, const Reporter& report);

private:
    std::vector<LineReport> m_held;
};
