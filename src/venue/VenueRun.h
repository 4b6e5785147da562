// The venue operations: status, backup and push, each on every room at
// once. Every room runs on its own thread with its own CProcessor and its
// own link, so a room that is slow, silent or unreachable never holds up
// another. Each operation returns when every room has ended; bStop (a
// window's Cancel, Ctrl+C) ends every room's wait promptly, and a room
// stopped before its end is reported as not finished.
//
// Threads: call from any one thread. The observer is called ON THE ROOMS'
// WORKER THREADS, several at a time: it must be thread-safe (the editor
// hands the calls to its user-interface thread).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "VenueFile.h"

struct RoomStatus {
    std::string strRoom, strDevice;
    bool bOnline = false;
    std::string strReason;  // offline: why
    std::string strIdentification, strSceneName;
    std::array<std::string, 10> programNames;
    double dAnswerMs = 0;  // from connecting until the full read was complete
    bool bFinished = false;  // false: stopped before it ended
};

// What a room holds after a push: the settings it had, the file's, or no
// telling (the link went before they could be read back).
enum class RoomHolds { kOld, kNew, kUnknown };

struct RoomResult {
    std::string strRoom;
    bool bOk = false;        // backed up, or pushed and verified
    bool bFinished = false;  // false: stopped before its end
    std::string strReason;   // not ok: why
    RoomHolds holds = RoomHolds::kUnknown;  // push
    // backup:
    std::filesystem::path file;
    uintmax_t nSize = 0;
    std::string strSha256, strIdentification, strTime;
};

class IVenueObserver {
public:
    virtual ~IVenueObserver() = default;
    virtual void RoomProgress(size_t /*nRoom*/, int /*nPercent*/) {}  // 0 … 100
    virtual void RoomStatusReady(size_t /*nRoom*/, const RoomStatus&) {}
    virtual void RoomFinished(size_t /*nRoom*/, const RoomResult&) {}
};

// Connects to every room and reads it fully; one status per room, in order.
std::vector<RoomStatus> VenueStatus(const std::vector<VenueRoom>& rooms, const std::atomic<bool>& bStop,
                                    IVenueObserver* pObserver = nullptr);

// One all-scenes file per room in dir (created when missing), saved
// atomically under a name made from the room's name, and dir/manifest.json
// naming every room: its file, size, SHA-256 and time, or why it failed.
// A room that fails leaves no file.
std::vector<RoomResult> VenueBackup(const std::vector<VenueRoom>& rooms, const std::filesystem::path& dir,
                                    const std::atomic<bool>& bStop, IVenueObserver* pObserver = nullptr,
                                    const std::string& strVenue = "", std::string* pManifestError = nullptr);

// Sends a scene (.ZR4C) or all-scenes file (.ZR4AC) to every room, reads
// every setting it carries back from the processor and compares them.
// A file that cannot be read is refused for every room alike.
std::vector<RoomResult> VenuePush(const std::vector<VenueRoom>& rooms, const std::filesystem::path& file,
                                  const std::atomic<bool>& bStop, IVenueObserver* pObserver = nullptr);

// The file name a room's backup takes in its folder: the room's name with
// every character unsafe in a file name replaced, made unique among the
// names before it (ignoring case), ending in .ZR4AC.
std::vector<std::string> BackupFileNames(const std::vector<VenueRoom>& rooms);
