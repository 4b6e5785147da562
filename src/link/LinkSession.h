// The device side of the main view: opens and closes the link, runs the
// communication thread, checks the identification, reads the live settings
// after connecting, and offers the fixed command sequences that move scenes
// between the PC and the processor. The view (or zr470ctl, or a test) owns
// one and feeds it the notifications posted to its sink.
//
// Threads: every public member is for the user-interface thread, except
// UsbTransferCycle, which the communication thread runs.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "CommThread.h"
#include "KTVCommand.h"
#include "Transport.h"

class CKTV_Data;

extern std::atomic<int> g_bUsbActive;         // transfers enabled; read and write loops end when cleared
extern std::atomic<int> g_bTransferRunning;   // a batch is in progress (the progress window blinks)

constexpr const char* kExpectedIdentification = "SVH1-WV1.00";
constexpr int kIdentificationPrefix = 8;      // "SVH1-WV1": firmware family and major version

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
    const std::string& LastError() const { return m_strLastError; }
    std::string DeviceDescription() const;

    // A notification taken from the sink, on the user-interface thread.
    void HandleNotification(int nMsg, intptr_t wParam, intptr_t lParam);

    // ---- command sequences (queued under g_csComm, return at once) -----------
    void RequestDeviceInfo(bool bAll);
    bool ReadScene(int nPreset);
    bool WriteScene(int nPreset, bool bFromModel);
    bool ReadAllScenes();
    bool WriteAllScenes();
    // bSingleProgress: the block write alone closes a progress display.
    void ResendOutputRecord(int nChannel, bool bSingleProgress);
    void SendSystemItem(int nItem, int nPreset);
    // The live scene name is shown and marked for sending.
    void ShowSceneName();
    // A name from a file: at most 13 characters into the live name.
    void SetSceneName(const std::string& strName);

    // ---- state for the view -----------------------------------------------------
    int ProgressRange() const { return m_nTransferCounter; }
    int ProgressPos() const { return m_cmd.m_nProgressPos; }
    CKTVCommand& Command() { return m_cmd; }
    CKTV_Data& Data() { return m_data; }
    int CyclesRun() const { return m_thread.CyclesRun(); }
    // True while frames other than the idle level-meter poll are queued or
    // any edit is still marked for sending.
    bool HasPendingWork();

    // Texts for the user (message boxes); set by the view.
    std::function<void(const std::string&)> m_onMessage;

    // ---- transfer control and the cycle ----------------------------------------
    void StartTransfers();
    void StopTransfers();
    void UsbTransferCycle();  // communication thread, under g_csComm

private:
    void NormalCycle();
    void CloseUsbLink();
    void FailLink(const std::string& strMessage);
    void ShowMessage(const std::string& strText);
    void ShowLinkFailure();
    void CheckIdentification();
    void OnSceneReadComplete(int nPreset);
    void PostFailureOnce();
    bool ReadReply(uint8_t* pReport, int nTimeoutMs);
    void QueueBatch(std::unique_ptr<CSendData> pFrame, bool bAdvance = true);
    void QueueMuteBracket(bool bStart, bool bEndMark);
    void StartProgress();

    CKTV_Data& m_data;
    CKTVCommand m_cmd;
    CCommThread m_thread;
    std::unique_ptr<ITransport> m_pTransport;
    std::atomic<bool> m_bConnected{false};
    std::atomic<bool> m_bFailurePosted{false};
    bool m_bFirmwareMode = false;
    int m_nTransferCounter = 0;
    uint8_t m_savedMute[6] = {};
    std::string m_strLastError;
};

// Opens "usb", "tcp:HOST:PORT" or "virtual" (see OpenTransport) and connects
// the session to it.
bool ConnectDevice(CLinkSession& session, const std::string& strDevice);
