// read-scene, write-scene, backup, restore: the program manager's PC file
// operations, with the file named on the command line instead of chosen
// in a dialog.
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "CtlCommands.h"
#include "ProcessorConversation.h"
#include "CtlFileChecks.h"
#include "CtlJson.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "PresetFile.h"
#include "Processor.h"

namespace fs = std::filesystem;

namespace {

// The bytes of a preset file that the parser accepts; otherwise the refusal
// is printed and nothing is returned.
template <typename Parse>
std::optional<std::vector<uint8_t>> ReadPreset(CtlContext& ctx, const fs::path& path, size_t nLargest, Parse parse,
                                               PresetFileError error, const char* pKind)
{
    auto bytes = ReadFileBytes(path, nLargest);
    if (bytes && parse(*bytes))
        return bytes;
    RefuseFile(ctx, error, path, WhyUnreadable(path, pKind));
    return std::nullopt;
}

std::string FileResult(CtlContext& ctx, const fs::path& path)
{
    if (ctx.inv.bJson)
        return JsonLine({{"file", path.string()}});
    return path.string() + "\n";
}

int SentResult(CtlContext& ctx, CProcessorConversation& device, CProcessorConversation::Sent sent, PresetFileError error,
               const fs::path& path, std::string* pResult)
{
    if (sent == CProcessorConversation::Sent::kRefused)
        return RefuseFile(ctx, error, path);
    if (sent == CProcessorConversation::Sent::kLinkFailed)
        return LinkFailed(ctx, device);
    *pResult = FileResult(ctx, path);
    return kExitOk;
}

}  // namespace

int RunReadScene(CtlContext& ctx)
{
    const fs::path path = ctx.inv.args[0];
    if (const std::string strWhy = WhyNotWritable(path); !strWhy.empty())
        return RefuseFile(ctx, PresetFileError::SaveScene, path, strWhy);
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        // As in the editor: the live scene takes the file's name.
        const PresetFileResult saved = device.Processor().SaveSceneFile(path);
        if (!saved.bOk)
            return RefuseFile(ctx, PresetFileError::SaveScene, saved.path, saved.strReason);
        *pResult = FileResult(ctx, saved.path);
        return kExitOk;
    });
}

int RunWriteScene(CtlContext& ctx)
{
    const fs::path path = ctx.inv.args[0];
    const auto bytes = ReadPreset(ctx, path, kSceneFileSize, ParseSceneFile, PresetFileError::ReadScene,
                                  "a scene file (.ZR4C)");
    if (!bytes)
        return kExitFailed;
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        return SentResult(ctx, device, device.SendSceneFile(*bytes, SceneTitle(path)), PresetFileError::ReadScene,
                          path, pResult);
    });
}

int RunBackup(CtlContext& ctx)
{
    const fs::path path = ctx.inv.args[0];
    if (const std::string strWhy = WhyNotWritable(path); !strWhy.empty())
        return RefuseFile(ctx, PresetFileError::SaveAllScenes, path, strWhy);
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        if (!device.ReadAllScenes())
            return LinkFailed(ctx, device);
        const PresetFileResult saved = device.Processor().SaveAllScenesFile(path);
        if (!saved.bOk)
            return RefuseFile(ctx, PresetFileError::SaveAllScenes, saved.path, saved.strReason);
        *pResult = FileResult(ctx, saved.path);
        return kExitOk;
    });
}

int RunRestore(CtlContext& ctx)
{
    const fs::path path = ctx.inv.args[0];
    const auto bytes = ReadPreset(ctx, path, kAllScenesFileSize, ParseAllScenesFile,
                                  PresetFileError::ReadAllScenes, "an all-scenes file (.ZR4AC)");
    if (!bytes)
        return kExitFailed;
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        return SentResult(ctx, device, device.SendAllScenesFile(*bytes), PresetFileError::ReadAllScenes, path,
                          pResult);
    });
}
