// What a processor tells its subscribers: what changed and where the change
// came from, whatever made it (an edit, a recall, a file load, the full read
// after connecting, or the link).
//
// Threads: a subscriber is told on the processor's owning thread, inside the
// call that made the change. One that lives on another thread subscribes a
// CChangeQueue and takes the events from it there.
#pragma once

// kLink: the link ended, or a frame the processor sent on its own (another
// client's edit) changed the model.
enum class ChangeSource { kEdit, kRecall, kFileLoad, kFullRead, kLink };

enum class ChangeKind {
    kOutputLevel,     // nOutput
    kOutputMute,      // nOutput
    kOutputPolarity,  // nOutput
    kBand,            // nOutput, nBand (0 … 30)
    kCrossover,       // nOutput
    kDelays,          // the delay table and the listening position
    kSystem,          // the system items, the control block and the music channel
    kProgramNames,    // the names of programs 1 … 10
    kSceneName,
    kConnection,      // connected and fully read, or not
};

struct ChangeEvent {
    ChangeKind kind;
    ChangeSource source;
    int nOutput = -1;
    int nBand = -1;
    bool operator==(const ChangeEvent&) const = default;
};

class IChangeSubscriber {
public:
    virtual ~IChangeSubscriber() = default;
    virtual void OnChange(const ChangeEvent& event) = 0;
};
