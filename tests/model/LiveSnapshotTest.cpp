#include <cstring>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "DelayTable.h"
#include "LiveSnapshot.h"
#include "ModelFixture.h"
#include "StepSubject.h"

namespace {

// One edit of the kinds the editor makes, chosen by the generator.
void RandomEdit(CKTV_Data& data, std::mt19937& rng)
{
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    CKTV_OutData& out = data.Output(pick(kOutputs));
    CFilter& band = out.EQ()[pick(out.EQ().BandCount())];
    switch (pick(14)) {
    case 0: out.SetLevel(pick(61)); break;
    case 1: out.SetMute(pick(2)); break;
    case 2: out.SetPolarity(pick(2)); break;
    case 3: band.SetGainCode(pick(401)); break;
    case 4: band.SetFrequency(20 + pick(19980), true); break;
    case 5: band.SetBandwidthCode(pick(40)); break;
    case 6: band.SetBypass(pick(2)); break;
    case 7: out.EQ().HighPass().SetFrequency(20 + pick(2000), true); break;
    case 8: out.SetThreshold(pick(361)); break;
    case 9: SetPositionDelay(data.State(), GetCurrentPosition(data.State()), pick(kOutputs), pick(1900)); break;
    case 10: data.Music().SetNoiseGate(pick(101)); break;
    case 11: out.SetEqMode(pick(2)); break;
    case 12: band.SetShelfMode(pick(5)); break;
    default: {
        // Linking copies the other output's sound, as the link dialogs do.
        const int nOther = pick(kOutputs);
        data.State().SetLinkGroup(out.GetChannel(), data.State().m_nLinkGroup[nOther]);
        out.CopyFrom(data.Output(nOther));
    }
    }
}

// The groups written, in order; a frequency raised by more than an octave
// is written once per octave, which counts as one change here.
std::vector<std::tuple<int, int, int, int>> DrainChanges(CKTV_Data& data)
{
    std::vector<std::tuple<int, int, int, int>> changes;
    while (auto change = data.NextChange()) {
        const auto address = std::make_tuple(change->nKind, change->nChannel, change->nGroup, change->nItem);
        if (changes.empty() || changes.back() != address)
            changes.push_back(address);
    }
    return changes;
}

}  // namespace

using LiveSnapshotTest = ModelTest;

TEST_F(LiveSnapshotTest, UndoingEveryEditRestoresTheBytesAndRedoingReturnsToTheEnd)
{
    std::mt19937 rng(470);
    std::vector<CLiveSnapshot> states{CLiveSnapshot::Capture(Data())};
    for (int i = 0; i < 200; ++i) {
        RandomEdit(Data(), rng);
        states.push_back(CLiveSnapshot::Capture(Data()));
    }
    for (size_t i = states.size() - 1; i-- > 0;)
        states[i].ApplyTo(Data());
    EXPECT_EQ(CLiveSnapshot::Capture(Data()).Bytes(), states.front().Bytes());
    for (size_t i = 1; i < states.size(); ++i)
        states[i].ApplyTo(Data());
    EXPECT_EQ(CLiveSnapshot::Capture(Data()).Bytes(), states.back().Bytes());
}

TEST_F(LiveSnapshotTest, AnUndoMarksExactlyTheGroupsTheEditChanged)
{
    State().m_bOnline = 1;
    DrainChanges(Data());
    const CLiveSnapshot before = CLiveSnapshot::Capture(Data());
    State().SetLinkGroup(3, 2);
    Data().Output(2).SetLevel(17);  // shared with output 3
    Data().Output(4).EQ()[5].SetGainCode(300);
    Data().Output(1).EQ().LowPass().SetFrequency(9000, true);
    SetPositionDelay(State(), GetCurrentPosition(State()), 0, 500);
    State().m_bDelayPresetChanged = 1;
    const auto edit = DrainChanges(Data());
    ASSERT_FALSE(edit.empty());
    before.ApplyTo(Data());
    EXPECT_EQ(DrainChanges(Data()), edit);
    EXPECT_EQ(CLiveSnapshot::Capture(Data()), before);
}

TEST_F(LiveSnapshotTest, AStepIsNamedAfterWhatItChanged)
{
    auto subjectOf = [this](const std::function<void()>& edit) {
        const CLiveSnapshot before = CLiveSnapshot::Capture(Data());
        edit();
        return StepSubject::Between(Data(), before, CLiveSnapshot::Capture(Data()));
    };
    State().SetLinkGroup(3, 2);
    const StepSubject level = subjectOf([this] { Data().Output(2).SetLevel(17); });
    EXPECT_EQ(level, (StepSubject{StepSubject::Part::Level, 2}));
    const StepSubject gain = subjectOf([this] { Data().Output(4).EQ()[5].SetGainCode(300); });
    EXPECT_EQ(gain, (StepSubject{StepSubject::Part::Band, 4, 5, 2}));
    const StepSubject both = subjectOf([this] {
        Data().Output(0).SetMute(1);
        Data().Music().SetNoiseGate(7);
    });
    EXPECT_EQ(both.part, StepSubject::Part::Several);
}
