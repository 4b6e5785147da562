#include "StepSubject.h"

#include <cstring>
#include <vector>

#include "GlobalData.h"
#include "KTV_Data.h"
#include "LiveSnapshot.h"

namespace {

using Part = StepSubject::Part;
constexpr int kFilterBytes = CLiveSnapshot::kFilterBytes;

bool Differs(const uint8_t* a, const uint8_t* b, int nSize)
{
    return std::memcmp(a, b, static_cast<size_t>(nSize)) != 0;
}

// The one filter that changed names the step; more than one is the set.
std::vector<StepSubject> FilterSubjects(CChannelRecord& record, const uint8_t* a, const uint8_t* b, int nChannel)
{
    const int nBlock = record.GroupCount() * kGroupSize;
    std::vector<int> changed;
    for (int i = 0; i < record.EQ().GetSize(); ++i) {
        if (Differs(a + nBlock + i * kFilterBytes, b + nBlock + i * kFilterBytes, kFilterBytes))
            changed.push_back(i);
    }
    if (changed.empty())
        return {};
    if (changed.size() > 1)
        return {{Part::Equalizer, nChannel}};
    const int nFilter = changed.front();
    if (nFilter >= record.EQ().BandCount())
        return {{nFilter == record.EQ().BandCount() ? Part::HighPass : Part::LowPass, nChannel}};
    const int nOffset = nBlock + nFilter * kFilterBytes;
    int nField = 0;
    while (!Differs(a + nOffset + 2 * nField, b + nOffset + 2 * nField, 2))
        ++nField;
    return {{Part::Band, nChannel, nFilter, nField}};
}

StepSubject OutputSubject(CKTV_OutData& out, const uint8_t* a, const uint8_t* b)
{
    const int nChannel = out.GetChannel();
    std::vector<StepSubject> found = FilterSubjects(out, a, b, nChannel);
    struct Field {
        int nOffset;
        int nSize;
        Part part;
    };
    static constexpr Field kFields[] = {
        {CKTV_OutData::kOffLevel, 2, Part::Level},
        {CKTV_OutData::kOffMute, 1, Part::Mute},
        {CKTV_OutData::kOffPolarity, 1, Part::Polarity},
        {CKTV_OutData::kOffEqMode, 1, Part::EqMode},
        {CKTV_OutData::kOffInL, 2, Part::Mix},
        {CKTV_OutData::kOffThreshold, 4, Part::Limiter},
        {CKTV_OutData::kGroupName * kGroupSize, kGroupSize, Part::Name},
    };
    for (const Field& field : kFields) {
        if (Differs(a + field.nOffset, b + field.nOffset, field.nSize))
            found.push_back({field.part, nChannel});
    }
    if (found.empty())
        return {};
    if (found.size() == 1)
        return found.front();
    // A mode conversion changes the mode and the bands together.
    for (const StepSubject& subject : found) {
        if (subject.part != Part::Band && subject.part != Part::Equalizer && subject.part != Part::EqMode &&
            subject.part != Part::HighPass && subject.part != Part::LowPass)
            return {Part::Several};
    }
    return {Part::Equalizer, nChannel};
}

bool SameButChannel(const StepSubject& x, const StepSubject& y)
{
    return x.part == y.part && x.nBand == y.nBand && x.nField == y.nField;
}

}  // namespace

StepSubject StepSubject::Between(CKTV_Data& data, const CLiveSnapshot& before, const CLiveSnapshot& after)
{
    const uint8_t* a = before.Bytes().data();
    const uint8_t* b = after.Bytes().data();
    const size_t nGlobals = before.GlobalsOffset();
    if (before.Bytes().size() != after.Bytes().size())
        return {Part::Several};
    if (Differs(a + nGlobals, b + nGlobals, kOutputs))
        return {Part::Links};  // a link copies the sound along with it
    std::vector<StepSubject> found;
    const int nMusicBytes = CLiveSnapshot::RecordOffset(data, 1);
    if (Differs(a, b, nMusicBytes))
        found.push_back({Part::Music});
    for (int k = 0; k < kOutputs; ++k) {
        const int nOffset = CLiveSnapshot::RecordOffset(data, k + 1);
        const StepSubject subject = OutputSubject(data.Output(k), a + nOffset, b + nOffset);
        if (subject.part != Part::None)
            found.push_back(subject);
    }
    if (Differs(a + nGlobals + kOutputs, b + nGlobals + kOutputs, kDelayTableSize))
        found.push_back({Part::Delays});
    if (Differs(a + nGlobals + kOutputs + kDelayTableSize, b + nGlobals + kOutputs + kDelayTableSize, kControlSize))
        found.push_back({Part::Source});
    if (found.empty())
        return {};
    for (const StepSubject& subject : found) {
        if (!SameButChannel(subject, found.front()))
            return {Part::Several};
    }
    return found.front();
}
