#include "ServiceMain.h"

#include <chrono>
#include <thread>

#include "FramePort.h"
#include "HttpServer.h"
#include "Service.h"
#include "ServiceArgs.h"
#include "StaticFiles.h"
#include "VenueFile.h"

namespace {

std::vector<std::string> SplitNames(const std::string& strList)
{
    std::vector<std::string> names;
    size_t nStart = 0;
    while (!strList.empty() && nStart <= strList.size()) {
        const size_t nComma = std::min(strList.find(',', nStart), strList.size());
        names.push_back(strList.substr(nStart, nComma - nStart));
        nStart = nComma + 1;
    }
    return names;
}

int TokenCommand(const ServiceArgs& args, std::ostream& out, std::ostream& err)
{
    CTokenFile tokens;
    std::string strError;
    if (!tokens.Load(args.strTokens, &strError)) {
        err << "zr470d: " << strError << "\n";
        return 1;
    }
    if (args.action == ServiceAction::kListTokens) {
        for (const TokenEntry& entry : tokens.Entries()) {
            std::string strRooms;
            for (const std::string& strRoom : entry.rooms) {
                if (!strRooms.empty())
                    strRooms += ',';
                strRooms += strRoom;
            }
            out << entry.strName << "\t" << RoleName(entry.role) << "\t" << (strRooms.empty() ? "all rooms" : strRooms)
                << "\n";
        }
        return 0;
    }
    std::string strToken;
    Role role = Role::kInstaller;
    if (args.action == ServiceAction::kRemoveToken ? !tokens.Remove(args.strTokenName)
                                                   : !ParseRole(args.strRole, &role) ||
                                                         !tokens.Add(args.strTokenName, role, SplitNames(args.strRooms),
                                                                     &strToken, &strError)) {
        err << "zr470d: " << (strError.empty() ? "no token named \"" + args.strTokenName + "\"" : strError) << "\n";
        return 1;
    }
    if (!tokens.Save(args.strTokens, &strError)) {
        err << "zr470d: " << args.strTokens << " not written: " << strError << "\n";
        return 1;
    }
    if (!strToken.empty())
        out << strToken << "\n";  // shown this once; only its hash is kept
    return 0;
}

bool ReadRooms(const ServiceArgs& args, Venue* pVenue, std::string* pError)
{
    if (args.strVenue.empty()) {
        pVenue->rooms.push_back({args.strName, args.strDevice, std::nullopt});
        return true;
    }
    const VenueFileResult result = ReadVenueFile(args.strVenue);
    if (!result.bOk) {
        *pError = args.strVenue;
        if (result.nLine)
            *pError += std::string(":") += std::to_string(result.nLine);
        *pError += ": " + result.strError;
        return false;
    }
    *pVenue = result.venue;
    return true;
}

// The staff page's folder: --web, else where it is installed; false when
// --web names no folder.
bool FindWebRoot(const ServiceArgs& args, std::string* pRoot, std::string* pError)
{
    std::error_code error;
    if (args.strWeb.empty()) {
        *pRoot = DefaultWebRoot(std::filesystem::read_symlink("/proc/self/exe", error)).string();
        return true;
    }
    if (!std::filesystem::is_directory(args.strWeb, error)) {
        *pError = "--web " + args.strWeb + ": no such folder";
        return false;
    }
    *pRoot = args.strWeb;
    return true;
}

// Room i (in the venue file's order) on port base + i.
bool StartFramePorts(const ServiceArgs& args, CService& service, std::vector<std::unique_ptr<CFramePort>>* pPorts,
                     std::string* pError)
{
    if (args.nFramesPortBase == 0)
        return true;
    int nPort = args.nFramesPortBase;
    for (ServiceRoom* pRoom : service.Rooms()) {
        auto pPort = std::make_unique<CFramePort>(*pRoom->pWorker);
        if (!pPort->Listen(args.strFramesListen, nPort, pError))
            return false;
        pPort->Start();
        pPorts->push_back(std::move(pPort));
        ++nPort;
    }
    return true;
}

int Serve(const ServiceArgs& args, std::ostream& out, std::ostream& err, const std::atomic<bool>& bStop)
{
    CTokenFile tokens;
    std::string strError;
    Venue venue;
    std::string strWebRoot;
    if (!tokens.Load(args.strTokens, &strError) || !ReadRooms(args, &venue, &strError) ||
        !FindWebRoot(args, &strWebRoot, &strError)) {
        err << "zr470d: " << strError << "\n";
        return 1;
    }
    if (tokens.Entries().empty()) {
        err << "zr470d: " << args.strTokens << " holds no token, and nobody could use the service: make one with\n"
            << "  zr470d --tokens " << args.strTokens << " --add-token NAME --role installer\n";
        return 1;
    }
    CService service(venue, std::move(tokens), StaffStatePath(args.strTokens), CRoomWorker::Timing{});
    ServerOptions options;
    options.strAddress = args.strListenHost;
    options.nPort = args.nListenPort;
    options.strCertFile = args.strCert;
    options.strKeyFile = args.strKey;
    options.strWebRoot = strWebRoot;
    CHttpServer server(service, options);
    std::vector<std::unique_ptr<CFramePort>> ports;  // stopped before the service
    if (!server.Start(&strError) || !StartFramePorts(args, service, &ports, &strError)) {
        err << "zr470d: " << strError << "\n";
        return 1;
    }
    out << "zr470d: " << venue.rooms.size() << " room(s) on " << (args.strCert.empty() ? "http" : "https") << "://"
        << args.strListenHost << ":" << server.Port() << "\n";
    for (size_t i = 0; i < ports.size(); ++i)
        out << "zr470d: the frames of " << service.Rooms()[i]->pWorker->Room().strName << " on tcp:"
            << args.strFramesListen << ":" << ports[i]->Port() << " (no token: installer access)\n";
    out << std::flush;
    while (!bStop)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    server.Stop();
    return 0;
}

}  // namespace

std::filesystem::path StaffStatePath(const std::filesystem::path& tokens)
{
    return tokens.string() + ".staff";
}

int RunZr470d(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const std::atomic<bool>& bStop)
{
    ServiceArgs parsed;
    std::string strError;
    if (!ParseServiceArgs(args, &parsed, &strError)) {
        err << "zr470d: " << strError << "\n" << kServiceUsage;
        return 2;
    }
    if (parsed.action == ServiceAction::kHelp) {
        out << kServiceUsage;
        return 0;
    }
    if (parsed.action != ServiceAction::kServe)
        return TokenCommand(parsed, out, err);
    return Serve(parsed, out, err, bStop);
}
