// One synchronous conversation with a processor, in the editor's order:
// connect, identification, full read of the live settings, then the
// caller's own work, then wait until every queued frame and every marked
// edit has gone out, then disconnect. A zr470ctl command holds one; a venue
// operation holds one per room, each on its own thread.
//
// The owning thread plays the editor's user-interface thread: it owns this
// object, and every wait hands the notifications posted by the link to the
// session (the posting sink is this object's queue while it lives).
//
// Threads: one thread, the owner's; the stop flag may be set from any.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "EditLedger.h"
#include "LinkSession.h"
#include "NotifyQueue.h"

class CProcessor;

class CProcessorConversation {
public:
    // A generous bound for any single wait: the link itself gives up far
    // sooner on a processor that stops answering.
    static constexpr int kWaitMs = 60000;

    // bStop (when given) ends every wait at once, as a failure: a
    // user's Cancel or Ctrl+C.
    explicit CProcessorConversation(CProcessor& processor, const std::atomic<bool>* pStop = nullptr);
    ~CProcessorConversation();
    CProcessorConversation(const CProcessorConversation&) = delete;
    CProcessorConversation& operator=(const CProcessorConversation&) = delete;

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
    // Whether a wait ended because the stop flag was set.
    bool WasStopped() const { return m_bStopped; }
    // Waits until Seen(nMsg, nLParam) reaches nCount.
    bool WaitForNotification(int nMsg, int nLParam, int nCount);
    bool WaitFor(const std::function<bool()>& bDone);
    void Close();

    // ---- preset files to and from the processor, waited for ----------------------
    enum class Sent { kDone, kRefused, kLinkFailed };  // kRefused: the file, nothing sent
    // A checked scene file's bytes, titled strTitle, written to the live
    // settings; returns once the processor answered the blocks and the
    // closing mute bracket.
    Sent SendSceneFile(std::span<const uint8_t> bytes, const std::string& strTitle);
    // A checked all-scenes file written to the processor, answered.
    Sent SendAllScenesFile(std::span<const uint8_t> bytes);
    // Reads programs 1 … 10 from the processor into the model; false when
    // the link failed (or the wait was stopped).
    bool ReadAllScenes();

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
    const std::atomic<bool>* m_pStop;
    bool m_bStopped = false;
};
