// The HTTP API of the venue service, apart from the network: a request in,
// its answer out (through a callback, since a room answers on its own
// thread once its task is done).
//
//   GET   /api/rooms                    every room: name, online, scene, identification
//   GET   /api/rooms/{room}             the whole state, with staff_max_volume_db
//   PATCH /api/rooms/{room}             sparse settings, checked whole, then applied
//   POST  /api/rooms/{room}/recall      {"program": N}
//   POST  /api/rooms/{room}/store       {"program": N, "name": "…"}
//   GET   /api/rooms/{room}/levels      the output meters
//   GET   /api/openapi.json             the OpenAPI 3 document of these routes
//   GET   /api/events                   the WebSocket of live events (upgrade only)
//
// Every request carries "Authorization: Bearer TOKEN". Errors are
// {"error": …, "field": …} with 400, 401, 403, 404, 405, 409 (413 and 503
// come from the server).
//
// Threads: HandleApiRequest from any thread; done is called once, on the
// calling thread or on a room's thread.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "RoomJson.h"
#include "TokenFile.h"

class CService;

struct ApiRequest {
    std::string strMethod;  // "GET", …
    std::string strTarget;  // path and query, as sent
    std::string strAuthorization;
    std::string strBody;
};

struct ApiResponse {
    int nStatus = 200;
    Json body;
    std::string strAllow;  // for 405
};

using ApiDone = std::function<void(ApiResponse response)>;

void HandleApiRequest(CService& service, const ApiRequest& request, const ApiDone& done);

// The routes served: method and path template, e.g. "PATCH" "/api/rooms/{room}".
struct ApiRoute {
    const char* pMethod;
    const char* pPath;
};
const std::vector<ApiRoute>& ApiRoutes();

// The caller of a bearer token or a ?token=, when the token is known.
std::optional<TokenEntry> Authorize(const CService& service, const std::string& strAuthorization);
// %XX decoded; nullopt for a broken escape.
std::optional<std::string> UrlDecode(std::string_view text);
// The value of key in a query "a=1&b=2", decoded; empty when absent.
std::string QueryValue(std::string_view query, std::string_view key);
