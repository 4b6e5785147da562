#include "VirtualStartup.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "DataDefine.h"
#include "GlobalData.h"

namespace {

constexpr int kOutputBands = 31;
constexpr int kInputBandCount = 9;
constexpr int kEffectBandCount = 3;
constexpr int kCrossoverLinkwitzRiley = 0;
constexpr int kCrossoverButterworth = 2;
constexpr int kSlope24dB = 2;  // output crossover slope index

// Crossover fully open: high-pass at 20 Hz, low-pass at 20 kHz.
void OpenCrossover(uint8_t* pGroup, int nType, int nSlope)
{
    PutWord(pGroup, kMinFreq);
    pGroup[2] = static_cast<uint8_t>(nType);
    pGroup[3] = static_cast<uint8_t>(nSlope);
    PutWord(pGroup + 4, kMaxFreq);
    pGroup[6] = static_cast<uint8_t>(nType);
    pGroup[7] = static_cast<uint8_t>(nSlope);
}

void ChannelName(uint8_t* pField, const char* pName)
{
    std::memcpy(pField, pName, std::min<size_t>(std::strlen(pName), 8));
}

void InputBlock(uint8_t* pBlock, int nVolume, const char* pName)
{
    WriteFlatBandGroups(pBlock, kInputBandCount);
    pBlock[75] = 1;  // channel on
    PutWord(pBlock + 78, nVolume);
    OpenCrossover(pBlock + 80, kCrossoverButterworth, 0);
    pBlock[88] = 40;  // noise gate
    PutWord(pBlock + 96, 500);
    ChannelName(pBlock + 104, pName);
}

void EffectBlock(uint8_t* pBlock)
{
    WriteFlatBandGroups(pBlock, kEffectBandCount);
    OpenCrossover(pBlock + 120, kCrossoverButterworth, 0);
    // Echo space, delay, level, repeat; reverb time and level; volume; byte A.
    const int nOffsets[] = {128, 129, 130, 131, 136, 137, 139, 140};
    const int nValues[] = {20, 84, 50, 68, 18, 50, 40, 50};
    for (size_t i = 0; i < std::size(nOffsets); ++i)
        pBlock[nOffsets[i]] = static_cast<uint8_t>(nValues[i]);
    ChannelName(pBlock + 144, "Effect");
}

// A factory-fresh processor starts its output equalizers as a graphic
// equalizer: every band on its standard centre, 0.2 octaves wide, flat.
void GraphicBands(uint8_t* pBlock)
{
    constexpr int kBandwidthCode02Oct = 15;
    WriteFlatBandGroups(pBlock, kOutputBands);
    for (int i = 0; i < kOutputBands; ++i) {
        PutWord(pBlock + 8 * i, g_nGraphicFreq[static_cast<size_t>(i)]);
        PutWord(pBlock + 8 * i + 4, kBandwidthCode02Oct);
    }
}

void OutputBlock(uint8_t* pBlock, int nChannel)
{
    static const char* const kNames[kOutputs] = {"FL", "FR", "SL", "SR", "Center", "ULF"};
    GraphicBands(pBlock);
    PutWord(pBlock + 250, 60);  // level index 60 = 0 dB
    PutWord(pBlock + 252, 0);
    pBlock[254] = 1;            // graphic equalizer
    OpenCrossover(pBlock + 256, kCrossoverLinkwitzRiley, kSlope24dB);
    // Even outputs take the left source, odd ones the right.
    pBlock[264] = nChannel % 2 == 0 ? 1 : 0;
    pBlock[265] = nChannel % 2 == 0 ? 0 : 1;
    PutWord(pBlock + 280, 300);  // limiter threshold 0 dBu
    pBlock[282] = 106;
    pBlock[283] = 5;
    ChannelName(pBlock + 288, kNames[nChannel]);
}

void BlankName(uint8_t* pName)
{
    std::memset(pName, ' ', kNameSize - 1);
    pName[kNameSize - 1] = 0;
}

}  // namespace

void FillStartupImage(uint8_t* pImage)
{
    std::memset(pImage, 0, kImageSize);
    BlankName(pImage + kOffSceneName);
    BlankName(pImage + kOffEffectName);
    EffectBlock(pImage + kOffEffect);
    InputBlock(pImage + kOffMic, 40, "Mic 1");
    InputBlock(pImage + kOffMusic, 60, "Music 1");
    for (int i = 0; i < kOutputs; ++i)
        OutputBlock(pImage + kOffOutput + kOutBlockSize * i, i);
}

void FillStartupEffectProgram(uint8_t* pProgram)
{
    std::memset(pProgram, 0, kEffectProgSize);
    BlankName(pProgram);
    EffectBlock(pProgram + kNameSize);
}
