// What one step of the edit history changed, for its name ("CH3 level",
// "CH1 band 5 gain"): found by comparing the states before and after.
#pragma once

class CKTV_Data;
class CLiveSnapshot;

struct StepSubject {
    enum class Part {
        None,       // nothing changed
        Band,       // nBand, nField: the first differing value (CFilter::Values order)
        HighPass,
        LowPass,
        Equalizer,  // several bands or filters of one output
        Level,
        Mute,
        Polarity,
        EqMode,
        Mix,
        Limiter,
        Name,
        Music,
        Links,
        Delays,
        Source,
        Several,    // more than one of the above
    };
    Part part = Part::None;
    int nChannel = -1;  // output 0 … 5, or -1
    int nBand = -1;
    int nField = -1;

    bool operator==(const StepSubject&) const = default;

    // Outputs of one link group changed alike count as the first of them.
    static StepSubject Between(CKTV_Data& data, const CLiveSnapshot& before, const CLiveSnapshot& after);
};
