// batch FILE|- [--keep-going]: one command a line, over one connection.
// An installer's standard setup for a room is a few hundred settings; one
// full read per command would make it minutes instead of seconds.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>

#include "CtlCommands.h"
#include "ProcessorConversation.h"
#include "CtlHeldLines.h"
#include "CtlJson.h"
#include "KTV_Data.h"
#include "NumberText.h"
#include "Processor.h"

namespace {

constexpr const char* kKeepGoing = "--keep-going";
constexpr const char* kPrefix = "zr470ctl: ";

}  // namespace

bool SplitScriptLine(const std::string& strLine, std::vector<std::string>* pWords, std::string* pError)
{
    std::vector<std::string> words;
    std::string strWord;
    bool bInWord = false;
    char cQuote = 0;
    for (const char c : strLine) {
        if (cQuote) {
            if (c == cQuote)
                cQuote = 0;
            else
                strWord += c;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            if (bInWord)
                words.push_back(std::move(strWord));
            strWord.clear();
            bInWord = false;
        } else if (c == '#' && !bInWord) {
            break;
        } else {
            bInWord = true;
            if (c == '\'' || c == '"')
                cQuote = c;
            else
                strWord += c;
        }
    }
    if (cQuote) {
        *pError = "a quote is not closed";
        return false;
    }
    if (bInWord)
        words.push_back(std::move(strWord));
    *pWords = std::move(words);
    return true;
}

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A closed standard input reads as an empty script: it must not pass for
// one that ran.
bool StandardInputOpen()
{
    return fcntl(STDIN_FILENO, F_GETFD) != -1 || errno != EBADF;
}

bool ReadScript(const std::string& strPath, std::vector<std::string>* pLines, std::string* pError)
{
    std::ifstream file;
    std::istream* pIn = &std::cin;
    const bool bStandardInput = strPath == "-";
    if (bStandardInput && !StandardInputOpen()) {
        *pError = "cannot read the script from standard input: it is closed";
        return false;
    }
    if (!bStandardInput) {
        file.open(strPath);
        if (!file) {
            *pError = "cannot read the script " + strPath;
            return false;
        }
        pIn = &file;
    }
    for (std::string strLine; std::getline(*pIn, strLine);)
        pLines->push_back(strLine);
    // std::cin shares stdio's buffer: a failed read shows there.
    if (pIn->bad() || (bStandardInput && std::ferror(stdin))) {
        *pError = "reading the script " + strPath + " failed";
        return false;
    }
    // Editors on some systems start a UTF-8 file with a byte-order mark.
    if (!pLines->empty() && pLines->front().starts_with(kUtf8Mark))
        pLines->front().erase(0, kUtf8Mark.size());
    return true;
}

// Why a line's words cannot run inside a batch; empty when they can.
std::string RefusalInBatch(const std::vector<std::string>& words, const CtlInvocation& inv)
{
    for (const std::string& strWord : words) {
        if (strWord == "--device" || strWord.rfind("--device=", 0) == 0)
            return "the device is chosen for the whole batch, not on a line";
    }
    // demo works on a model of its own and would leave the live scene's
    // name blank on the processor the batch talks to.
    for (const char* pCommand : {"batch", "emulate", "firmware", "demo"}) {
        if (inv.strCommand == pCommand)
            return inv.strCommand + " cannot run inside a batch";
    }
    if (inv.bHelp || inv.bVersion)
        return "--help and --version cannot run inside a batch";
    return {};
}

// The command's own error lines, each naming the script line.
std::vector<std::string> ErrorLines(const std::string& strErr, int nLine)
{
    std::vector<std::string> lines;
    std::istringstream in(strErr);
    for (std::string strLine; std::getline(in, strLine);) {
        if (strLine.rfind(kPrefix, 0) == 0)  // the usage text after a usage error is left out
            lines.push_back("line " + std::to_string(nLine) + ": " + strLine.substr(std::string(kPrefix).size()));
    }
    return lines;
}

// The command's own JSON, or its text as a string.
Json JsonResult(const std::string& strOut)
{
    std::string strTrimmed = strOut;
    while (!strTrimmed.empty() && strTrimmed.back() == '\n')
        strTrimmed.pop_back();
    if (strTrimmed.empty())
        return nullptr;
    Json result = Json::parse(strTrimmed, nullptr, false);
    return result.is_discarded() ? Json(strTrimmed) : result;
}

