// status, backup, push and diff of a venue's rooms: each room's line (or
// JSON object) in the venue file's order, once every room has ended.
#include <cmath>

#include "CtlCommands.h"
#include "CtlJson.h"
#include "VenueDiff.h"
#include "VenueRun.h"

namespace {

// After Ctrl+C: which rooms finished and which did not. Returns kExitFailed.
int ReportStop(CtlContext& ctx, const std::vector<std::string>& finished, const std::vector<std::string>& open)
{
    const auto list = [](const std::vector<std::string>& names) {
        std::string strList;
        for (const std::string& strName : names)
            strList += (strList.empty() ? "" : ", ") + strName;
        return strList.empty() ? std::string("none") : strList;
    };
    return Refuse(ctx, "stopped; finished: " + list(finished) + "; not finished: " + list(open));
}

int EndOfRooms(CtlContext& ctx, const std::vector<RoomResult>& results)
{
    std::vector<std::string> finished;
    std::vector<std::string> open;
    bool bAllOk = true;
    for (const RoomResult& result : results) {
        (result.bFinished ? finished : open).push_back(result.strRoom);
        bAllOk = bAllOk && result.bOk;
    }
    if (ctx.pStop && ctx.pStop->load())
        return ReportStop(ctx, finished, open);
    return bAllOk ? kExitOk : kExitFailed;
}

std::string Quoted(const std::string& strText)
{
    return "\"" + strText + "\"";
}

void PrintStatus(CtlContext& ctx, const RoomStatus& status)
{
    if (ctx.inv.bJson) {
        Json line = {{"room", status.strRoom}, {"device", status.strDevice}, {"online", status.bOnline}};
        if (!status.bOnline) {
            line["reason"] = status.strReason;
        } else {
            line["identification"] = status.strIdentification;
            line["scene"] = status.strSceneName;
            line["programs"] = status.programNames;
            line["answer_ms"] = std::lround(status.dAnswerMs);
        }
        ctx.out << JsonLine(line);
        return;
    }
    if (!status.bOnline) {
        ctx.out << status.strRoom << ": offline: " << status.strReason << '\n';
        return;
    }
    ctx.out << status.strRoom << ": online, " << status.strIdentification << ", scene " << Quoted(status.strSceneName)
            << ", programs";
    for (const std::string& strName : status.programNames)
        ctx.out << ' ' << Quoted(strName);
    ctx.out << ", answered in " << std::lround(status.dAnswerMs) << " ms\n";
}

void PrintFailure(CtlContext& ctx, const RoomResult& result, Json line, const std::string& strMore)
{
    if (ctx.inv.bJson) {
        line["reason"] = result.strReason;
        ctx.out << JsonLine(line);
        return;
    }
    ctx.out << result.strRoom << ": failed: " << result.strReason << strMore << '\n';
}

void PrintBackup(CtlContext& ctx, const RoomResult& result)
{
    if (!result.bOk)
        return PrintFailure(ctx, result, {{"room", result.strRoom}, {"ok", false}}, "");
    if (ctx.inv.bJson) {
        ctx.out << JsonLine({{"room", result.strRoom},
                             {"ok", true},
                             {"file", result.file.string()},
                             {"size", result.nSize},
                             {"sha256", result.strSha256},
                             {"identification", result.strIdentification},
                             {"time", result.strTime}});
        return;
    }
    ctx.out << result.strRoom << ": " << result.file.string() << ", " << result.nSize << " bytes, sha256 "
            << result.strSha256 << '\n';
}

const char* HoldsWord(RoomHolds holds)
{
    switch (holds) {
    case RoomHolds::kOld:
        return "old";
    case RoomHolds::kNew:
        return "new";
    case RoomHolds::kUnknown:
        break;
    }
    return "unknown";
}

void PrintPush(CtlContext& ctx, const RoomResult& result)
{
    const Json line = {{"room", result.strRoom}, {"verified", result.bOk}, {"holds", HoldsWord(result.holds)}};
    if (!result.bOk)
        return PrintFailure(ctx, result, line,
                            std::string("; it holds ") +
                                (result.holds == RoomHolds::kUnknown ? "unknown settings"
                                                                     : std::string("the ") + HoldsWord(result.holds) +
                                                                           " settings"));
    if (ctx.inv.bJson)
        ctx.out << JsonLine(line);
    else
        ctx.out << result.strRoom << ": verified\n";
}

// A side of diff: a room of the venue, else a file.
DiffSide SideOf(const CtlContext& ctx, const std::string& strArg)
{
    for (const VenueRoom& room : ctx.venue.rooms) {
        if (SameRoomName(room.strName, strArg))
            return DiffSide::Room(room);
    }
    return DiffSide::File(strArg);
}

}  // namespace

int RunVenueStatus(CtlContext& ctx)
{
    const std::vector<RoomStatus> statuses = VenueStatus(ctx.rooms, *ctx.pStop);
    std::vector<RoomResult> ends;
    for (const RoomStatus& status : statuses) {
        PrintStatus(ctx, status);
        RoomResult end;
        end.strRoom = status.strRoom;
        end.bOk = status.bOnline;
        end.bFinished = status.bFinished;
        ends.push_back(end);
    }
    return EndOfRooms(ctx, ends);
}

int RunVenueBackup(CtlContext& ctx)
{
    std::string strManifestError;
    const std::vector<RoomResult> results =
        VenueBackup(ctx.rooms, ctx.line.positional[0], *ctx.pStop, nullptr, ctx.venue.strName, &strManifestError);
    for (const RoomResult& result : results)
        PrintBackup(ctx, result);
    if (!strManifestError.empty())
        return Refuse(ctx, strManifestError);
    return EndOfRooms(ctx, results);
}

int RunVenuePush(CtlContext& ctx)
{
    const bool bAll = ctx.line.flags.count("--all") > 0;
    if (bAll == !ctx.inv.strRooms.empty())
        return Refuse(ctx, "push: name the rooms with --rooms A,B,… or push to every room with --all"), kExitUsage;
    const std::vector<RoomResult> results = VenuePush(ctx.rooms, ctx.line.positional[0], *ctx.pStop);
    for (const RoomResult& result : results)
        PrintPush(ctx, result);
    return EndOfRooms(ctx, results);
}

int RunVenueDiff(CtlContext& ctx)
{
    const DiffResult diff =
        VenueDiff(SideOf(ctx, ctx.line.positional[0]), SideOf(ctx, ctx.line.positional[1]), *ctx.pStop);
    if (!diff.bOk)
        return Refuse(ctx, "diff: " + diff.strError), kExitUsage;
    for (const DiffRow& row : diff.rows) {
        if (ctx.inv.bJson)
            ctx.out << JsonLine({{"row", row.strLabel}, {"channel", row.strChannel}, {"a", row.strA}, {"b", row.strB}});
        else
            ctx.out << row.strLabel << '\t' << row.strChannel << '\t' << row.strA << '\t' << row.strB << '\n';
    }
    return diff.rows.empty() ? kExitOk : kExitFailed;
}
