#include "VenueDiff.h"

#include <memory>

#include "DelayTable.h"
#include "PresetFile.h"
#include "ReportTable.h"
#include "RoomLink.h"

namespace fs = std::filesystem;

namespace {

struct SideState {
    std::unique_ptr<CRoomLink> pLink;
    bool bPrograms = false;  // a scene file carries no program names
    std::string strSceneName;
    std::string strError;
};

bool ReadRoomSide(const VenueRoom& room, SideState* pSide)
{
    std::string strReason;
    if (!pSide->pLink->Open(room.strDevice, &strReason)) {
        pSide->strError = room.strName + ": " + strReason;
        return false;
    }
    pSide->pLink->Conversation().Close();
    pSide->bPrograms = true;
    pSide->strSceneName = pSide->pLink->Processor().SceneName();
    return true;
}

bool ReadFileSide(const fs::path& path, SideState* pSide)
{
    CProcessor& processor = pSide->pLink->Processor();
    const bool bAllScenes = HasPresetExtension(path, kAllScenesFileExt);
    const PresetFileResult loaded =
        bAllScenes ? LoadAllScenesFile(processor.Data(), path) : LoadSceneFile(processor.Data(), path);
    if (!loaded.bOk || (bAllScenes && !loaded.bModelLoaded)) {
        pSide->strError = std::string(PresetFileErrorText(loaded.error)) + " " + path.string();
        return false;
    }
    pSide->bPrograms = bAllScenes;
    // As loading the file in the editor names the scene.
    pSide->strSceneName = bAllScenes ? processor.SceneName() : SceneTitle(path);
    return true;
}

void ReadSide(const DiffSide& side, const std::atomic<bool>& bStop, SideState* pState)
{
    pState->pLink = std::make_unique<CRoomLink>(bStop);
    if (side.bRoom)
        ReadRoomSide(side.room, pState);
    else if (!HasPresetExtension(side.file, kSceneFileExt) && !HasPresetExtension(side.file, kAllScenesFileExt))
        pState->strError = side.file.string() + " is neither a room of the venue nor a .ZR4C or .ZR4AC file";
    else
        ReadFileSide(side.file, pState);
}

void AddReportRows(SideState& a, SideState& b, std::vector<DiffRow>* pRows)
{
    const ReportTable tableA = BuildReportTable(a.pLink->Processor().Data(), kDelayUnitMs);
    const ReportTable tableB = BuildReportTable(b.pLink->Processor().Data(), kDelayUnitMs);
    for (size_t r = 0; r < tableA.rows.size() && r < tableB.rows.size(); ++r) {
        for (size_t c = 1; c < tableA.rows[r].size() && c < tableB.rows[r].size(); ++c) {
            if (tableA.rows[r][c] != tableB.rows[r][c])
                pRows->push_back({tableA.rows[r][0], tableA.columns[c], tableA.rows[r][c], tableB.rows[r][c]});
        }
    }
}

void AddNameRows(SideState& a, SideState& b, std::vector<DiffRow>* pRows)
{
    if (a.strSceneName != b.strSceneName)
        pRows->push_back({"scene name", "", a.strSceneName, b.strSceneName});
    if (!a.bPrograms || !b.bPrograms)
        return;
    for (int n = 1; n <= kScenePrograms; ++n) {
        const std::string strA = a.pLink->Processor().ProgramName(n);
        const std::string strB = b.pLink->Processor().ProgramName(n);
        if (strA != strB)
            pRows->push_back({"program " + std::to_string(n) + " name", "", strA, strB});
    }
}

}  // namespace

DiffResult VenueDiff(const DiffSide& a, const DiffSide& b, const std::atomic<bool>& bStop)
{
    SideState sides[2];
    const DiffSide* pSides[2] = {&a, &b};
    const std::vector<std::string> devices = {a.bRoom ? a.room.strDevice : "", b.bRoom ? b.room.strDevice : ""};
    ForEachRoom(devices, [&](size_t i) { ReadSide(*pSides[i], bStop, &sides[i]); });
    DiffResult result;
    for (const SideState& side : sides) {
        if (!side.strError.empty()) {
            result.strError += (result.strError.empty() ? "" : "; ") + side.strError;
        }
    }
    if (!result.strError.empty())
        return result;
    AddReportRows(sides[0], sides[1], &result.rows);
    AddNameRows(sides[0], sides[1], &result.rows);
    result.bOk = true;
    return result;
}
