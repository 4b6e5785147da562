// What the processor holds as far as its answers tell: the live settings it
// sent in the last full read (or recall), with every write it acknowledged
// since laid over them. Nothing is guessed for a frame that was sent but not
// acknowledged: the processor may or may not have applied it.
//
// Threads: the session keeps one under the comm lock (the link thread
// acknowledges, the user-interface thread resets and copies).
#pragma once

#include <cstdint>

#include "VirtualImages.h"
#include "WireState.h"

class CProcessorState;

// What a write of the live settings does to them, as the processor applies
// it: the image addressed as the processor addresses it, the delay table
// and the control block. False, and nothing changed, for any other frame
// (a program's, a single system byte, a read), which the caller reads back
// instead. The frame as sent, from its sync bytes.
bool ApplyLiveWrite(CVirtualImages& images, uint8_t* pDelayTable, uint8_t* pControl, const uint8_t* pFrame,
                    int nLength);

class CConfirmedState {
public:
    // The processor's live settings just read: the live image, the delay
    // table and the control block as they arrived.
    void Reset(CProcessorState& state);
    // A frame the processor acknowledged; only writes of the live state count.
    void Acknowledge(const uint8_t* pFrame, int nLength);
    WireState Bytes() const;

private:
    CVirtualImages m_images;  // the live image; addressed as the processor addresses it
    uint8_t m_delayTable[kDelayTableSize] = {};
    uint8_t m_control[kControlSize] = {};
};
