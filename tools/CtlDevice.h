// One conversation with the processor for a zr470ctl command, in the
// editor's order: connect, identification, full read of the live settings,
// then the command's own work, then wait until every queued frame and
// every marked edit has gone out, then disconnect.
//
// The command's thread plays the editor's user-interface thread: it owns
// this object, and every wait hands the notifications posted by the link
// to the session (the posting sink is this object's queue while it lives).
//
// Threads: one thread, the command's.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "EditLedger.h"
#include "LinkSession.h"
#include "NotifyQueue.h"

class CProcessor;

class CCtlDevice {
public:
    // A generous bound for any single wait: the link itself gives up far
    // sooner on a processor that stops answering.
    static constexpr int kWaitMs = 60000;

    explicit CCtlDevice(CProcessor& processor);
    ~CCtlDevice();
    CCtlDevice(const CCtlDevice&) = delete;
    CCtlDevice& operator=(const CCtlDevice&) = delete;

    // Connect to "usb", "tcp:HOST:PORT" or "virtual" and complete the full
    // read and its follow-up sends. False when the link failed (Failure()).
    bool Open(const std::string& strDevice);
    // Waits until nothing but the idle level poll is queued and no edit is
    // marked. False when the link failed or the time ran out. On success
    // every recorded edit is confirmed and the record starts again.
    bool Drain();
    // Applies an edit of the model and notes what it changed, so that a lost
    // link can tell whether the processor confirmed it.
    void RecordEdit(const CEditLedger::Edit& edit, const std::function<void()>& apply);
    // The recorded edits the processor did not confirm (after a failure).
    std::vector<CEditLedger::Edit> Unconfirmed();
    bool IsLost() const { return m_bLost; }
    // Waits until Seen(nMsg, nLParam) reaches nCount.
    bool WaitForNotification(int nMsg, int nLParam, int nCount);
    bool WaitFor(const std::function<bool()>& bDone);
    void Close();

    // How often nMsg (with lParam nLParam, any when negative) was seen so far.
    int Seen(int nMsg, int nLParam) const;
    CLinkSession& Session() { return m_session; }
    CProcessor& Processor() { return m_processor; }
    // One line: the system's messages and what the link reported.
    std::string Failure() const;
    // Messages the session showed on the way (on success: warnings).
    const std::vector<std::string>& Messages() const { return m_messages; }

private:
    bool IdentificationRejected() const;

    CProcessor& m_processor;
    CLinkSession& m_session;
    CNotifyQueue m_queue;
    INotifySink* m_pPreviousSink;
    CEditLedger m_ledger;
    std::vector<std::string> m_messages;
    std::vector<PostedNotification> m_seen;
    std::string m_strDetail;
    std::string m_strDescription;  // the opened link, for messages after it closed
    bool m_bLost = false;
};
