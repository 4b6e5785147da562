// --venue FILE: the venue file read and its rooms chosen, then a venue
// command on them, or with --room NAME any one-processor command on that
// room's device.
#include <algorithm>
#include <array>

#include "CtlCommands.h"
#include "CtlJson.h"
#include "NumberText.h"
#include "VenueFile.h"

namespace {

int RunRooms(CtlContext& ctx)
{
    for (const VenueRoom& room : ctx.rooms) {
        if (ctx.inv.bJson)
            ctx.out << JsonLine({{"room", room.strName}, {"device", room.strDevice}});
        else
            ctx.out << room.strName << '\t' << room.strDevice << '\n';
    }
    return kExitOk;
}

constexpr std::array kVenueCommands = {
    CommandEntry{"rooms", 0, RunRooms},
    CommandEntry{"status", 0, RunVenueStatus},
    CommandEntry{"backup", 1, RunVenueBackup},
    CommandEntry{"push", 1, RunVenuePush, "--all"},
    CommandEntry{"diff", 2, RunVenueDiff},
};

bool IsVenueCommand(const std::string& strCommand)
{
    return std::any_of(kVenueCommands.begin(), kVenueCommands.end(),
                       [&](const CommandEntry& command) { return strCommand == command.pName; });
}

// diff(1) says trouble with 2; every other command with 1.
int TroubleExit(const CtlContext& ctx)
{
    return ctx.inv.strCommand == "diff" ? kExitUsage : kExitFailed;
}

// "FILE:LINE", or the file alone for a refusal of the whole file.
std::string RefusalWhere(const std::string& strFile, int nLine)
{
    std::string strWhere = strFile;
    if (nLine > 0) {
        strWhere += ':';
        strWhere += std::to_string(nLine);
    }
    return strWhere;
}

int RunOnRoom(CtlContext& ctx)
{
    if (!ctx.inv.strRooms.empty())
        return Refuse(ctx, "--room and --rooms: name one room, or the rooms of a venue command"), kExitUsage;
    std::vector<VenueRoom> chosen;
    if (std::string strError; !SelectRooms(ctx.venue, ctx.inv.strRoom, &chosen, &strError) || chosen.size() != 1)
        return Refuse(ctx, "--room: " + (strError.empty() ? "name one room" : strError)), kExitUsage;
    CtlInvocation inv = ctx.inv;
    inv.strDevice = chosen.front().strDevice;
    CtlContext roomCtx{inv, ctx.out, ctx.err, nullptr, {}, ctx.pStop};
    return RunCommand(roomCtx);
}

}  // namespace

int RunWithVenue(CtlContext& ctx)
{
    const CtlInvocation& inv = ctx.inv;
    VenueFileResult read = ReadVenueFile(inv.strVenue);
    if (!read.bOk)
        return Refuse(ctx, RefusalWhere(inv.strVenue, read.nLine) + ": " + read.strError), TroubleExit(ctx);
    ctx.venue = std::move(read.venue);
    if (!inv.strRoom.empty())
        return RunOnRoom(ctx);
    if (!IsVenueCommand(inv.strCommand))
        return Refuse(ctx, EchoText(inv.strCommand) +
                               " is no venue command (rooms, status, backup, push, diff); for one room add "
                               "--room NAME"),
               kExitUsage;
    ctx.rooms = ctx.venue.rooms;
    if (std::string strError; !inv.strRooms.empty() && !SelectRooms(ctx.venue, inv.strRooms, &ctx.rooms, &strError))
        return Refuse(ctx, "--rooms: " + strError), kExitUsage;
    return RunCommandFrom(ctx, kVenueCommands);
}
