// Everything one processor's model holds: the live image, the scene and
// effect-program stores, the system tables, the link groups and the flags
// shared by the model, the receiver and the change scanner, with the two
// locks that guard them and the sink its notifications go to. A program
// holds one per processor it talks to; nothing of it is process-wide.
//
// Threads: the user-interface thread edits the model, the link thread scans
// it and stores replies. The areas are read and written under m_csModel
// (ModelLock), which is held only for short in-memory work and never across
// device I/O. m_csComm (CommLock) serialises the communication thread's
// transfer cycle with the queuing of command sequences, so the link never
// sees a half-built batch: take it before m_csModel, never the other way.
// The flags that are read without a lock are atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "GlobalData.h"
#include "Notify.h"

class CKTV_OutData;

using CommLock = std::lock_guard<std::recursive_mutex>;

class CProcessorState {
public:
    CProcessorState();
    CProcessorState(const CProcessorState&) = delete;
    CProcessorState& operator=(const CProcessorState&) = delete;

    std::recursive_mutex m_csModel;
    std::recursive_mutex m_csComm;

    std::atomic<int> m_nDeviceType{1};  // device variant 1 or 2
    std::atomic<int> m_bOnline{0};      // full read done: setters mark changes for sending
    std::atomic<int> m_nCurOutput{0};   // selected output 0 … 5

    uint8_t m_LiveImage[kImageSize];
    uint8_t m_SceneStore[kSceneEntries][kImageSize];
    uint8_t m_EffectStore[kEffectProgLast - kEffectProgFirst + 1][kEffectProgSize];

    // Single-byte system items, indexed by item code.
    uint8_t m_SysBytes[256];
    uint8_t m_ControlBlock[kControlSize];
    uint8_t m_LockBlock[kLockSize];
    int m_nLockState = 0;
    std::string m_strPassword;
    uint8_t m_InfoText[kInfoTextSize];
    uint8_t m_IdString[kIdSize];
    int m_nLowPassLimit = 500;
    uint8_t m_DefaultSetup[2];
    uint8_t m_DelayTable[kDelayTableSize];
    int m_nLevelTable[kLevelEntries];
    int m_nSysReadList[kSysReadListSize];

    // Link groups: outputs with equal numbers are edited together.
    int m_nLinkGroup[kOutputs] = {0, 1, 2, 3, 4, 5};
    CKTV_OutData* m_pLinkOutput[kOutputs] = {};

    std::atomic<int> m_bDelayPresetChanged{0};
    std::atomic<int> m_bSceneNameChanged{0};
    std::atomic<int> m_bOutputDataSent{0};
    std::atomic<int> m_bDeviceAbnormal{0};

    // The user-interface thread changes a link under m_csModel, because the
    // link thread reads the groups when it flags a frame as linked.
    void SetLinkGroup(int nChannel, int nGroup);
    // The other outputs in nChannel's link group, in channel order (the link
    // thread calls it under m_csModel).
    std::vector<int> LinkedOutputs(int nChannel) const;

    // Scene store entry n (1 … 20) or nullptr; effect-program entry n
    // (21 … 40) or nullptr. Callers must not index the stores themselves.
    uint8_t* SceneEntry(int nEntry);
    uint8_t* EffectProgEntry(int nEntry);
    // The image a preset number addresses: the live image for 0, else the
    // scene store entry; nullptr outside 0 … 20.
    uint8_t* PresetImage(int nPreset);

    // Start-up contents of every area and flag (the link groups and the
    // registered outputs stay).
    void InitDefaults();

    // The sink of this processor's notifications (the view, zr470ctl or a
    // test), or none; any thread may post.
    std::atomic<INotifySink*> m_pNotifySink{nullptr};
    void PostNotify(int nMsg, intptr_t wParam = 0, intptr_t lParam = 0)
    {
        if (INotifySink* pSink = m_pNotifySink.load())
            pSink->Post(nMsg, wParam, lParam);
    }
};
