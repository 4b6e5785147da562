// response F.ZR4C --sum CH,CH [--measurement FILE,FILE] and
// align F.ZR4C CH CH [--measurement FILE,FILE]: the complex sum of outputs of
// a scene file, each with its level, delay and polarity and, with a
// measurement per output, the speakers' own response; and the delay and
// polarity that make a pair add up flattest. A scene file holds no
// listening-position delays: the outputs start from none.
#include <memory>

#include "CtlCommands.h"
#include "CtlJson.h"
#include "CtlRoomOptions.h"
#include "DelayTable.h"
#include "KTV_Data.h"
#include "NumberText.h"
#include "PresetFile.h"
#include "ResponseSum.h"
#include "TextTable.h"

namespace {

struct SumScene {
    CKTV_Data data;
    std::vector<int> outputs;     // 1 … 6
    std::vector<CRoomCurve> rooms;  // one per output, or none
    std::vector<SumMember> members;
};

// One measurement per output, in the outputs' order; kExitOk or the refusal.
int ReadMeasurements(CtlContext& ctx, SumScene& scene)
{
    if (!ctx.line.values.count("--measurement"))
        return kExitOk;
    const std::vector<std::string> files = SplitCommas(ctx.line.values.at("--measurement"));
    if (files.size() != scene.outputs.size())
        return Refuse(ctx, "--measurement takes one file per output, separated by commas");
    scene.rooms.resize(files.size());
    for (size_t k = 0; k < files.size(); ++k) {
        std::string strError;
        const MeasurementResult measured = ReadMeasurementFile(files[k]);
        if (!measured.bOk || !scene.rooms[k].Assign(measured.points, &strError))
            return Refuse(ctx, measured.bOk ? strError : RoomFileErrorText(measured.error));
    }
    return kExitOk;
}

int LoadScene(CtlContext& ctx, const std::vector<std::string>& outputTexts, SumScene& scene)
{
    std::string strError;
    if (!ParseOutputList(outputTexts, &scene.outputs, &strError))
        return Refuse(ctx, strError);
    if (const int nExit = ReadMeasurements(ctx, scene); nExit != kExitOk)
        return nExit;
    const std::string& strPath = ctx.line.positional[0];
    if (!LoadSceneFile(scene.data, strPath).bOk)
        return Refuse(ctx, std::string(PresetFileErrorText(PresetFileError::ReadScene)) + " (" + strPath + ")");
    for (size_t k = 0; k < scene.outputs.size(); ++k)
        scene.members.push_back({OutputChainOf(scene.data, scene.outputs[k] - 1),
                                 scene.rooms.empty() ? nullptr : &scene.rooms[k]});
    return kExitOk;
}

std::string DelayMs(int nCode)
{
    return FormatFixed(nCode / kDelayCodesPerMs, 3);
}

void PrintAdvice(CtlContext& ctx, const SumScene& scene, const AlignAdvice& advice)
{
    const int nOutput = scene.outputs[static_cast<size_t>(advice.nMember)];
    const int nWas = scene.members[static_cast<size_t>(advice.nMember)].chain.settings.nDelayCode;
    const char* pPolarity = advice.bInvertSecond ? "inverted" : "normal";
    if (ctx.inv.bJson) {
        ctx.out << JsonLine({{"outputs", scene.outputs},
                             {"crossover_hz", JsonNumber(advice.dCrossoverHz, 1)},
                             {"output", nOutput},
                             {"delay_code", advice.nDelayCode},
                             {"delay_ms", JsonNumber(advice.nDelayCode / kDelayCodesPerMs, 3)},
                             {"polarity_output", scene.outputs[1]},
                             {"polarity", pPolarity},
                             {"flatness_before_db", JsonNumber(advice.dBeforeDb, 2)},
                             {"flatness_after_db", JsonNumber(advice.dAfterDb, 2)},
                             {"filters_only", advice.bFiltersOnly}});
        return;
    }
    ctx.out << "crossover " << FormatFixed(advice.dCrossoverHz, 1) << " Hz"
            << (advice.bFiltersOnly ? std::string(" (") + Say(kTxtFiltersOnly) + ")" : "") << '\n'
            << "delay of output " << nOutput << ": " << DelayMs(advice.nDelayCode) << " ms (was " << DelayMs(nWas)
            << " ms)\npolarity of output " << scene.outputs[1] << ": " << pPolarity << '\n'
            << "flatness over the octave (RMS): " << FormatFixed(advice.dBeforeDb, 2) << " dB as set, "
            << FormatFixed(advice.dAfterDb, 2) << " dB advised\n";
}

}  // namespace

int RunResponseSum(CtlContext& ctx)
{
    if (ctx.line.positional.size() != 1)
        return Refuse(ctx, "response --sum takes the scene file only: the outputs come with --sum");
    auto scene = std::make_unique<SumScene>();
    if (const int nExit = LoadScene(ctx, SplitCommas(ctx.line.values.at("--sum")), *scene); nExit != kExitOk)
        return nExit;
    const SumResult sum = SumChains(scene->members);
    Json points = Json::array();
    if (!ctx.inv.bJson && sum.bFiltersOnly)
        ctx.out << Say(kTxtFiltersOnly) << '\n';
    for (int i = sum.nFirst; i <= sum.nLast; ++i) {
        const auto n = static_cast<size_t>(i);
        if (ctx.inv.bJson)
            points.push_back(Json::array({JsonExact(g_dFreqAxis[n]), JsonNumber(sum.dDb[n], 2), JsonNumber(sum.dPhase[n], 1)}));
        else
            ctx.out << FormatExact(g_dFreqAxis[n]) << ' ' << FormatFixed(sum.dDb[n], 2) << ' '
                    << FormatFixed(sum.dPhase[n], 1) << '\n';
    }
    if (ctx.inv.bJson)
        ctx.out << JsonLine({{"sum", scene->outputs}, {"filters_only", sum.bFiltersOnly}, {"points", points}});
    return kExitOk;
}

int RunAlign(CtlContext& ctx)
{
    auto scene = std::make_unique<SumScene>();
    const std::vector<std::string> outputs(ctx.line.positional.begin() + 1, ctx.line.positional.end());
    if (const int nExit = LoadScene(ctx, outputs, *scene); nExit != kExitOk)
        return nExit;
    PrintAdvice(ctx, *scene, AdviseAlignment(scene->members[0], scene->members[1]));
    return kExitOk;
}
