// response, demo: the model without a processor.
#include <cstdio>
#include <memory>

#include "CtlCommands.h"
#include "CtlText.h"
#include "DataDefine.h"
#include "Frame.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "PresetFile.h"
#include "SendData.h"

namespace {

constexpr int kDemoPlotWidth = 900;
constexpr int kDemoPlotHeight = 320;

// The output's summed curve: every band and both crossover filters.
double ResponseAt(const CKTVEQ& eq, int nPoint)
{
    double dSum = 0.0;
    for (int b = 0; b < eq.GetSize(); ++b)
        dSum += eq[b].Response()[static_cast<size_t>(nPoint)];
    return dSum;
}

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

}  // namespace

int RunResponse(CtlContext& ctx)
{
    const std::string& strPath = ctx.inv.args[0];
    int nChannel = 0;
    if (!ParseWhole(ctx.inv.args[1], &nChannel) || nChannel < 1 || nChannel > kOutputs)
        return Refuse(ctx, "channel \"" + ctx.inv.args[1] + "\" refused: outputs are 1 … 6");
    CKTV_Data data;
    if (!LoadSceneFile(data, strPath).bOk)
        return Refuse(ctx, std::string(PresetFileErrorText(PresetFileError::ReadScene)) + " (" + strPath + ")");
    const CKTVEQ& eq = data.Output(nChannel - 1).EQ();
    if (ctx.inv.bJson)
        ctx.out << "{\"channel\":" << nChannel << ",\"points\":[";
    for (int i = 0; i < kAxisPoints; ++i) {
        // Exact: readers tell the axis points apart and decide ties of the
        // nearest point on the stored values.
        const std::string strFreq = FormatExact(g_dFreqAxis[static_cast<size_t>(i)]);
        const std::string strDb = FormatFixed(ResponseAt(eq, i), 2);
        if (ctx.inv.bJson)
            ctx.out << (i ? "," : "") << '[' << strFreq << ',' << strDb << ']';
        else
            ctx.out << strFreq << ' ' << strDb << '\n';
    }
    if (ctx.inv.bJson)
        ctx.out << "]}\n";
    return kExitOk;
}

int RunDemo(CtlContext& ctx)
{
    CKTV_Data data;
    data.SetPlotRect(kDemoPlotWidth, kDemoPlotHeight);
    g_bOnline = 1;  // as after a full read: edits are marked for sending
    CKTV_OutData& out = data.Output(0);
    CFilter& band = out.EQ()[17];
    band.SetGainCode(GainToCode(6.0));  // +6 dB at 1 kHz
    band.SetBandwidthCode(BandwidthToCode(1.0));
    CFilter& highPass = out.EQ().HighPass();
    highPass.SetFrequency(80, true);    // 80 Hz Linkwitz-Riley 24 dB/oct
    out.SetLevel(54);

    ctx.out << "Output 1 (" << out.GetName() << "): " << band.Describe() << ", " << band.BandwidthText()
            << ", high-pass " << highPass.FrequencyText() << ' ' << highPass.FilterTypeText() << ' '
            << highPass.CrossoverSlopeText() << "\n\nFrames for the processor, one per transfer cycle:\n";
    for (;;) {
        std::unique_ptr<CSendData> frame = data.GetNextChange();
        ctx.out << FrameText(*frame) << '\n';
        if (frame->Frame()[kFoCommand] != kCmdWrite)
            break;  // nothing left to send: the level-meter read that keeps the link alive
    }
    ctx.out << "\nResponse of output 1:\n";
    for (int i = 0; i < kAxisPoints; ++i) {
        char line[48];
        std::snprintf(line, sizeof line, "%9.1f Hz %7.2f dB\n", g_dFreqAxis[static_cast<size_t>(i)],
                      ResponseAt(out.EQ(), i));
        ctx.out << line;
    }
    g_bOnline = 0;
    return kExitOk;
}
