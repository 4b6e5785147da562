// The protocol engine: the outgoing command queue and the receiver that
// reassembles reply frames from input reports, checks them and dispatches
// them into the byte images, telling the view through the notification sink.
//
// Threads: the queue is used under the processor's comm lock by both threads; FeedReport runs
// on the communication thread inside the transfer cycle.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "FrameAssembler.h"
#include "SendDataQueue.h"

class CProcessorState;

// Link status bytes: written by the receiver, cleared when the head command
// is removed.
enum LinkStatus { kStatusSyncSeen = 0, kStatusFrameComplete = 1, kStatusFrameError = 2, kStatusCount = 14 };

class CKTVCommand {
public:
    explicit CKTVCommand(CProcessorState& state);

    // ---- queue --------------------------------------------------------------
    void AddSendData(std::unique_ptr<CSendData> pData);
    CSendData* GetHead() const { return m_queue.GetHead(); }
    int GetCount() const { return m_queue.GetCount(); }
    void RemoveHead();
    void RewindHead();
    void ClearQueue();

    // ---- receiver -------------------------------------------------------------
    // One input report of nCount bytes; byte 0 is the report number. Returns
    // true when a frame was completed (accepted or dropped) in this report.
    bool FeedReport(uint8_t* pReport, int nCount);
    void ResetReceiver();
    void SetDeviceOpen(bool bOpen) { m_bDeviceOpen = bOpen; }
    uint8_t Status(int nIndex) const { return m_status[nIndex]; }

    // Decoded fields of the frame last accepted.
    int LastCommand() const { return m_nCommand; }
    int LastItem() const { return m_nItem; }

    // Where the batch progress bar stands (the tag of the last answered
    // batch frame); the view reads it on its own timer.
    std::atomic<int> m_nProgressPos{0};
    // Firmware frames report their progress here (set by the firmware engine).
    std::function<void(const CSendData&)> m_onFirmwareProgress;
    // The head command the processor acknowledged, just before it is removed.
    std::function<void(const CSendData&)> m_onAcknowledged;

private:
    void OnFrame(const uint8_t* pFrame, int nLength, FrameCheck check);
    // A head sent for another client takes any answer; true when it did.
    bool RelayAnswer(const uint8_t* pFrame, int nLength);
    void RunProgressHook();
    void DispatchData(const uint8_t* pFrame, int nLength);
    bool StoreBlock(const uint8_t* pPayload, int nLength);
    bool StoreSystemItem(const uint8_t* pPayload, int nLength);

    CProcessorState& m_state;
    CSendDataQueue m_queue;
    CFrameAssembler m_assembler;
    bool m_bDeviceOpen = false;
    bool m_bCompleted = false;
    uint8_t m_status[kStatusCount] = {};
    int m_nCommand = 0;
    int m_nPreset = 0;
    int m_nKind = 0;
    int m_nItem = 0;
    int m_nMode = 0;
};
