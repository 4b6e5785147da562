#include "EventsRequest.h"

#include "NumberText.h"
#include "Service.h"

namespace {

constexpr std::string_view kSubprotocol = "zr470";
constexpr std::string_view kBearerProtocol = "bearer.";

std::vector<std::string> SplitList(const std::string& strList)
{
    std::vector<std::string> items;
    size_t nStart = 0;
    while (nStart <= strList.size()) {
        const size_t nComma = std::min(strList.find(',', nStart), strList.size());
        std::string strItem = strList.substr(nStart, nComma - nStart);
        const size_t nFirst = strItem.find_first_not_of(' ');
        const size_t nLast = strItem.find_last_not_of(' ');
        items.push_back(nFirst == std::string::npos ? "" : strItem.substr(nFirst, nLast - nFirst + 1));
        nStart = nComma + 1;
    }
    return items;
}

ApiResponse Refusal(int nStatus, const std::string& strError)
{
    return {nStatus, {{"error", strError}, {"field", ""}}, {}};
}

// The token as an Authorization header value, from wherever it came.
std::string Credentials(const std::string& strTarget, const std::string& strAuthorization,
                        const std::string& strProtocols, bool* pSubprotocol)
{
    const size_t nQuery = strTarget.find('?');
    const std::string strQuery = nQuery == std::string::npos ? "" : strTarget.substr(nQuery + 1);
    bool bOffered = false;
    std::string strToken;
    for (const std::string& strProtocol : SplitList(strProtocols)) {
        bOffered = bOffered || strProtocol == kSubprotocol;
        if (strProtocol.starts_with(kBearerProtocol))
            strToken = strProtocol.substr(kBearerProtocol.size());
    }
    *pSubprotocol = bOffered;
    if (!strToken.empty())
        return "Bearer " + strToken;
    if (const std::string strQueryToken = QueryValue(strQuery, "token"); !strQueryToken.empty())
        return "Bearer " + strQueryToken;
    return strAuthorization;
}

}  // namespace

std::optional<ApiResponse> ReadEventsRequest(CService& service, const std::string& strTarget,
                                             const std::string& strAuthorization, const std::string& strProtocols,
                                             EventsRequest* pRequest)
{
    const std::optional<TokenEntry> caller =
        Authorize(service, Credentials(strTarget, strAuthorization, strProtocols, &pRequest->bSubprotocol));
    if (!caller)
        return Refusal(401, "a known token is needed: ?token=TOKEN or the subprotocols zr470, bearer.TOKEN");
    const size_t nQuery = strTarget.find('?');
    const std::string strQuery = nQuery == std::string::npos ? "" : strTarget.substr(nQuery + 1);
    pRequest->bLevels = QueryValue(strQuery, "levels") == "1";
    const std::string strRooms = QueryValue(strQuery, "rooms");
    if (strRooms.empty()) {
        for (ServiceRoom* pRoom : service.Rooms())
            if (MayUseRoom(*caller, pRoom->pWorker->Room().strName))
                pRequest->rooms.push_back(pRoom);
        return std::nullopt;
    }
    for (const std::string& strName : SplitList(strRooms)) {
        ServiceRoom* pRoom = service.FindRoom(strName);
        if (!pRoom)
            return Refusal(404, "no room \"" + EchoText(strName) + "\"");
        if (!MayUseRoom(*caller, pRoom->pWorker->Room().strName))
            return Refusal(403, "this token is not for room \"" + pRoom->pWorker->Room().strName + "\"");
        pRequest->rooms.push_back(pRoom);
    }
    return std::nullopt;
}
