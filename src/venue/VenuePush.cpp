// push: a preset file to every room, read back on a fresh link and
// compared part by part with what the file carries.
#include "PresetFile.h"
#include "PushSettings.h"
#include "RoomLink.h"
#include "VenueRun.h"

namespace fs = std::filesystem;

namespace {

// Connects and reads what the file's parts need.
bool ReadRoom(CRoomLink& link, const VenueRoom& room, const PushFile& file, std::string* pReason)
{
    if (!link.Open(room.strDevice, pReason))
        return false;
    if (file.bAllScenes && !link.Conversation().ReadAllScenes()) {
        *pReason = link.Failure();
        return false;
    }
    return true;
}

// Restoring programs leaves the live music block alone, so an all-scenes
// file's live scene follows as a scene of its own.
bool SendFile(CRoomLink& link, const PushFile& file, std::string* pReason)
{
    using Sent = CProcessorConversation::Sent;
    CProcessorConversation& conversation = link.Conversation();
    Sent sent = Sent::kDone;
    if (!file.bAllScenes) {
        sent = conversation.SendSceneFile(file.bytes, file.strSceneName);
    } else {
        sent = conversation.SendAllScenesFile(file.bytes);
        if (sent == Sent::kDone && file.bLiveScene)
            sent = conversation.SendSceneFile(
                SceneFileBytes(ParseAllScenesFile(file.bytes)->liveImage), file.strSceneName);
    }
    if (sent == Sent::kDone && conversation.Drain())
        return true;
    *pReason = sent == Sent::kRefused ? "the processor's model refused the file" : link.Failure();
    return false;
}

struct PushOutcome {
    RoomHolds holds = RoomHolds::kOld;
    bool bVerified = false;
    std::string strReason;
    bool bStopped = false;
};

// What the room holds now, read on a link of its own: what a send saw is no
// proof of what the processor kept.
PushOutcome ReadBack(const VenueRoom& room, const PushFile& file, const Settings& before,
                     const std::atomic<bool>& bStop)
{
    CRoomLink link(bStop);
    std::string strReason;
    if (!ReadRoom(link, room, file, &strReason))
        return {RoomHolds::kUnknown, false, "read back failed: " + strReason, link.WasStopped()};
    const Settings after = ProcessorSettings(file, link.Processor());
    const std::string strDiffers = FirstDifference(FileSettings(file), after);
    if (strDiffers.empty())
        return {RoomHolds::kNew, true, ""};
    const RoomHolds holds = FirstDifference(before, after).empty() ? RoomHolds::kOld : RoomHolds::kUnknown;
    return {holds, false, "read back differs from the file in " + strDiffers};
}

RoomResult PushRoom(const VenueRoom& room, const PushFile& file, const std::atomic<bool>& bStop,
                    const std::function<void(int)>& progress)
{
    RoomResult result;
    result.strRoom = room.strName;
    result.holds = RoomHolds::kOld;
    CRoomLink link(bStop);
    if (!ReadRoom(link, room, file, &result.strReason)) {
        result.bFinished = !link.WasStopped();
        return result;
    }
    const Settings before = ProcessorSettings(file, link.Processor());
    progress(30);
    std::string strSendFailure;
    const bool bSent = SendFile(link, file, &strSendFailure);
    link.Conversation().Close();
    progress(60);
    const PushOutcome outcome = ReadBack(room, file, before, bStop);
    // The read-back is the proof: a send that lost its link may still have
    // arrived whole.
    result.bOk = outcome.bVerified;
    result.holds = outcome.holds;
    result.bFinished = outcome.bVerified || !(link.WasStopped() || outcome.bStopped);
    if (!outcome.bVerified)
        result.strReason = (bSent ? "" : strSendFailure + "; ") + outcome.strReason;
    return result;
}

}  // namespace

std::vector<RoomResult> VenuePush(const std::vector<VenueRoom>& rooms, const fs::path& path,
                                  const std::atomic<bool>& bStop, IVenueObserver* pObserver)
{
    std::string strError;
    const std::optional<PushFile> file = ReadPushFile(path, &strError);
    if (!file)
        return AllFailed(rooms, strError);
    return RunRooms(rooms, pObserver, [&](size_t i, const std::function<void(int)>& progress) {
        return PushRoom(rooms[i], *file, bStop, progress);
    });
}
