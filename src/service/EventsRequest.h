// Who opens /api/events and what they want: the token (an Authorization
// header, ?token=, or the subprotocol pair ["zr470", "bearer.TOKEN"]), the
// rooms (?rooms=A,B; all the token may use when absent) and whether the
// meters come too (?levels=1).
//
// Threads: any.
#pragma once

#include <string>
#include <vector>

#include "ApiRoutes.h"

struct ServiceRoom;

struct EventsRequest {
    std::vector<ServiceRoom*> rooms;
    bool bLevels = false;
    bool bSubprotocol = false;  // answer with the subprotocol "zr470"
};

// Refused with the response to send instead of the upgrade.
std::optional<ApiResponse> ReadEventsRequest(CService& service, const std::string& strTarget,
                                             const std::string& strAuthorization, const std::string& strProtocols,
                                             EventsRequest* pRequest);
