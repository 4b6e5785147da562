#include "ParamAccess.h"

#include <algorithm>
#include <iterator>

#include "DataDefine.h"
#include "Frame.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "Processor.h"
#include "ValueScale.h"

namespace {

// The smaller processor offers only two crossover slopes, chosen by their
// place in its short list (12 and 24 dB/oct) rather than by the full index.
constexpr int kShortSlopeVariant = 2;
constexpr int kShortSlopes[] = {0, 2};  // full-list indices of 12 and 24 dB/oct
constexpr int kItemMusicVolumeMax = 38;
constexpr int kItemMusicVolumeMin = 39;

bool IsShortSlopeDevice(CKTV_Data& data)
{
    return data.State().m_nDeviceType.load() == kShortSlopeVariant;
}

CKTV_OutData& OutputOf(CKTV_Data& data, const ParamRef& ref)
{
    return data.Output(ref.nChannel - 1);
}

CFilter& BandOf(CKTV_Data& data, const ParamRef& ref)
{
    return OutputOf(data, ref).EQ()[ref.nIndex - 1];
}

CFilter& CrossoverOf(CKTV_Data& data, const ParamRef& ref, int nFilter)
{
    CKTVEQ& eq = OutputOf(data, ref).EQ();
    return nFilter == kParamHighPass ? eq.HighPass() : eq.LowPass();
}

uint8_t* DelayEntry(CKTV_Data& data, const ParamRef& ref)
{
    return data.State().m_DelayTable + 2 * (kOutputs * (ref.nIndex - 1) + (ref.nChannel - 1));
}

int MixOf(const CKTV_OutData& out)
{
    if (out.GetLeftOff())
        return out.GetRightOff() ? kMixNone : kMixRight;
    return out.GetRightOff() ? kMixLeft : kMixBoth;
}

int SlopeOf(CKTV_Data& data, const CFilter& filter)
{
    const int nSlope = filter.GetSlope();
    if (IsShortSlopeDevice(data) && nSlope >= 0 && nSlope < static_cast<int>(std::size(kShortSlopes)))
        return kShortSlopes[nSlope];
    return nSlope;
}

int SlopeToDevice(CKTV_Data& data, int nCode)
{
    return IsShortSlopeDevice(data) && nCode == kShortSlopes[1] ? 1 : nCode;
}

int ReadOutputParam(CKTV_Data& data, const ParamRef& ref)
{
    CKTV_OutData& out = OutputOf(data, ref);
    switch (ref.kind) {
    case ParamKind::Level: return out.GetLevel();
    case ParamKind::Mute: return out.GetMute() ? 1 : 0;
    case ParamKind::Polarity: return out.GetPolarity() ? 1 : 0;
    case ParamKind::EqMode: return out.GetEqMode();
    case ParamKind::Mix: return MixOf(out);
    case ParamKind::BandFreq: return BandOf(data, ref).GetFrequency();
    case ParamKind::BandGain: return BandOf(data, ref).GetGainCode();
    case ParamKind::BandBandwidth: return BandOf(data, ref).GetBandwidthCode();
    case ParamKind::BandBypass: return BandOf(data, ref).IsEffectivelyBypassed() ? 1 : 0;
    case ParamKind::CrossoverFreq: return CrossoverOf(data, ref, ref.nIndex).GetFrequency();
    case ParamKind::CrossoverType: return CrossoverOf(data, ref, ref.nIndex).GetFilterType();
    case ParamKind::CrossoverSlope: return SlopeOf(data, CrossoverOf(data, ref, ref.nIndex));
    case ParamKind::LimiterThreshold: return out.GetThreshold();
    case ParamKind::LimiterAttack: return out.GetAttack();
    case ParamKind::LimiterRelease: return out.GetRelease();
    case ParamKind::Delay: return GetWord(DelayEntry(data, ref));
    default: return 0;
    }
}

void WriteOutputParam(CKTV_Data& data, const ParamRef& ref, int nCode)
{
    CKTV_OutData& out = OutputOf(data, ref);
    switch (ref.kind) {
    case ParamKind::Level: out.SetLevel(nCode); break;
    case ParamKind::Mute: out.SetMute(nCode); break;
    case ParamKind::Polarity: out.SetPolarity(nCode); break;
    case ParamKind::EqMode: out.SetEqMode(nCode); break;
    case ParamKind::Mix:
        out.SetLeftOff(nCode == kMixRight ? 1 : 0);
        out.SetRightOff(nCode == kMixLeft ? 1 : 0);
        break;
    case ParamKind::BandFreq: BandOf(data, ref).SetFrequency(nCode, true); break;
    case ParamKind::BandGain: BandOf(data, ref).SetGainCode(nCode); break;
    case ParamKind::BandBandwidth: BandOf(data, ref).SetBandwidthCode(nCode); break;
    case ParamKind::BandBypass: BandOf(data, ref).SetBypass(nCode); break;
    case ParamKind::CrossoverFreq: CrossoverOf(data, ref, ref.nIndex).SetFrequency(nCode, true); break;
    case ParamKind::CrossoverType: CrossoverOf(data, ref, ref.nIndex).SetFilterType(nCode, true); break;
    case ParamKind::CrossoverSlope: CrossoverOf(data, ref, ref.nIndex).SetSlope(SlopeToDevice(data, nCode), true); break;
    case ParamKind::LimiterThreshold: out.SetThreshold(nCode); break;
    case ParamKind::LimiterAttack: out.SetAttack(nCode); break;
    case ParamKind::LimiterRelease: out.SetRelease(nCode); break;
    default: break;
    }
}

// The delay table travels whole as system item 64 when marked.
void WriteDelayTable(CKTV_Data& data, uint8_t* pField, int nValue, bool bWord)
{
    ModelLock lock(data.State().m_csModel);
    const int nOld = bWord ? GetWord(pField) : *pField;
    if (nOld == nValue)
        return;
    if (bWord)
        PutWord(pField, nValue);
    else
        *pField = static_cast<uint8_t>(nValue);
    data.State().m_bDelayPresetChanged = 1;
}

std::string ChannelText(const ParamRef& ref)
{
    return "output " + std::to_string(ref.nChannel);
}

std::string CheckCrossover(CKTV_Data& data, const ParamRef& ref, int nCode)
{
    // The high-pass never goes above the low-pass, as on the editor's strip.
    const int nOther = CrossoverOf(data, ref, 1 - ref.nIndex).GetFrequency();
    if (ref.nIndex == kParamHighPass && nCode > nOther)
        return "hpf.freq " + std::to_string(nCode) + " Hz would lie above the low-pass (" + std::to_string(nOther) +
               " Hz) of " + ChannelText(ref);
    if (ref.nIndex == kParamLowPass && nCode < nOther)
        return "lpf.freq " + std::to_string(nCode) + " Hz would lie below the high-pass (" + std::to_string(nOther) +
               " Hz) of " + ChannelText(ref);
    return {};
}

// Every load limits the music volume to the range the processor reported
// (system items 39 and 38), so a volume outside it would not stay.
std::string CheckVolume(CKTV_Data& data, int nCode)
{
    const int nMin = data.State().m_SysBytes[kItemMusicVolumeMin];
    const int nMax = std::min<int>(data.State().m_SysBytes[kItemMusicVolumeMax], kMusicVolumeFaderMax);
    if (nCode >= nMin && nCode <= nMax)
        return {};
    const ValueScale& scale = kVolumeScale;
    return "volume " + scale.format(nCode).strText + " refused: this processor's music volume range is " +
           scale.format(nMin).strText + " to " + scale.format(nMax).strText + " dB";
}

constexpr int kEqModeGraphic = 1;  // the output record's mode: 0 parametric

// As the editor's mode button does on the way back to graphic mode: every
// band of the output and of the outputs linked with it returns to its fixed
// centre, flat, and each whole block goes to the processor.
void ResetToGraphic(CKTV_Data& data, CLinkSession& session, int nOutput)
{
    for (int k = 0; k < kOutputs; ++k) {
        if (data.State().m_nLinkGroup[k] != data.State().m_nLinkGroup[nOutput])
            continue;
        data.Output(k).ResetEqBands();
        session.WriteOutputBlock(k);
    }
}

}  // namespace