void Report(CtlContext& batch, const LineReport& line)
{
    const std::string& strOut = line.strOut;
    const std::vector<std::string>& errors = line.errors;
    if (!batch.inv.bJson)
        batch.out << strOut;
    else
        batch.out << JsonLine({{"line", line.nLine},
                               {"exit", line.nExit},
                               {"result", JsonResult(strOut)},
                               {"error", errors.empty() ? Json() : Json(errors.front())}});
    for (const std::string& strLine : errors)
        batch.err << kPrefix << strLine << '\n';
}

LineReport RunLine(CtlContext& batch, CtlSharedLink& link, int nLine, const std::vector<std::string>& words)
{
    CtlInvocation inv;
    std::string strError;
    int nExit = kExitUsage;
    std::ostringstream out;
    std::ostringstream err;
    if (!ParseInvocation(words, nullptr, &inv, &strError)) {
        err << kPrefix << strError << '\n';
    } else if (const std::string strWhy = RefusalInBatch(words, inv); !strWhy.empty()) {
        err << kPrefix << strWhy << '\n';
    } else {
        inv.strDevice = batch.inv.strDevice;
        inv.bJson = inv.bJson || batch.inv.bJson;
        CtlContext ctx{inv, out, err, &link, {}};
        link.bSettle = inv.strCommand != "set";
        link.nLine = nLine;
        nExit = RunCommand(ctx);
    }
    return {nLine, nExit, out.str(), ErrorLines(err.str(), nLine)};
}

// A set line's edits go out with the next ones; every other line starts
// on a settled processor.
bool IsSetLine(const std::vector<std::string>& words)
{
    CtlInvocation inv;
    std::string strError;
    return ParseInvocation(words, nullptr, &inv, &strError) && inv.strCommand == "set";
}

}  // namespace

int RunBatch(CtlContext& ctx)
{
    std::string strPath;
    bool bKeepGoing = false;
    for (const std::string& strArg : ctx.inv.args) {
        if (strArg == kKeepGoing)
            bKeepGoing = true;
        else if (strArg.rfind("--", 0) == 0 || !strPath.empty())
            return Refuse(ctx, "batch takes a script (a file or -) and --keep-going, not " + EchoText(strArg)),
                   kExitUsage;
        else
            strPath = strArg;
    }
    if (strPath.empty())
        return Refuse(ctx, "batch needs a script: a file, or - for standard input"), kExitUsage;
    std::vector<std::string> lines;
    std::string strError;
    if (!ReadScript(strPath, &lines, &strError))
        return Refuse(ctx, strError);

    CProcessor processor;  // outlives the device, which reports what its link posts
    CProcessorConversation device(processor);
    CtlSharedLink link{processor.Data(), device};
    CHeldLines held;
    const auto report = [&ctx](const LineReport& line) { Report(ctx, line); };
    int nFirstFailure = kExitOk;
    const auto failed = [&](int nExit) {
        if (nExit != kExitOk && nFirstFailure == kExitOk)
            nFirstFailure = nExit;
        return nExit != kExitOk && !bKeepGoing;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> words;
        const int nLine = static_cast<int>(i) + 1;
        if (!SplitScriptLine(lines[i], &words, &strError)) {
            if (failed(held.Settle(device, bKeepGoing, report)))
                break;
            report({nLine, kExitUsage, "", {"line " + std::to_string(nLine) + ": " + strError}});
            if (failed(kExitUsage))
                break;
            continue;
        }
        if (words.empty())
            continue;
        const bool bSet = IsSetLine(words);
        if (!bSet && failed(held.Settle(device, bKeepGoing, report)))
            break;
        LineReport line = RunLine(ctx, link, nLine, words);
        if (bSet && line.nExit == kExitOk) {
            held.Hold(std::move(line));
            continue;
        }
        // A refused set line is reported after the lines before it.
        if (bSet && failed(held.Settle(device, bKeepGoing, report)))
            break;
        report(line);
        if (failed(line.nExit))
            break;
    }
    // The last settings of the script are on the processor before it ends.
    failed(held.Settle(device, bKeepGoing, report));
    return nFirstFailure;
}
