// backup: every room's programs and live settings into a file of its own,
// and a manifest of them all.
#include <nlohmann/json.hpp>

#include "AtomicFileWriter.h"
#include "FileDigest.h"
#include "PresetFile.h"
#include "RoomLink.h"
#include "VenueRun.h"

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;  // the manifest's keys in the order written

namespace {

constexpr const char* kManifestName = "manifest.json";

RoomResult Failed(RoomResult result, CRoomLink& link, const std::string& strReason)
{
    result.bFinished = !link.WasStopped();
    result.strReason = strReason;
    return result;
}

// The saved file's size and digest, from the file itself.
bool TakeFileFacts(RoomResult* pResult)
{
    const auto bytes = ReadFileBytes(pResult->file, kAllScenesFileSize);
    if (!bytes)
        return false;
    pResult->nSize = bytes->size();
    pResult->strSha256 = Sha256Hex(*bytes);
    return true;
}

RoomResult BackUpRoom(const VenueRoom& room, const fs::path& file, const std::atomic<bool>& bStop,
                      const std::function<void(int)>& progress)
{
    RoomResult result;
    result.strRoom = room.strName;
    CRoomLink link(bStop);
    std::string strReason;
    if (!link.Open(room.strDevice, &strReason))
        return Failed(result, link, strReason);
    progress(40);
    if (!link.Conversation().ReadAllScenes())
        return Failed(result, link, link.Failure());
    progress(90);
    link.Conversation().Close();
    const PresetFileResult saved = link.Processor().SaveAllScenesFile(file);
    if (!saved.bOk)
        return Failed(result, link, std::string(PresetFileErrorText(saved.error)) + " " + saved.strReason);
    result.file = saved.path;
    if (!TakeFileFacts(&result)) {
        std::error_code ignored;
        fs::remove(result.file, ignored);
        return Failed(result, link, "cannot read back " + result.file.string());
    }
    result.bOk = result.bFinished = true;
    result.strIdentification = link.Processor().Identification();
    result.strTime = UtcTimeText();
    return result;
}

json ManifestRoom(const VenueRoom& room, const RoomResult& result)
{
    json entry = {{"name", room.strName}, {"device", room.strDevice}, {"ok", result.bOk}};
    if (!result.bOk) {
        entry["finished"] = result.bFinished;
        entry["reason"] = result.strReason;
        return entry;
    }
    entry["identification"] = result.strIdentification;
    entry["file"] = result.file.filename().string();
    entry["size"] = result.nSize;
    entry["sha256"] = result.strSha256;
    entry["time"] = result.strTime;
    return entry;
}

bool WriteManifest(const fs::path& dir, const std::string& strVenue, const std::vector<VenueRoom>& rooms,
                   const std::vector<RoomResult>& results, std::string* pError)
{
    json manifest = {{"venue", strVenue}, {"time", UtcTimeText()}, {"rooms", json::array()}};
    for (size_t i = 0; i < rooms.size(); ++i)
        manifest["rooms"].push_back(ManifestRoom(rooms[i], results[i]));
    const std::string strText = manifest.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
    return CAtomicFileWriter::Write(dir / kManifestName,
                                    {reinterpret_cast<const uint8_t*>(strText.data()), strText.size()}, pError);
}

}  // namespace

std::vector<RoomResult> VenueBackup(const std::vector<VenueRoom>& rooms, const fs::path& dir,
                                    const std::atomic<bool>& bStop, IVenueObserver* pObserver,
                                    const std::string& strVenue, std::string* pManifestError)
{
    std::error_code error;
    fs::create_directories(dir, error);
    if (error || !fs::is_directory(dir))
        return AllFailed(rooms, "cannot make the folder " + dir.string() + (error ? ": " + error.message() : ""));
    const std::vector<std::string> names = BackupFileNames(rooms);
    const std::vector<RoomResult> results =
        RunRooms(rooms, pObserver, [&](size_t i, const std::function<void(int)>& progress) {
            return BackUpRoom(rooms[i], dir / names[i], bStop, progress);
        });
    std::string strError;
    if (!WriteManifest(dir, strVenue, rooms, results, &strError) && pManifestError)
        *pManifestError = "cannot write " + (dir / kManifestName).string() + ": " + strError;
    return results;
}
