// The command sequence of a firmware update and what its replies mean.
//
// Every firmware command is a system-item write (command 0xA1, kind 9)
// whose item byte is its step; the command object carries the step in
// m_nFirmwareStep and, except for the handshake, a progress number from 1
// in m_nProgressTag. Order: handshake; for a DSP image 54, 58 and the DSP
// chunks; for an MCU image 54 (only without a DSP image), 55 and the MCU
// chunks; then 57 with the checksum.
//
// Threads: the communication thread, under the comm lock (the state is shared
// with the receiver's progress hook, which runs there too).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "FirmwareFile.h"
#include "FirmwareFrames.h"
#include "SendData.h"


using FirmwareSink = std::function<void(std::unique_ptr<CSendData>)>;

// Queues the next commands (called whenever the queue is empty): the
// handshake alone; otherwise up to and including the next data chunk, and
// after the last chunk of the update also step 57. Returns how many were
// queued; 0 once everything has been queued.
int NextFirmwareCommand(CFirmwareUpdate& update, const FirmwareSink& add);
int NextFirmwareCommand(CFirmwareUpdate& update, std::deque<std::unique_ptr<CSendData>>& queue);

// A status label text in both languages; nullptr leaves the label as it
// is in that language.
struct FirmwareStatusText {
    const char* pEnglish = nullptr;
    const char* pChinese = nullptr;
};
FirmwareStatusText FirmwareStepStatus(int nReplyStep, bool bFirstOfSeries);

struct FirmwareReplyStatus {
    bool bAdvance = false;   // the progress bar moves one step
    FirmwareStatusText text;
    bool bFinished = false;  // the update is complete: post 1175 (lParam 57)
    // The label text in the chosen language; empty: leave the label.
    std::string Text(bool bChinese) const;
};

// One reply that passed its check, read by the progress hook before the
// reply is acted upon: nHeadStep the step of the queued command it
// answers, nCommand and nReplyStep the reply's command and item bytes.
// A resend request ('R') moves nothing: the command goes again. The update
// finishes only when the processor acknowledges the step that ends it: 57,
// or for a file without an MCU image its report of 60 on the last DSP chunk.
FirmwareReplyStatus OnFirmwareReply(CFirmwareUpdate& update, int nHeadStep, int nCommand, int nReplyStep);
