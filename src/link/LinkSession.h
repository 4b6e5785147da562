// The device side of the main view: opens and closes the link, runs the
// communication thread, checks the identification, reads the live settings
// after connecting, and offers the fixed command sequences that move scenes
// between the PC and the processor. The view (or zr470ctl, or a test) owns
// one and feeds it the notifications posted to its sink.
//
// Threads: every public member is for the user-interface thread, except
// UsbTransferCycle and FirmwareCycle, which the communication thread runs.
// The transport and the last error change on the communication thread too
// (the processor's restart during an update), so both are read and
// replaced only under m_transportMutex; the communication thread, the one
// writer while transfers run, uses its transport without that lock.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <functional>
#include <memory>
#include <string>

#include "CommThread.h"
#include "ConfirmedState.h"
#include "FirmwareFile.h"
#include "KTVCommand.h"
#include "LinkTexts.h"
#include "Transport.h"

class CKTV_Data;
class CProcessorState;

constexpr const char* kExpectedIdentification = "SVH1-WV1.00";
constexpr int kIdentificationPrefix = 8;      // "SVH1-WV1": firmware family and major version

class CLiveSnapshot;

class CLinkSession {
public:
    explicit CLinkSession(CKTV_Data& data);
    ~CLinkSession();
    CLinkSession(const CLinkSession&) = delete;
    CLinkSession& operator=(const CLinkSession&) = delete;

    // ---- connecting -----------------------------------------------------------
    // Starts the identification read on an opened transport. Without one
    // (the open failed) the link-failure message is shown and strOpenError
    // is kept in LastError().
    bool Connect(std::unique_ptr<ITransport> pTransport, const std::string& strOpenError = {});
    // The Connect button while connected: stop, a 500 ms pause, close.
    void Disconnect(int nPauseMs = 500);
    bool IsConnected() const { return m_bConnected; }
    std::string LastError() const;
    std::string DeviceDescription() const;

    // A notification taken from the sink, on the user-interface thread.
    void HandleNotification(int nMsg, intptr_t wParam, intptr_t lParam);

    // ---- command sequences (queued under the comm lock, return at once) -----------
    void RequestDeviceInfo(bool bAll);
    bool ReadScene(int nPreset);
    bool WriteScene(int nPreset, bool bFromModel);
    bool ReadAllScenes();
    bool WriteAllScenes();
    // bSingleProgress: the block write alone closes a progress display.
    void ResendOutputRecord(int nChannel, bool bSingleProgress);
    void SendSystemItem(int nItem, int nPreset);
    // While connected: output k's block brought up to date in the live image
    // and written whole (links, equalizer resets).
    void WriteOutputBlock(int nChannel);
    // A whole frame from another client of this processor (a frame port),
    // as it was sent, from its sync bytes: queued with the session's own
    // commands, one in flight, its answer handed to onAnswer on the
    // communication thread instead of into the model. False (nothing
    // queued) without a link.
    bool RelayFrame(const uint8_t* pFrame, int nLength, std::function<void(const uint8_t*, int)> onAnswer);
    // The live scene name goes to the processor with the next transfer cycle.
    void MarkSceneNameForSending();
    // A name from a file: at most 13 characters into the live name.
    void SetSceneName(const std::string& strName);
    // The edit history's undo of a recall or a file load: the model brought
    // back to a state and, while connected, that state written whole inside
    // the mute bracket as a file load writes it (delay table and control
    // block as system items). False when nothing could be sent.
    bool RestoreLiveState(const CLiveSnapshot& state);

    // ---- firmware update -------------------------------------------------------------
    using TransportOpener = std::function<std::unique_ptr<ITransport>(std::string* pError)>;
    // Pauses of the loader protocol; tests shorten them.
    struct FirmwareTiming {
        int nHandshakeMs = 1000;   // the handshake pattern is repeated this long
        int nAfterHandshakeMs = 2000;
        int nRestartMs = 3000;     // after step 54 the processor restarts into its loader
        int nSearchMs = 10000;     // how long FirmwareConnect looks for the processor
    };
    FirmwareTiming m_firmwareTiming;
    // Stops normal transfers and hands the update to the communication
    // thread, which looks for the processor (opener, every 50 ms up to the
    // search time, "Searching......") and then runs it. Returns at once;
    // false only while an update is already running. A processor that is
    // not found ends in notification 1178 and the link-failure message.
    bool StartFirmwareUpdate(CFirmwareUpdate update, TransportOpener opener);
    // The update dialog closed during a transfer: a failure, unless the
    // processor had already confirmed the end.
    void CancelFirmwareUpdate();
    // Ends an update whose dialog is gone, without a message.
    void LeaveFirmwareMode();
    bool IsFirmwareMode() const { return m_bFirmwareMode; }
    bool IsSearching() const { return m_bSearching; }
    int FirmwareProgress() const { return m_nFirmwareProgress; }
    // Neither waits for the comm lock, which a cycle holds through a whole erase.
    int FirmwareRange() const { return m_nFirmwareRange; }
    // The status label's text (in the language of the moment it was set).
    std::string FirmwareStatus() const;
    // Communication thread. False once there is nothing to do until the
    // user-interface thread acts: the update finished, failed or is cancelled.
    bool FirmwareCycle();

