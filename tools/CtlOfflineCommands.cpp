// response, demo: the model without a processor.
#include <cstdio>
#include <memory>

#include "ChangeScanner.h"
#include "CtlCommands.h"
#include "CtlJson.h"
#include "CtlRoomOptions.h"
#include "DataDefine.h"
#include "Frame.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "NumberText.h"
#include "OutputChain.h"
#include "PresetFile.h"
#include "RoomCurve.h"
#include "SendData.h"

namespace {

constexpr int kDemoPlotWidth = 900;
constexpr int kDemoPlotHeight = 320;

std::string FrameText(const CSendData& frame)
{
    std::string str;
    char byte[4];
    for (int i = 0; i < frame.Length(); ++i) {
        std::snprintf(byte, sizeof byte, "%02X", frame.Frame()[i]);
        if (i)
            str += ' ';
        str += byte;
    }
    return str;
}

// [frequency, dB] of one axis point, as `response` and `demo` print it.
Json PointJson(int nPoint, const AxisResponse& response)
{
    const auto i = static_cast<size_t>(nPoint);
    return Json::array({JsonExact(g_dFreqAxis[i]), JsonNumber(response[i], 2)});
}

// The chain's phase (degrees) and group delay (ms) that --phase and
// --group-delay add to each point.
struct ChainColumns {
    bool bPhase = false;
    bool bDelay = false;
    AxisResponse dPhase{};
    AxisResponse dDelayMs{};
    Json phaseJson = Json::array();
    Json delayJson = Json::array();

    std::string Text(int i) const
    {
        const auto n = static_cast<size_t>(i);
        return (bPhase ? ' ' + FormatFixed(dPhase[n], 1) : "") + (bDelay ? ' ' + FormatFixed(dDelayMs[n], 3) : "");
    }
    void AddJson(int i)
    {
        phaseJson.push_back(JsonNumber(dPhase[static_cast<size_t>(i)], 1));
        delayJson.push_back(JsonNumber(dDelayMs[static_cast<size_t>(i)], 3));
    }
    void PutJson(Json& result) const
    {
        if (bPhase)
            result["phase_deg"] = phaseJson;
        if (bDelay)
            result["group_delay_ms"] = delayJson;
    }
};

ChainColumns ChainColumnsOf(const CommandLine& options, CKTV_Data& data, int nChannel)
{
    ChainColumns columns;
    columns.bPhase = options.flags.count("--phase") > 0;
    columns.bDelay = options.flags.count("--group-delay") > 0;
    const ChainResponse chain = OutputChainOf(data, nChannel - 1);
    ChainPhase(chain, columns.dPhase);
    ChainGroupDelay(chain, columns.dDelayMs);
    return columns;
}

}  // namespace

int RunResponse(CtlContext& ctx)
{
    const CommandLine& options = ctx.line;
    if (options.values.count("--sum"))
        return RunResponseSum(ctx);
    if (options.positional.size() != 2)
        return Refuse(ctx, "response takes a scene file and an output, or --sum with the outputs"), kExitUsage;
    std::string strError;
    int nChannel = 0;
    if (!ParseOutputNumber(options.positional[1], &nChannel, &strError))
        return Refuse(ctx, strError);
    const std::string& strPath = options.positional[0];
    // With a measurement: the predicted response (measurement + the
    // output's curve) at the axis points the measurement covers.
    CRoomCurve room;
    if (options.values.count("--measurement")) {
        const MeasurementResult measured = ReadMeasurementFile(options.values.at("--measurement"));
        if (!measured.bOk || !room.Assign(measured.points, &strError))
            return Refuse(ctx, measured.bOk ? strError : RoomFileErrorText(measured.error));
    } else {
        room.Assign({{g_dFreqAxis.front(), 0.0}, {g_dFreqAxis.back(), 0.0}}, &strError);
    }
    CKTV_Data data;
    if (!LoadSceneFile(data, strPath).bOk)
        return Refuse(ctx, std::string(PresetFileErrorText(PresetFileError::ReadScene)) + " (" + strPath + ")");
    AxisResponse response{};
    room.Predict(data.Output(nChannel - 1).EQ(), response);
    ChainColumns columns = ChainColumnsOf(options, data, nChannel);
    Json points = Json::array();
    for (int i = room.First(); i <= room.Last(); ++i) {
        // Exact: readers tell the axis points apart and decide ties of the
        // nearest point on the stored values.
        if (ctx.inv.bJson) {
            points.push_back(PointJson(i, response));
            columns.AddJson(i);
        } else {
            ctx.out << FormatExact(g_dFreqAxis[static_cast<size_t>(i)]) << ' '
                    << FormatFixed(response[static_cast<size_t>(i)], 2) << columns.Text(i) << '\n';
        }
    }
    if (ctx.inv.bJson) {
        Json result{{"channel", nChannel}, {"points", points}};
        columns.PutJson(result);
        ctx.out << JsonLine(result);
    }
    return kExitOk;
}

int RunDemo(CtlContext& ctx)
{
    CKTV_Data data;
    data.SetPlotRect(kDemoPlotWidth, kDemoPlotHeight);
    data.State().m_bOnline = 1;  // as after a full read: edits are marked for sending
    CKTV_OutData& out = data.Output(0);
    CFilter& band = out.EQ()[17];
    band.SetGainCode(GainToCode(6.0));  // +6 dB at 1 kHz
    band.SetBandwidthCode(BandwidthToCode(1.0));
    CFilter& highPass = out.EQ().HighPass();
    highPass.SetFrequency(80, true);    // 80 Hz Linkwitz-Riley 24 dB/oct
    out.SetLevel(54);

    const std::string strSettings = "Output 1 (" + out.GetName() + "): " + band.Describe() + ", " +
                                    band.BandwidthText() + ", high-pass " + highPass.FrequencyText() + ' ' +
                                    highPass.FilterTypeText() + ' ' + highPass.CrossoverSlopeText();
    std::vector<std::string> frames;
    for (;;) {
        std::unique_ptr<CSendData> frame = NextChangeFrame(data);
        frames.push_back(FrameText(*frame));
        if (frame->Frame()[kFoCommand] != kCmdWrite)
            break;  // nothing left to send: the level-meter read that keeps the link alive
    }
    AxisResponse response{};
    SummedResponse(out.EQ(), response);
    if (ctx.inv.bJson) {
        Json points = Json::array();
        for (int i = 0; i < kAxisPoints; ++i)
            points.push_back(PointJson(i, response));
        ctx.out << JsonLine({{"channel", 1}, {"settings", strSettings}, {"frames", frames}, {"points", points}});
    } else {
        ctx.out << strSettings << "\n\nFrames for the processor, one per transfer cycle:\n";
        for (const std::string& strFrame : frames)
            ctx.out << strFrame << '\n';
        ctx.out << "\nResponse of output 1:\n";
        for (int i = 0; i < kAxisPoints; ++i) {
            char line[48];
            std::snprintf(line, sizeof line, "%9.1f Hz %7.2f dB\n", g_dFreqAxis[static_cast<size_t>(i)],
                          response[static_cast<size_t>(i)]);
            ctx.out << line;
        }
    }
    data.State().m_bOnline = 0;
    return kExitOk;
}
