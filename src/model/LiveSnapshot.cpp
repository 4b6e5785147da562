#include "LiveSnapshot.h"

#include <cstring>
#include <string>

#include "DataDefine.h"
#include "GlobalData.h"
#include "KTV_Data.h"

namespace {

constexpr int kFilterBytes = CLiveSnapshot::kFilterBytes;
static_assert(kFilterBytes == CFilter::kValueCount * 2);

// The records in the order of the image: music, then the six outputs.
template <typename Fn>
void ForEachLiveRecord(CKTV_Data& data, Fn fn)
{
    fn(static_cast<CChannelRecord&>(data.Music()));
    for (int k = 0; k < kOutputs; ++k)
        fn(static_cast<CChannelRecord&>(data.Output(k)));
}

int RecordBytes(CChannelRecord& record)
{
    return record.GroupCount() * kGroupSize + record.EQ().GetSize() * kFilterBytes;
}

void PutValues(uint8_t* p, const CFilter::Values& v)
{
    const int fields[CFilter::kValueCount] = {v.nKind,      v.nFreq,           v.nGainCode,
                                              v.nBypass,    v.nAllBypass,      v.nSavedAllBypass,
                                              v.nBandwidthCode, v.nFilterType, v.nSlope};
    for (int i = 0; i < CFilter::kValueCount; ++i)
        PutWord(p + 2 * i, fields[i]);
}

CFilter::Values GetValues(const uint8_t* p)
{
    auto at = [p](int i) { return GetWord(p + 2 * i); };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7), at(8)};
}

void CaptureRecord(CChannelRecord& record, uint8_t* p)
{
    record.FillBlock(p);
    p += record.GroupCount() * kGroupSize;
    for (int i = 0; i < record.EQ().GetSize(); ++i)
        PutValues(p + i * kFilterBytes, record.EQ()[i].GetValues());
}

bool ApplyRecord(CChannelRecord& record, const uint8_t* pTarget)
{
    std::vector<uint8_t> current(static_cast<size_t>(RecordBytes(record)));
    CaptureRecord(record, current.data());
    if (std::memcmp(current.data(), pTarget, current.size()) == 0)
        return false;
    // The equalizer mode first: the bands are laid out for it.
    record.RestoreOwnGroups(pTarget);
    const int nBlock = record.GroupCount() * kGroupSize;
    for (int i = 0; i < record.EQ().GetSize(); ++i) {
        const int nOffset = nBlock + i * kFilterBytes;
        if (std::memcmp(current.data() + nOffset, pTarget + nOffset, kFilterBytes) != 0)
            record.EQ()[i].RestoreValues(GetValues(pTarget + nOffset));
    }
    const std::string strName = ChannelNameFromBlock(pTarget + nBlock - kGroupSize);
    if (strName != record.GetName())
        record.SetName(strName);
    record.RecomputeCurve();
    record.TestAllBypassed();
    return true;
}

// The globals after the records: link groups, delay table, control block,
// scene name.
constexpr int kGlobalBytes = kOutputs + kDelayTableSize + kControlSize + kNameSize;

void CaptureGlobals(CProcessorState& state, uint8_t* p)
{
    ModelLock lock(state.m_csModel);
    for (int k = 0; k < kOutputs; ++k)
        p[k] = static_cast<uint8_t>(state.m_nLinkGroup[k]);
    p += kOutputs;
    std::memcpy(p, state.m_DelayTable, kDelayTableSize);
    std::memcpy(p + kDelayTableSize, state.m_ControlBlock, kControlSize);
    std::memcpy(p + kDelayTableSize + kControlSize, state.m_LiveImage + kOffSceneName, kNameSize);
}

// Returns whether the control block changed.
bool ApplyGlobals(CProcessorState& state, const uint8_t* p, bool& bChanged)
{
    ModelLock lock(state.m_csModel);
    for (int k = 0; k < kOutputs; ++k) {
        if (state.m_nLinkGroup[k] != p[k]) {
            state.SetLinkGroup(k, p[k]);
            bChanged = true;
        }
    }
    p += kOutputs;
    if (std::memcmp(state.m_DelayTable, p, kDelayTableSize) != 0) {
        std::memcpy(state.m_DelayTable, p, kDelayTableSize);
        state.m_bDelayPresetChanged = state.m_bOnline.load();
        bChanged = true;
    }
    if (std::memcmp(state.m_ControlBlock, p + kDelayTableSize, kControlSize) == 0)
        return false;
    std::memcpy(state.m_ControlBlock, p + kDelayTableSize, kControlSize);
    bChanged = true;
    return true;
}

}  // namespace

CLiveSnapshot CLiveSnapshot::Capture(CKTV_Data& data)
{
    CLiveSnapshot snapshot;
    int nSize = kGlobalBytes;
    ForEachLiveRecord(data, [&](CChannelRecord& record) { nSize += RecordBytes(record); });
    snapshot.m_bytes.resize(static_cast<size_t>(nSize));
    uint8_t* p = snapshot.m_bytes.data();
    ForEachLiveRecord(data, [&](CChannelRecord& record) {
        CaptureRecord(record, p);
        p += RecordBytes(record);
    });
    CaptureGlobals(data.State(), p);
    return snapshot;
}

CLiveSnapshot::Applied CLiveSnapshot::ApplyTo(CKTV_Data& data) const
{
    Applied applied;
    const uint8_t* pGlobals = m_bytes.data() + m_bytes.size() - kGlobalBytes;
    // Links first: a setter shared with a link group then finds the groups
    // the state it brings back had.
    applied.bControlChanged = ApplyGlobals(data.State(), pGlobals, applied.bChanged);
    const uint8_t* p = m_bytes.data();
    ForEachLiveRecord(data, [&](CChannelRecord& record) {
        applied.bChanged = ApplyRecord(record, p) || applied.bChanged;
        p += RecordBytes(record);
    });
    return applied;
}

void CLiveSnapshot::ApplySceneName(CProcessorState& state) const
{
    ModelLock lock(state.m_csModel);
    std::memcpy(state.m_LiveImage + kOffSceneName, m_bytes.data() + m_bytes.size() - kNameSize, kNameSize);
}

int CLiveSnapshot::RecordOffset(CKTV_Data& data, int nRecord)
{
    int nOffset = 0;
    int nIndex = 0;
    ForEachLiveRecord(data, [&](CChannelRecord& record) {
        if (nIndex++ < nRecord)
            nOffset += RecordBytes(record);
    });
    return nOffset;
}

size_t CLiveSnapshot::GlobalsOffset() const
{
    return m_bytes.size() - kGlobalBytes;
}
