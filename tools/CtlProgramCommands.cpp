// store, recall, delete: the program manager's device buttons for scene
// programs 1 … 10.
#include <algorithm>
#include <cstring>

#include "CommLock.h"
#include "CtlCommands.h"
#include "CtlDevice.h"
#include "CtlJson.h"
#include "CtlText.h"
#include "DataDefine.h"
#include "Frame.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "Notify.h"
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
        return "a program name has at most 13 characters, \"" + EchoText(strName) + "\" has " +
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

std::string ProgramName(int nProgram)
{
    ModelLock lock(g_csModel);
    return BytesToName(SceneEntry(nProgram), kNameSize);
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
    return RunOnProcessor(ctx, [&](CCtlDevice& device, CKTV_Data&, std::string* pResult) {
        uint8_t field[kNameSize] = {};
        if (!CopyFixed(field, kNameSize, strName))
            return Refuse(ctx, CharLenErrorText());
        if (IsDuplicateName(nProgram, field))
            return Refuse(ctx, TextNow(kTxtNameTaken));
        {
            ModelLock lock(g_csModel);
            std::memcpy(SceneEntry(nProgram), field, kNameSize);
            std::memcpy(g_LiveImage + kOffSceneName, field, kNameSize);
        }
        CLinkSession& session = device.Session();
        session.MarkSceneNameForSending();
        const int nBefore = device.Seen(kMsgBatchProgress, 1);
        {
            CommLock lock(g_csComm);
            if (!session.WriteScene(nProgram, true))
                return LinkFailed(ctx, device);
        }
        if (!device.WaitForNotification(kMsgBatchProgress, 1, nBefore + 1))
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
    return RunOnProcessor(ctx, [&](CCtlDevice& device, CKTV_Data&, std::string* pResult) {
        // The editor recalls a program that was never stored just the same;
        // a script should know that what it gets may be no one's settings.
        if (IsBlank(ProgramName(nProgram)))
            ctx.err << "zr470ctl: warning: program " << nProgram << " has no name and may never have been stored\n";
        if (!device.Session().ReadScene(nProgram))
            return LinkFailed(ctx, device);
        {
            // The recalled program's name becomes the live scene's name.
            ModelLock lock(g_csModel);
            std::memcpy(g_LiveImage + kOffSceneName, SceneEntry(nProgram), kNameSize);
        }
        if (!device.WaitFor([] { return g_bOnline.load() != 0; }))
            return LinkFailed(ctx, device);
        *pResult = ProgramResult(ctx, nProgram, ProgramName(nProgram));
        return kExitOk;
    });
}

int RunDelete(CtlContext& ctx)
{
    int nProgram = 0;
    if (!ParseProgram(ctx, &nProgram))
        return kExitFailed;
    return RunOnProcessor(ctx, [&](CCtlDevice& device, CKTV_Data&, std::string* pResult) {
        const std::string strOld = ProgramName(nProgram);
        {
            ModelLock lock(g_csModel);
            std::memset(SceneEntry(nProgram), 0, kNameSize);
        }
        // Only the name goes: the program's blocks stay on the processor.
        device.Session().SendSystemItem(kItemSceneName, nProgram);
        const std::string strNumber = std::to_string(nProgram);
        *pResult = ctx.inv.bJson ? JsonLine({{"program", nProgram}, {"deleted", strOld}})
                                 : "program " + strNumber + ": deleted " + strOld + "\n";
        return kExitOk;
    });
}
