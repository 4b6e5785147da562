// The virtual processor: the device side of the protocol, for tests, for
// `zr470ctl emulate` and for running the editor without hardware.
//
// It takes the bytes the editor writes (any chunking), applies and
// acknowledges writes ('Q'), answers reads with data replies ('S'), asks
// for a resend ('R') of a frame that fails its check, keeps the live image,
// scene programs 1 … 20 and effect programs 21 … 40, recalls a program into
// the live state for a block read with mode byte 0, and identifies itself.
// Replies leave as 64-byte reports (zero-padded). The firmware steps go to
// its loader (VirtualLoader.h): once the answer to step 54 has been taken
// the processor vanishes for the restart pause and re-appears running the
// loader. The handshake report (0x43/0x11, not a frame) is counted and
// kept away from the frame hunting.
//
// Threads: every member may be called from any thread (one internal lock).
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "FrameAssembler.h"
#include "VirtualImages.h"
#include "VirtualLoader.h"
#include "VirtualReply.h"
#include "VirtualSystem.h"

struct VirtualFaults {
    int nDropEvery = 0;        // every Nth reply is not sent
    int nCorruptEvery = 0;     // every Nth reply has a wrong checksum
    int nResendEvery = 0;      // every Nth good frame is answered with 'R' (and not applied)
    int nDelayMs = 0;          // every reply leaves this much later
    int nSilentAfter = 0;      // after N frames nothing is answered any more (0: never)
    int nEmptyReplyItem = -1;  // a read of this system item gets a data reply without payload
    std::string strWrongId;    // identification to report instead of "SVH1-WV1.00"
    int nUnplugAfter = 0;      // after N frames the cable is pulled: vanished until Reappear (0: never)
    // The loader (firmware steps 54 … 59):
    int nNoReplyStep = -1;        // firmware frames of this step are neither applied nor answered
    bool bWrongChecksum = false;  // the checksum of step 57 is refused even when it matches
    bool bNeverReappear = false;  // the restart after step 54 never ends
    int nRestartMs = 300;         // how long the processor is gone while it restarts
};

class CVirtualProcessor {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kImage = 2184;
    static constexpr int kEffectProgram = 168;

    CVirtualProcessor();

    void SetFaults(const VirtualFaults& faults);
    // Unplugged: reads and writes of a transport report the device gone.
    // Reappear also ends a restart at once (into the loader), even one
    // that would never end by itself.
    void Vanish();
    void Reappear();
    bool IsVanished() const;

    // Bytes written by the editor.
    void Receive(const uint8_t* pData, size_t nCount);
    // The next reply report that is due at `now`; false if none is. `now`
    // also ends a restart whose pause is over by then.
    bool TakeReport(uint8_t* pReport64, Clock::time_point now);
    // When the next queued report becomes due (Clock::time_point::max() if none).
    Clock::time_point NextReportDue() const;
    // How long a server may wait for bytes before the next report is due,
    // at most nMaxMs (also when none is queued).
    int MsUntilNextReport(int nMaxMs) const;

    // State, copied out under the lock.
    std::vector<uint8_t> LiveImage() const;
    std::vector<uint8_t> SceneProgram(int n) const;   // 1 … 20
    std::vector<uint8_t> EffectProgram(int n) const;  // 21 … 40
    std::vector<uint8_t> DelayTable() const;
    int SystemByte(int nItem) const;
    int FramesReceived() const;
    // Every frame received so far, numbered from the sync bytes, in order.
    std::vector<std::vector<uint8_t>> ReceivedFrames() const;
    void ClearReceivedFrames();
    // Presets for tests: replace a scene program or the live image.
    void SetSceneProgram(int n, const std::vector<uint8_t>& image);
    void SetLiveImage(const std::vector<uint8_t>& image);
    void SetLevels(const std::array<int, 12>& levels);
    void SetVariant(int nVariant);

    // The link closed (a TCP peer went away): a partial frame and the
    // replies not yet taken are dropped, the settings stay.
    void ResetLink();
    // The live image as kept by the last "store as default" (item 53);
    // empty before one arrived.
    std::vector<uint8_t> DefaultSettings() const;
    // What the loader has received and decided, copied out.
    CVirtualLoader Loader() const;

    // The newest frames are kept for ReceivedFrames, up to this many, so a
    // long emulator run does not grow without bound.
    static constexpr size_t kKeptFrames = 4096;

private:
    struct PendingReport {
        Report64 data;
        Clock::time_point due;
        bool bRestartAfter = false;  // the answer to step 54: restart once it has left
    };

    void OnFrame(const uint8_t* pFrame, int nLength, FrameCheck check);
    void Record(const uint8_t* pFrame, int nLength);
    void Dispatch(const uint8_t* pFrame);
    void Write(const uint8_t* pFrame, const uint8_t* pPayload, int nLength);
    void Read(const uint8_t* pFrame);
    // False when a fault dropped the reply.
    bool Reply(const uint8_t* pRequest, uint8_t nCommand, const std::vector<uint8_t>& payload = {});
    void LoaderWrite(const uint8_t* pFrame);
    void Unplug();  // Vanish, with the lock held
    void BeginRestart(Clock::time_point now);
    void EndRestartIfDue(Clock::time_point now);

    mutable std::mutex m_mutex;
    CFrameAssembler m_assembler;
    CVirtualImages m_images;
    CVirtualSystem m_system;
    std::vector<uint8_t> m_default;
    VirtualFaults m_faults;
    bool m_bVanished = false;
    CVirtualLoader m_loader;
    bool m_bRestarting = false;       // vanished for a restart, back at m_restartEnd
    bool m_bRestartNow = false;       // the answer to 54 was dropped: restart after this chunk
    bool m_bUnplugNow = false;        // the unplug fault is due: vanish after this chunk
    Clock::time_point m_restartEnd{};
    std::deque<PendingReport> m_reports;
    Clock::time_point m_arrival{};
    std::deque<std::vector<uint8_t>> m_received;
    int m_nFrames = 0;
    // Fault counters, restarted whenever the faults are set.
    int m_nFaultFrames = 0;
    int m_nFaultGoodFrames = 0;
    int m_nFaultReplies = 0;
};
