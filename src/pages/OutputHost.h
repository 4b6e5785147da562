// What the output page needs from the main form: the whole-record write of
// one output and the equalizer reset of the selected output's link group.
// The main view implements it; page tests use a recording host.
#pragma once

class IOutputHost {
public:
    virtual ~IOutputHost() = default;
    // While connected: output k's record written whole (the whole-set
    // bypass travels this way); nothing when not connected.
    virtual void ResendOutputRecord(int nChannel) = 0;
    // Every band of the selected output and of its linked outputs back to
    // its standard centre, 0.2 octaves, 0.0 dB, bypassed; written whole
    // while connected.
    virtual void ResetEqualizers() = 0;
    // After the page changed the model (a band, the mode, the bypass): the
    // form tells the processor's other subscribers.
    virtual void AfterEdit() {}
};