int ReadParam(CProcessor& processor, const ParamRef& ref)
{
    CKTV_Data& data = processor.Data();
    ModelLock lock(data.State().m_csModel);
    switch (ref.kind) {
    case ParamKind::Source: return data.State().m_ControlBlock[0];
    case ParamKind::NoiseGate: return data.Music().GetNoiseGate();
    case ParamKind::Volume: return data.Music().GetVolumeOff() ? kMusicVolumeOff : data.Music().GetVolume();
    case ParamKind::Position: return data.State().m_DelayTable[kDelaySelectedByte];
    default: return ReadOutputParam(data, ref);
    }
}

std::string CheckParam(CProcessor& processor, const ParamRef& ref, int nCode)
{
    CKTV_Data& data = processor.Data();
    ModelLock lock(data.State().m_csModel);
    switch (ref.kind) {
    case ParamKind::BandFreq:
    case ParamKind::BandBandwidth:
        if (OutputOf(data, ref).GetEqMode() != 0)
            return ChannelText(ref) + " uses the graphic equalizer, whose band frequencies and widths are fixed: "
                                      "set its eqmode to peq first";
        return {};
    case ParamKind::BandBypass:
        if (nCode == 0 && BandOf(data, ref).GetGain() == 0.0)
            return "eq" + std::to_string(ref.nIndex) + " of " + ChannelText(ref) +
                   " has 0.0 dB gain, which keeps it bypassed: set its gain instead";
        return {};
    case ParamKind::CrossoverFreq:
        return CheckCrossover(data, ref, nCode);
    case ParamKind::Volume:
        return CheckVolume(data, nCode);
    case ParamKind::CrossoverSlope:
        if (IsShortSlopeDevice(data) && nCode != kShortSlopes[0] && nCode != kShortSlopes[1])
            return "this processor (variant 2) has only the 12 and 24 dB/oct crossover slopes";
        return {};
    default:
        return {};
    }
}

void WriteParam(CProcessor& processor, const ParamRef& ref, int nCode)
{
    CKTV_Data& data = processor.Data();
    CLinkSession& session = processor.Session();
    switch (ref.kind) {
    case ParamKind::Source:
        processor.SetSource(nCode);
        break;
    case ParamKind::NoiseGate:
        data.Music().SetNoiseGate(nCode);
        break;
    case ParamKind::Volume:
        // The volume-off flag sends 0 whatever the volume; a new volume
        // must clear it or the processor would never hear the change.
        data.Music().SetVolumeOff(nCode == kMusicVolumeOff ? 1 : 0);
        data.Music().SetVolume(nCode);
        break;
    case ParamKind::Position:
        WriteDelayTable(data, data.State().m_DelayTable + kDelaySelectedByte, nCode, false);
        break;
    case ParamKind::Delay:
        WriteDelayTable(data, DelayEntry(data, ref), nCode, true);
        break;
    case ParamKind::EqMode:
        WriteOutputParam(data, ref, nCode);
        if (nCode == kEqModeGraphic)
            ResetToGraphic(data, session, ref.nChannel - 1);
        break;
    default:
        WriteOutputParam(data, ref, nCode);
        break;
    }
    processor.NoteEdit();
}
