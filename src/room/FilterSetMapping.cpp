#include "FilterSetMapping.h"

#include <algorithm>
#include <cmath>

#include "DataDefine.h"
#include "KTV_OutData.h"
#include "RoomText.h"

namespace {

constexpr int kShelfHinge = 2000;  // where the processor's shelves hinge
constexpr double kStandardShelfQ = 0.707;
constexpr int kFlatBandwidthCode = 15;  // 0.2 octaves, the reset width

std::string KindName(const RoomFilter& filter)
{
    return filter.strType + ' ' + RoomNumberText(filter.dFreq) + " Hz";
}

// Collects what moved for one filter: "Q 4 → 3.983".
class Changes {
public:
    void Note(TextId id, double dFrom, double dTo, const char* szUnit)
    {
        if (std::abs(dFrom - dTo) <= 1e-6 * std::max(1.0, std::abs(dFrom)))
            return;
        m_items.push_back(Say(id) + ' ' + RoomNumberText(dFrom) + szUnit + " → " +
                          RoomNumberText(dTo) + szUnit);
    }
    void Add(std::string strItem) { m_items.push_back(std::move(strItem)); }
    void Flush(const RoomFilter& filter, CRoomNotes& notes) const
    {
        if (m_items.empty())
            return;
        std::string strLine = RoomLinePrefix(filter.nLine) + KindName(filter) + ": ";
        for (std::size_t i = 0; i < m_items.size(); ++i)
            strLine += (i ? "; " : "") + m_items[i];
        notes.Add(strLine);
    }

private:
    std::vector<std::string> m_items;
};

int ShelfMode(const RoomFilter& filter, Changes& changes)
{
    const bool bLow = filter.kind == RoomFilterKind::LowShelf;
    int nSlope = 12;
    if (filter.dSlope > 0.0) {
        nSlope = filter.dSlope < 9.0 ? 6 : 12;
        changes.Note(kTxtMapSlope, filter.dSlope, nSlope, " dB/oct");
    } else if (filter.dQ > 0.0 && std::abs(filter.dQ - kStandardShelfQ) > 0.01) {
        changes.Add(Say(kTxtMapShelfQ, {RoomNumberText(filter.dQ)}));
    }
    return (bLow ? 1 : 3) + (nSlope == 12 ? 1 : 0);
}

int BandwidthCodeOf(const RoomFilter& filter, Changes& changes)
{
    if (filter.dBwOct > 0.0) {
        // Limited while still a double: a huge bandwidth must not overflow the integer.
        const int nCode = static_cast<int>(std::lround(std::clamp((filter.dBwOct - 0.05) / 0.01, 0.0,
                                                                  static_cast<double>(kBandwidthCodeMax))));
        changes.Note(kTxtStepBandwidth, filter.dBwOct, CodeToBandwidth(nCode), " oct");
        return nCode;
    }
    const int nCode = NearestBandwidthCode(filter.dQ);
    changes.Note(kTxtQ, filter.dQ, QTableEntry(nCode), "");
    return nCode;
}

MappedBand MapFilter(const RoomFilter& filter, CRoomNotes& notes)
{
    Changes changes;
    MappedBand band;
    int nFreq = std::clamp(static_cast<int>(std::lround(filter.dFreq)), kMinFreq, kMaxFreq);
    if (filter.kind == RoomFilterKind::Peaking) {
        band.nBandwidthCode = BandwidthCodeOf(filter, changes);
    } else {
        band.nShelfMode = ShelfMode(filter, changes);
        band.nBandwidthCode = kFlatBandwidthCode;
        nFreq = band.nShelfMode <= 2 ? std::min(nFreq, kShelfHinge) : std::max(nFreq, kShelfHinge);
    }
    changes.Note(kTxtStepFrequency, filter.dFreq, nFreq, " Hz");
    band.nFreq = nFreq;
    band.nGainCode = GainToCode(filter.dGain);
    changes.Note(kTxtStepGain, filter.dGain, CodeToGain(band.nGainCode), " dB");
    changes.Flush(filter, notes);
    return band;
}

void SkipNote(const RoomFilter& filter, CRoomNotes& notes)
{
    if (filter.kind == RoomFilterKind::None)
        return;  // an unused slot of the program, nothing to tell
    if (!filter.bOn)
        notes.Add(RoomLinePrefix(filter.nLine) + KindName(filter) +
                        Say(kTxtMapSwitchedOff));
    else
        notes.Add(RoomLinePrefix(filter.nLine) + KindName(filter) +
                        Say(kTxtMapNoSuchFilter));
}

void ApplyBand(CFilter& band, const MappedBand* pMapped)
{
    if (!pMapped) {
        band.SetShelfMode(0);
        band.SetGainCode(kGainCodeZero);  // a 0.0 dB band is bypassed
        return;
    }
    band.SetShelfMode(pMapped->nShelfMode);
    band.SetFrequency(pMapped->nFreq, true);
    band.SetBandwidthCode(pMapped->nBandwidthCode);
    band.SetGainCode(pMapped->nGainCode);
}

}  // namespace

