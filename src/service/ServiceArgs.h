// zr470d's command line.
//
//   zr470d --venue FILE | --device D [--name ROOM] --tokens FILE [--listen ADDR:PORT]
//          [--frames-port-base N [--frames-listen ADDR]] [--tls-cert F --tls-key F] [--web DIR]
//   zr470d --tokens FILE --add-token NAME --role installer|staff [--rooms A,B]
//   zr470d --tokens FILE --list-tokens
//   zr470d --tokens FILE --remove-token NAME
//
// Threads: pure functions.
#pragma once

#include <string>
#include <vector>

enum class ServiceAction { kServe, kAddToken, kListTokens, kRemoveToken, kHelp };

struct ServiceArgs {
    ServiceAction action = ServiceAction::kServe;
    std::string strVenue;
    std::string strDevice;
    std::string strName = "Room";
    std::string strTokens;
    std::string strListenHost = "127.0.0.1";
    int nListenPort = 8470;
    int nFramesPortBase = 0;  // 0: no frame ports; else room i (from 0) on this port + i
    std::string strFramesListen = "127.0.0.1";
    bool bFramesListenGiven = false;
    std::string strCert;
    std::string strKey;
    std::string strWeb;  // the staff page's folder; empty: where it is installed
    std::string strTokenName;  // --add-token, --remove-token
    std::string strRole;
    std::string strRooms;
};

// False with one line for the user.
bool ParseServiceArgs(const std::vector<std::string>& args, ServiceArgs* pArgs, std::string* pError);
// "HOST:PORT", "[V6]:PORT" → its parts; false when it is neither.
bool SplitHostPort(const std::string& strText, std::string* pHost, int* pPort);
extern const char* const kServiceUsage;
