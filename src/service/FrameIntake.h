// What a frame port's client sends, record by record: its 64-byte records
// put together into whole frames for the room's link, and what is answered
// here without the link, as the processor would answer it.
//
//  - The firmware handshake report (not a frame) is taken and, as by the
//    processor, not answered.
//  - A frame that fails its check is answered with a resend request ('R').
//  - A firmware step is neither sent on nor answered: an update through
//    the service would restart the room's processor under its own link.
//    The client's update fails on its own time-out; it runs on the
//    processor itself.
//  - Anything but a read or a write is not a command a processor takes
//    from an editor: dropped, not answered.
//  - A client that sends more frames than kMaxWaiting ahead of their
//    answers floods: Take says so, and the port drops it.
//
// Threads: one at a time (the port's thread).
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "FrameAssembler.h"
#include "VirtualReply.h"

class CFrameIntake {
public:
    static constexpr size_t kMaxWaiting = 16;

    CFrameIntake();
    CFrameIntake(const CFrameIntake&) = delete;
    CFrameIntake& operator=(const CFrameIntake&) = delete;

    // One 64-byte record; false when the client floods.
    bool Take(const uint8_t* pRecord);
    // The next whole frame for the link, as sent (from its sync bytes);
    // false when none waits.
    bool NextFrame(std::vector<uint8_t>* pFrame);
    // The reports answered here, taken out in order.
    std::vector<Report64> TakeAnswers();
    // Back to hunting, nothing waiting (the client left).
    void Reset();

private:
    void OnFrame(const uint8_t* pFrame, int nLength, FrameCheck check);

    CFrameAssembler m_assembler;
    std::deque<std::vector<uint8_t>> m_frames;
    std::vector<Report64> m_answers;
};