int NearestBandwidthCode(double dQ)
{
    int nBest = 0;
    for (int i = 1; i <= kBandwidthCodeMax; ++i)
        if (std::abs(QTableEntry(i) - dQ) < std::abs(QTableEntry(nBest) - dQ))
            nBest = i;
    return nBest;
}

FilterMapping MapFilterSet(const FilterSet& set)
{
    FilterMapping mapping;
    mapping.notes = set.notes;
    if (set.bHasPreamp && set.dPreamp != 0.0)
        mapping.notes.Add(Say(kTxtMapPreamp, {RoomNumberText(set.dPreamp)}));
    for (const RoomFilter& filter : set.filters) {
        if (filter.IsUsable() && mapping.bands.size() < static_cast<std::size_t>(kGraphicBands))
            mapping.bands.push_back(MapFilter(filter, mapping.notes));
        else if (!filter.IsUsable())
            SkipNote(filter, mapping.notes);
    }
    return mapping;
}

RoomFilter FilterOfMappedBand(const MappedBand& band)
{
    RoomFilter filter;
    filter.bOn = true;
    filter.kind = band.nShelfMode == 0   ? RoomFilterKind::Peaking
                  : band.nShelfMode <= 2 ? RoomFilterKind::LowShelf
                                         : RoomFilterKind::HighShelf;
    filter.dFreq = band.nFreq;
    filter.dGain = CodeToGain(band.nGainCode);
    if (band.nShelfMode == 0)
        filter.dQ = QTableEntry(band.nBandwidthCode);
    else
        filter.dSlope = band.nShelfMode % 2 == 1 ? 6.0 : 12.0;
    return filter;
}

std::string MappedBandText(int nBand, const MappedBand& band)
{
    static const char* const kShelves[] = {"PK", "LS 6dB", "LS 12dB", "HS 6dB", "HS 12dB"};
    std::string strLine = Say(kTxtMapBand, {std::to_string(nBand + 1)}) +
                          kShelves[std::clamp(band.nShelfMode, 0, 4)] + ' ' + std::to_string(band.nFreq) +
                          " Hz " + RoomNumberText(CodeToGain(band.nGainCode)) + " dB";
    if (band.nShelfMode == 0)
        strLine += " Q " + RoomNumberText(QTableEntry(band.nBandwidthCode));
    return strLine;
}

std::vector<RoomFilter> FiltersOfBands(const CKTVEQ& eq)
{
    std::vector<RoomFilter> filters;
    for (int i = 0; i < eq.BandCount(); ++i) {
        const CFilter& band = eq[i];
        if (band.IsEffectivelyBypassed() || band.GetGain() == 0.0)
            continue;
        RoomFilter filter;
        filter.bOn = true;
        filter.kind = band.GetKind() == kLowShelf    ? RoomFilterKind::LowShelf
                      : band.GetKind() == kHighShelf ? RoomFilterKind::HighShelf
                                                     : RoomFilterKind::Peaking;
        filter.dFreq = band.GetFrequency();
        filter.dGain = band.GetGain();
        filter.dQ = QTableEntry(band.GetBandwidthCode());
        filter.dSlope = band.GetSlope() == 0 ? 6.0 : 12.0;
        filters.push_back(filter);
    }
    return filters;
}

void ApplyFilterMapping(CKTV_OutData& out, const FilterMapping& mapping)
{
    out.SetEqMode(0);
    std::vector<CKTV_OutData*> records{&out};
    for (const int k : out.State().LinkedOutputs(out.GetChannel()))
        if (out.State().m_pLinkOutput[k])
            records.push_back(out.State().m_pLinkOutput[k]);
    for (CKTV_OutData* pRecord : records) {
        for (int i = 0; i < pRecord->EQ().BandCount(); ++i) {
            const auto n = static_cast<std::size_t>(i);
            ApplyBand(pRecord->EQ()[i], n < mapping.bands.size() ? &mapping.bands[n] : nullptr);
        }
    }
}
