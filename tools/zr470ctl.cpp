// zr470ctl: the command-line client of the core.
//
//   zr470ctl demo                 tune output 1 of a fresh model and show the
//                                 frames the processor would receive
//   zr470ctl response F.ZR4C CH   the 241-point response of output CH (1 … 6)
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "DataDefine.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "SendData.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: zr470ctl demo\n"
                 "       zr470ctl response F.ZR4C CH    (CH 1..6)\n");
    return 2;
}

// Sum of the band responses of output ch at every axis point.
void PrintResponse(CKTV_Data& data, int nChannel)
{
    CKTVEQ& eq = data.Output(nChannel).EQ();
    for (int i = 0; i < kAxisPoints; ++i) {
        double dSum = 0.0;
        for (int b = 0; b < eq.GetSize(); ++b)
            dSum += eq[b].Response()[i];
        std::printf("%9.1f Hz %7.2f dB\n", g_dFreqAxis[i], dSum);
    }
}

void PrintFrame(const CSendData& frame)
{
    for (int i = 0; i < frame.Length(); ++i)
        std::printf("%02X%s", frame.Frame()[i], i + 1 < frame.Length() ? " " : "\n");
}

int Demo()
{
    CKTV_Data data;
    data.SetPlotRect(900, 320);
    g_bOnline = 1;  // as after a full read: edits are marked for sending
    CKTV_OutData& out = data.Output(0);
    out.EQ()[17].SetGainCode(GainToCode(6.0));    // +6 dB at 1 kHz
    out.EQ()[17].SetBandwidthCode(BandwidthToCode(1.0));
    out.EQ().HighPass().SetFrequency(80, true);   // 80 Hz Linkwitz-Riley 24 dB/oct
    out.SetLevel(54);

    std::printf("Output 1 (%s): %s, %s, high-pass %s %s %s\n", out.GetName().c_str(),
                out.EQ()[17].Describe().c_str(), out.EQ()[17].BandwidthText().c_str(),
                out.EQ().HighPass().FrequencyText().c_str(), out.EQ().HighPass().FilterTypeText().c_str(),
                out.EQ().HighPass().CrossoverSlopeText().c_str());
    std::printf("\nFrames for the processor, one per transfer cycle:\n");
    for (;;) {
        std::unique_ptr<CSendData> frame = data.GetNextChange();
        PrintFrame(*frame);
        if (frame->Frame()[4] != 0xA1)
            break;  // nothing left to send: the level-meter read that keeps the link alive
    }
    std::printf("\nResponse of output 1:\n");
    PrintResponse(data, 0);
    return 0;
}

int Response(const char* pPath, const char* pChannel)
{
    const int nChannel = std::atoi(pChannel);
    if (nChannel < 1 || nChannel > kOutputs)
        return Usage();
    std::ifstream file(pPath, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    static const char kTag[] = "ZR470_File";
    const size_t nTag = sizeof kTag - 1;
    if (!file.is_open() && bytes.empty()) {
        std::fprintf(stderr, "Read MusicFile  Error\n");
        return 1;
    }
    if (bytes.size() < 1 + nTag + kImageSize || bytes[0] != nTag || std::memcmp(&bytes[1], kTag, nTag) != 0) {
        std::fprintf(stderr, "Read MusicFile  Error\n");
        return 1;
    }
    CKTV_Data data;
    std::memcpy(g_LiveImage, &bytes[1 + nTag], kImageSize);
    data.LoadFromImage(g_LiveImage, 0);
    PrintResponse(data, nChannel - 1);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    InitGlobalDefaults();
    if (argc == 2 && std::strcmp(argv[1], "demo") == 0)
        return Demo();
    if (argc == 4 && std::strcmp(argv[1], "response") == 0)
        return Response(argv[2], argv[3]);
    return Usage();
}
