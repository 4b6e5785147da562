// store, recall, delete: the program manager's device buttons for scene
// programs 1 … 10.
#include <algorithm>

#include "CtlCommands.h"
#include "ProcessorConversation.h"
#include "CtlJson.h"
#include "DataDefine.h"
#include "Frame.h"
#include "KTV_Data.h"
#include "Notify.h"
#include "NumberText.h"
#include "Processor.h"
#include "TextTable.h"

namespace {

constexpr int kFirstProgram = 1;
constexpr int kLastProgram = kScenePrograms;

bool ParseProgram(CtlContext& ctx, int* pProgram)
{
    int nProgram = 0;
    if (!ParseWhole(ctx.inv.args[0], &nProgram) || nProgram < kFirstProgram || nProgram > kLastProgram) {
        Refuse(ctx, "program \"" + EchoText(ctx.inv.args[0]) + "\" refused: 1 … 10");
        return false;
    }
    *pProgram = nProgram;
    return true;
}

// Empty when the name may be stored; otherwise the message for the user.
std::string NameProblem(const std::string& strName)
{
    if (strName.empty())
        return TextNow(kTxtNameEmpty);
    if (IsBlank(strName))
        return TextNow(kTxtNameAllSpaces);
    if (strName.size() > static_cast<size_t>(kNameChars))
        return "a program name has at most " + std::to_string(kNameChars) + " characters, \"" + EchoText(strName) + "\" has " +
               std::to_string(strName.size());
    // The processor turns every other byte into a space on the way back.
    if (!std::all_of(strName.begin(), strName.end(), IsNameChar))
        return "a program name takes printable ASCII characters only";
    return {};
}

std::string ProgramResult(CtlContext& ctx, int nProgram, const std::string& strName)
{
    if (ctx.inv.bJson)
        return JsonLine({{"program", nProgram}, {"name", strName}});
    return "program " + std::to_string(nProgram) + ": " + strName + "\n";
}

}  // namespace

int RunStore(CtlContext& ctx)
{
    int nProgram = 0;
    const std::string& strName = ctx.inv.args[1];
    if (!ParseProgram(ctx, &nProgram))
        return kExitFailed;
    if (const std::string strProblem = NameProblem(strName); !strProblem.empty())
        return Refuse(ctx, strProblem);
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        const int nBefore = device.Seen(kMsgBatchProgress, 1);
        bool bQueued = false;
        switch (device.Processor().StoreProgram(nProgram, strName, &bQueued)) {
        case ProgramNameCheck::kOk: break;
        case ProgramNameCheck::kTaken: return Refuse(ctx, TextNow(kTxtNameTaken));
        default: return Refuse(ctx, CharLenErrorText());
        }
        if (!bQueued || !device.WaitForNotification(kMsgBatchProgress, 1, nBefore + 1))
            return LinkFailed(ctx, device);
        *pResult = ProgramResult(ctx, nProgram, strName);
        return kExitOk;
    });
}

int RunRecall(CtlContext& ctx)
{
    int nProgram = 0;
    if (!ParseProgram(ctx, &nProgram))
        return kExitFailed;
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data& data, std::string* pResult) {
        CProcessor& processor = device.Processor();
        // The editor recalls a program that was never stored just the same;
        // a script should know that what it gets may be no one's settings.
        if (IsBlank(processor.ProgramName(nProgram)))
            ctx.err << "zr470ctl: warning: program " << nProgram << " has no name and may never have been stored\n";
        if (!processor.RecallProgram(nProgram))
            return LinkFailed(ctx, device);
        if (!device.WaitFor([&data] { return data.State().m_bOnline.load() != 0; }))
            return LinkFailed(ctx, device);
        *pResult = ProgramResult(ctx, nProgram, processor.ProgramName(nProgram));
        return kExitOk;
    });
}

int RunDelete(CtlContext& ctx)
{
    int nProgram = 0;
    if (!ParseProgram(ctx, &nProgram))
        return kExitFailed;
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        const std::string strOld = device.Processor().ProgramName(nProgram);
        // Only the name goes: the program's blocks stay on the processor.
        device.Processor().DeleteProgram(nProgram);
        const std::string strNumber = std::to_string(nProgram);
        *pResult = ctx.inv.bJson ? JsonLine({{"program", nProgram}, {"deleted", strOld}})
                                 : "program " + strNumber + ": deleted " + strOld + "\n";
        return kExitOk;
    });
}
