// eq-fit CH MEASUREMENT [MEASUREMENT …] [--target FILE] [--range LO-HI] [--bands N] [--max-boost DB] [--max-cut DB]
//        [--dry-run] [--link CH,…] [--from F.ZR4C [--save OUT.ZR4C [--force]]]:
// the bands that bring output CH's measured response nearest the target,
// (the power average of several microphone positions, up to eight),
// fitted against the output's own crossover (of the processor, or of a
// scene file offline) and put on it as eq-import puts a filter set.
#include <filesystem>

#include "CtlCommands.h"
#include "ProcessorConversation.h"
#include "CtlFileChecks.h"
#include "CtlJson.h"
#include "CtlRoomApply.h"
#include "CtlRoomOptions.h"
#include "DataDefine.h"
#include "KTV_Data.h"
#include "MeasurementAverage.h"
#include "NumberText.h"
#include "PresetFile.h"
#include "Processor.h"
#include "RoomFit.h"

namespace fs = std::filesystem;

namespace {

struct FitCommand {
    int nChannel = 0;
    std::vector<int> links;
    RoomFitInput input;  // all but the crossover, which comes from the output
    bool bDryRun = false;
    std::string strFrom;
    std::string strSave;
};

// Why the fitted scene cannot be saved where asked; empty when it can. The
// save adds the extension when the name has none, so "scene" replaces
// "scene.ZR4C", and a folder would become a file beside it.
std::string WhyNotSaved(const CommandLine& line, const FitCommand& command)
{
    std::error_code ec;
    const fs::path saved = WithPresetExtension(command.strSave, kSceneFileExt);
    if (fs::is_directory(command.strSave, ec) || fs::is_directory(saved, ec))
        return "a folder, not a file";
    if (!command.bDryRun && !line.flags.count("--force") && fs::equivalent(saved, command.strFrom, ec))
        return "the scene file the fit starts from: add --force to replace it";
    return WhyNotWritable(command.strSave);
}

// kExitOk when the arguments and options make sense; the refusal or the
// usage mistake (already printed) otherwise.
int ParseFitCommand(CtlContext& ctx, FitCommand* pCommand)
{
    const CommandLine& line = ctx.line;
    std::string strError;
    // A value out of range is refused like any value (exit 1); only a
    // misspelt word of the syntax is a usage mistake.
    if (!ParseFitOptions(line, &pCommand->input, &strError))
        return Refuse(ctx, "eq-fit: " + strError);
    pCommand->strFrom = OptionValue(line, "--from");
    pCommand->strSave = OptionValue(line, "--save");
    if (!pCommand->strSave.empty() && pCommand->strFrom.empty())
        return Refuse(ctx, "eq-fit: --save needs --from, the scene file the fit starts from"), kExitUsage;
    pCommand->bDryRun = line.flags.count("--dry-run") > 0;
    if (const std::string strWhy = WhyNotSaved(line, *pCommand); !pCommand->strSave.empty() && !strWhy.empty())
        return RefuseFile(ctx, PresetFileError::SaveScene, pCommand->strSave, strWhy);
    if (!ParseOutputNumber(line.positional[0], &pCommand->nChannel, &strError))
        return Refuse(ctx, strError);
    return ParseLinkOption(ctx, pCommand->nChannel, &pCommand->links);
}

// The measurement (the positions' power average) and the house curve, if
// any; kExitOk or the refusal.
int ReadFitFiles(CtlContext& ctx, RoomFitInput* pInput)
{
    const CommandLine& line = ctx.line;
    std::string strError;
    Positions positions;
    for (size_t k = 1; k < line.positional.size(); ++k) {
        MeasurementResult measured = ReadMeasurementFile(line.positional[k]);
        if (!measured.bOk)
            return Refuse(ctx, RoomFileErrorText(measured.error));
        positions.push_back(std::move(measured.points));
    }
    std::vector<MeasurementPoint> average;
    const bool bAverage = positions.size() > 1;
    if ((bAverage && !PowerAverage(positions, &average, &strError)) ||
        !pInput->measurement.Assign(bAverage ? average : positions.front(), &strError))
        return Refuse(ctx, strError);
    if (line.values.count("--target") && !pInput->target.Load(line.values.at("--target"), &strError))
        return Refuse(ctx, strError);
    return kExitOk;
}

RoomFitResult FitOutput(FitCommand& command, CProcessor& processor)
{
    command.input.crossover = CrossoverResponse(processor.Data().Output(command.nChannel - 1).EQ());
    return FitRoom(command.input);
}

std::string ResidualText(const char* pWhen, const RoomResidual& residual)
{
    return std::string("residual ") + pWhen + ": RMS " + FormatFixed(residual.dRmsDb, 2) + " dB, max " +
           FormatFixed(residual.dMaxDb, 2) + " dB\n";
}

// {"band":1,"freq_hz":42,"gain_db":-8.5,"bw_oct":0.2,"q":7.2}
Json BandJson(int nBand, const MappedBand& band)
{
    return {{"band", nBand},
            {"freq_hz", band.nFreq},
            {"gain_db", JsonNumber(CodeToGain(band.nGainCode), 1)},
            {"bw_oct", JsonNumber(CodeToBandwidth(band.nBandwidthCode), 2)},
            {"q", JsonExact(QTableEntry(band.nBandwidthCode))}};
}

std::string FitReport(const CtlContext& ctx, const RoomFitInput& input, const RoomFitResult& result)
{
    if (!ctx.inv.bJson)
        return MappingText(RoomFitMapping(result)) + ResidualText("before", result.before) +
               ResidualText("after", result.after);
    Json bands = Json::array();
    for (size_t i = 0; i < result.bands.size(); ++i)
        bands.push_back(BandJson(static_cast<int>(i) + 1, result.bands[i]));
    return JsonLine({{"bands", bands},
                     {"before_rms_db", JsonNumber(result.before.dRmsDb, 2)},
                     {"after_rms_db", JsonNumber(result.after.dRmsDb, 2)},
                     {"after_max_db", JsonNumber(result.after.dMaxDb, 2)},
                     {"range_hz", Json::array({JsonExact(input.dLowHz), JsonExact(input.dHighHz)})}});
}

// The fit of the output on the processor (or on a scene file's settings),
// printed and (unless a dry run) applied; kExitOk or the refusal.
int FitAndApply(CtlContext& ctx, FitCommand& command, CProcessor& processor, bool bApply, std::string* pResult)
{
    const RoomFitResult result = FitOutput(command, processor);
    if (result.status != RoomFitStatus::Done)
        return Refuse(ctx, result.strError);
    *pResult = FitReport(ctx, command.input, result);
    if (!bApply)
        return kExitOk;
    const std::string strApplied =
        ApplyToOutputs(processor, command.nChannel, RoomFitMapping(result), command.links, "fitted");
    if (!ctx.inv.bJson)
        *pResult += strApplied;
    return kExitOk;
}

int FitInScene(CtlContext& ctx, FitCommand& command)
{
    CProcessor processor;  // never connected: the scene file's settings only
    if (!LoadSceneFile(processor.Data(), command.strFrom).bOk)
        return RefuseFile(ctx, PresetFileError::ReadScene, command.strFrom,
                          WhyUnreadable(command.strFrom, "a scene file (.ZR4C)"));
    const bool bSave = !command.strSave.empty() && !command.bDryRun;
    std::string strResult;
    const int nExit = FitAndApply(ctx, command, processor, bSave, &strResult);
    if (nExit != kExitOk)
        return nExit;
    if (bSave) {
        const PresetFileResult saved = processor.SaveSceneFile(command.strSave);
        if (!saved.bOk)
            return RefuseFile(ctx, PresetFileError::SaveScene, saved.path, saved.strReason);
        if (!ctx.inv.bJson)
            strResult += "saved " + saved.path.string() + '\n';
    }
    ctx.out << strResult;
    return kExitOk;
}

}  // namespace

int RunEqFit(CtlContext& ctx)
{
    FitCommand command;
    if (const int nExit = ParseFitCommand(ctx, &command); nExit != kExitOk)
        return nExit;
    if (const int nExit = ReadFitFiles(ctx, &command.input); nExit != kExitOk)
        return nExit;
    if (!command.strFrom.empty())
        return FitInScene(ctx, command);
    // A dry run still reads the processor: the fit needs the output's crossover.
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        return FitAndApply(ctx, command, device.Processor(), !command.bDryRun, pResult);
    });
}
