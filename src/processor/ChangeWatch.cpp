#include "ChangeWatch.h"

#include <cstring>

#include "KTV_Data.h"

namespace {

bool SameValues(const CFilter::Values& a, const CFilter::Values& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <size_t N>
bool SameValues(const std::array<CFilter::Values, N>& a, const std::array<CFilter::Values, N>& b)
{
    for (size_t i = 0; i < N; ++i)
        if (!SameValues(a[i], b[i]))
            return false;
    return true;
}

}  // namespace

CChangeWatch::CChangeWatch(CKTV_Data& data) : m_seen(Capture(data, false)) {}

CChangeWatch::Seen CChangeWatch::Capture(CKTV_Data& data, bool bConnected)
{
    CProcessorState& state = data.State();
    ModelLock lock(state.m_csModel);
    Seen seen;
    for (int k = 0; k < kOutputs; ++k) {
        const CKTV_OutData& out = data.Output(k);
        Output& o = seen.outputs[static_cast<size_t>(k)];
        o.nLevel = out.GetLevel();
        o.nMute = out.GetMute();
        o.nPolarity = out.GetPolarity();
        for (int b = 0; b < kGraphicBands && b < out.EQ().BandCount(); ++b)
            o.bands[static_cast<size_t>(b)] = out.EQ()[b].GetValues();
        o.crossover = {out.EQ().HighPass().GetValues(), out.EQ().LowPass().GetValues()};
    }
    seen.delays.assign(state.m_DelayTable, state.m_DelayTable + kDelayTableSize);
    seen.system.assign(state.m_SysBytes, state.m_SysBytes + sizeof state.m_SysBytes);
    seen.system.insert(seen.system.end(), state.m_ControlBlock, state.m_ControlBlock + kControlSize);
    std::vector<uint8_t> music(static_cast<size_t>(data.Music().GroupCount() * kGroupSize));
    data.Music().FillBlock(music.data());
    seen.system.insert(seen.system.end(), music.begin(), music.end());
    for (int n = 1; n <= kScenePrograms; ++n)
        seen.programs[static_cast<size_t>(n - 1)] = BytesToName(state.SceneEntry(n), kNameSize);
    seen.strScene = BytesToName(state.m_LiveImage + kOffSceneName, kNameSize);
    seen.bConnected = bConnected && state.m_bOnline.load() != 0;
    return seen;
}

std::vector<ChangeEvent> CChangeWatch::Update(CKTV_Data& data, bool bConnected, ChangeSource source)
{
    Seen now = Capture(data, bConnected);
    std::vector<ChangeEvent> events;
    const auto note = [&](bool bChanged, ChangeKind kind, int nOutput = -1, int nBand = -1) {
        if (bChanged)
            events.push_back({kind, source, nOutput, nBand});
    };
    for (int k = 0; k < kOutputs; ++k) {
        const Output& was = m_seen.outputs[static_cast<size_t>(k)];
        const Output& is = now.outputs[static_cast<size_t>(k)];
        note(was.nLevel != is.nLevel, ChangeKind::kOutputLevel, k);
        note(was.nMute != is.nMute, ChangeKind::kOutputMute, k);
        note(was.nPolarity != is.nPolarity, ChangeKind::kOutputPolarity, k);
        for (int b = 0; b < kGraphicBands; ++b)
            note(!SameValues(was.bands[static_cast<size_t>(b)], is.bands[static_cast<size_t>(b)]), ChangeKind::kBand, k, b);
        note(!SameValues(was.crossover, is.crossover), ChangeKind::kCrossover, k);
    }
    note(m_seen.delays != now.delays, ChangeKind::kDelays);
    note(m_seen.system != now.system, ChangeKind::kSystem);
    note(m_seen.programs != now.programs, ChangeKind::kProgramNames);
    note(m_seen.strScene != now.strScene, ChangeKind::kSceneName);
    note(m_seen.bConnected != now.bConnected, ChangeKind::kConnection);
    m_seen = std::move(now);
    return events;
}
