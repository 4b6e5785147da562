// One room's frames served on a TCP port (a frame port): the editor, or
// zr470ctl with --device tcp:HOST:PORT, talks to the room's processor
// through the service as if to the processor itself, on the wire of the
// tcp transport (every report as exactly its 64 data bytes, both ways).
//
// The client's frames join the room's own commands, one in flight on the
// room's link, and each answer goes back to the client. A write the
// processor acknowledged is applied to the room's state, told with source
// "editor"; after frames whose effect no single write tells (a recall, a
// store) the room is read again once they have stopped for a moment.
//
// One client at a time, as a processor serves one link: while one is
// served, another is accepted and closed at once, so that its link fails at
// once instead of waiting unanswered. No token: whoever reaches the port
// has the installer's access. A client that leaves mid-frame, sends
// garbage or floods is dropped and the port waits for the next one; the
// room's link goes on. While the room is offline the client's frames get
// no answer, as from an unplugged processor.
//
// Threads: Listen and Start from the owner's thread; the port serves on a
// thread of its own; the link's answers arrive on the room's communication
// thread and are handed over through a mailbox that outlives the port.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FrameIntake.h"
#include "TcpListen.h"

class CRoomWorker;

class CFramePort {
public:
    explicit CFramePort(CRoomWorker& room);
    ~CFramePort();
    CFramePort(const CFramePort&) = delete;
    CFramePort& operator=(const CFramePort&) = delete;

    // False with a message for the user.
    bool Listen(const std::string& strHost, int nPort, std::string* pError);
    int Port() const { return m_nPort; }
    void Start();

    struct Mailbox;

private:
    void Run();
    void Accept();
    // False when the client left or flooded.
    bool ReadClient();
    // False when the client stopped taking its answers.
    bool SendAnswers();
    void ForwardNext();
    void Forward(std::vector<uint8_t> frame);
    void DropClient();
    void ReadAgainWhenDue();

    CRoomWorker& m_room;
    std::shared_ptr<Mailbox> m_pBox;
    CFrameIntake m_intake;
    int m_nListenFd = -1;
    int m_nPort = 0;
    int m_nClientFd = -1;
    uint8_t m_record[kRecordSize] = {};
    int m_nHave = 0;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};
