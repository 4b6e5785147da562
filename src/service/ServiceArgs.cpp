#include "ServiceArgs.h"

#include <map>

#include "NumberText.h"

const char* const kServiceUsage =
    "usage: zr470d --venue FILE | --device D [--name ROOM] --tokens FILE [--listen ADDR:PORT]\n"
    "              [--frames-port-base N [--frames-listen ADDR]] [--tls-cert F --tls-key F] [--web DIR]\n"
    "       zr470d --tokens FILE --add-token NAME --role installer|staff [--rooms A,B]\n"
    "       zr470d --tokens FILE --list-tokens\n"
    "       zr470d --tokens FILE --remove-token NAME\n";

namespace {

bool ParsePort(const std::string& strText, int* pPort)
{
    return ParseWhole(strText, pPort) && *pPort >= 0 && *pPort <= 65535;
}

// Options that take a value, and where it goes.
std::map<std::string, std::string ServiceArgs::*> ValueOptions()
{
    return {{"--venue", &ServiceArgs::strVenue},        {"--device", &ServiceArgs::strDevice},
            {"--name", &ServiceArgs::strName},          {"--tokens", &ServiceArgs::strTokens},
            {"--frames-listen", &ServiceArgs::strFramesListen},
            {"--tls-cert", &ServiceArgs::strCert},      {"--tls-key", &ServiceArgs::strKey},
            {"--add-token", &ServiceArgs::strTokenName}, {"--remove-token", &ServiceArgs::strTokenName},
            {"--role", &ServiceArgs::strRole},          {"--rooms", &ServiceArgs::strRooms},
            {"--web", &ServiceArgs::strWeb}};
}

bool CheckCombination(const ServiceArgs& args, std::string* pError)
{
    if (args.strTokens.empty())
        *pError = "--tokens FILE is needed";
    else if (args.action == ServiceAction::kAddToken && args.strRole != "installer" && args.strRole != "staff")
        *pError = "--add-token needs --role installer or --role staff";
    else if (args.action == ServiceAction::kServe && args.strVenue.empty() == args.strDevice.empty())
        *pError = "name the rooms with --venue FILE or one processor with --device D";
    else if (args.bFramesListenGiven && args.nFramesPortBase == 0)
        *pError = "--frames-listen needs --frames-port-base N";
    else if (args.strCert.empty() != args.strKey.empty())
        *pError = "--tls-cert and --tls-key go together";
    return pError->empty();
}

}  // namespace

bool SplitHostPort(const std::string& strText, std::string* pHost, int* pPort)
{
    const size_t nColon = strText.rfind(':');
    if (nColon == std::string::npos || !ParsePort(strText.substr(nColon + 1), pPort))
        return false;
    std::string strHost = strText.substr(0, nColon);
    if (strHost.size() >= 2 && strHost.front() == '[' && strHost.back() == ']')
        strHost = strHost.substr(1, strHost.size() - 2);
    *pHost = strHost.empty() ? "127.0.0.1" : strHost;
    return true;
}

bool ParseServiceArgs(const std::vector<std::string>& args, ServiceArgs* pArgs, std::string* pError)
{
    const auto options = ValueOptions();
    ServiceArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& strOption = args[i];
        if (strOption == "--help" || strOption == "-h") {
            pArgs->action = ServiceAction::kHelp;
            return true;
        }
        if (strOption == "--list-tokens") {
            parsed.action = ServiceAction::kListTokens;
            continue;
        }
        const bool bKnown = options.contains(strOption) || strOption == "--listen" || strOption == "--frames-port-base";
        if (!bKnown) {
            *pError = "unknown option \"" + EchoText(strOption) + "\"";
            return false;
        }
        if (i + 1 >= args.size()) {
            *pError = strOption + " needs a value";
            return false;
        }
        const std::string& strValue = args[++i];
        if (strOption == "--listen" && !SplitHostPort(strValue, &parsed.strListenHost, &parsed.nListenPort)) {
            *pError = "--listen \"" + EchoText(strValue) + "\" refused: ADDRESS:PORT, e.g. 127.0.0.1:8470";
            return false;
        }
        if (strOption == "--frames-port-base" &&
            (!ParsePort(strValue, &parsed.nFramesPortBase) || parsed.nFramesPortBase == 0)) {
            *pError = "--frames-port-base \"" + EchoText(strValue) + "\" refused: a port 1 … 65535";
            return false;
        }
        if (options.contains(strOption))
            parsed.*options.at(strOption) = strValue;
        if (strOption == "--frames-listen")
            parsed.bFramesListenGiven = true;
        if (strOption == "--add-token")
            parsed.action = ServiceAction::kAddToken;
        if (strOption == "--remove-token")
            parsed.action = ServiceAction::kRemoveToken;
    }
    if (!CheckCombination(parsed, pError))
        return false;
    *pArgs = std::move(parsed);
    return true;
}