    // ---- state for the view -----------------------------------------------------
    int ProgressRange() const { return m_nTransferCounter; }
    int ProgressPos() const { return m_cmd.m_nProgressPos; }
    CKTVCommand& Command() { return m_cmd; }
    CKTV_Data& Data() { return m_data; }
    CProcessorState& State() const { return m_state; }
    int CyclesRun() const { return m_thread.CyclesRun(); }
    bool IsCommThreadAlive() const { return m_thread.IsAlive(); }
    // True while frames other than the idle level-meter poll are queued or
    // any edit is still marked for sending.
    bool HasPendingWork();
    // What the processor held at the last full read or recall, with every
    // write it acknowledged since; kept after the link ends, so that a
    // front end can tell which edits never reached it.
    WireState ConfirmedWireState();

    std::atomic<int> m_bUsbActive{0};        // transfers enabled; read and write loops end when cleared
    std::atomic<int> m_bTransferRunning{0};  // a batch is in progress (the progress window blinks)

    // The processor's hooks, on the user-interface thread: a read of the live
    // settings has been loaded into the model (preset 0 after connecting,
    // else the program recalled), and the link has ended.
    std::function<void(int nPreset)> m_onLiveRead;
    std::function<void()> m_onLinkEnded;

    // Texts for the user (message boxes); set by the view.
    std::function<void(const std::string&, MessageKind)> m_onMessage;

    // ---- transfer control and the cycle ----------------------------------------
    void StartTransfers();
    void StopTransfers();
    // Shutdown: closes an open link and ends the communication thread.
    void EndCommThread();
    void UsbTransferCycle();  // communication thread, under the comm lock

private:
    // The live image from the model, its scene records' marks cleared.
    void FillSceneFromModel();
    void NormalCycle();
    void CloseUsbLink();
    void ReplaceTransport(std::unique_ptr<ITransport> pTransport);
    bool HasTransport() const;
    void SetLastError(const std::string& strError);
    void FailLink();
    void ShowMessage(const std::string& strText, MessageKind kind = MessageKind::kNotice);
    void ShowLinkFailure();
    void CheckIdentification();
    void OnSceneReadComplete(int nPreset);
    void PostFailureOnce();
    // One report within nTimeoutMs; false after posting the failure, or
    // without posting it when the device left and bRemovalExpected.
    bool ReadReply(uint8_t* pReport, int nTimeoutMs, bool bRemovalExpected = false, bool* pGone = nullptr);
    void QueueBatch(std::unique_ptr<CSendData> pFrame, bool bAdvance = true);
    void QueueMuteBracket(bool bStart, bool bEndMark);
    void StartProgress();
    void SetFirmwareStatus(const std::string& strText);
    void OnFirmwareReply(const CSendData& head);
    void SendHandshake();
    bool ReadFirmwareReply(int nStep, std::chrono::steady_clock::time_point start);
    bool SearchForProcessor();
    void ReopenAfterRestart();
    bool FirmwareCycleStopped() const;
    bool AfterFirmwareReply(int nStep);
    void FinishFirmwareUpdate();
    bool FirmwareConfirmed() const;

    CKTV_Data& m_data;
    CProcessorState& m_state;
    CKTVCommand m_cmd;
    CConfirmedState m_confirmed;  // under the comm lock
    CCommThread m_thread;
    mutable std::mutex m_transportMutex;  // guards m_pTransport changes and m_strLastError
    std::unique_ptr<ITransport> m_pTransport;
    std::atomic<bool> m_bConnected{false};
    std::atomic<bool> m_bFailurePosted{false};
    std::atomic<bool> m_bFirmwareMode{false};
    std::atomic<bool> m_bFirmwareCancel{false};
    bool m_bIdentifying = false;  // the connect's identification read is outstanding
    std::atomic<int> m_nFirmwareStep{0};      // step of the frame in transfer (removal rule)
    std::atomic<int> m_nFirmwareProgress{0};
    std::atomic<int> m_nFirmwareRange{0};
    // The communication thread is still looking for the processor; set and
    // the deadline written before transfers start, cleared by that thread.
    std::atomic<bool> m_bSearching{false};
    std::chrono::steady_clock::time_point m_searchDeadline;
    std::unique_ptr<CFirmwareUpdate> m_pUpdate;
    TransportOpener m_opener;
    mutable std::mutex m_statusMutex;
    std::string m_strFirmwareStatus;
    int m_nTransferCounter = 0;
    uint8_t m_savedMute[6] = {};
    std::string m_strLastError;
};

// Opens "usb", "tcp:HOST:PORT" or "virtual" (see OpenTransport) and connects
// the session to it.
bool ConnectDevice(CLinkSession& session, const std::string& strDevice);
