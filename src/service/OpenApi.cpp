#include "OpenApi.h"

#include <string>

#include "ApiRoutes.h"
#include "NumberText.h"

namespace {

Json ErrorResponse(const char* pWhat)
{
    return {{"description", pWhat},
            {"content", {{"application/json", {{"schema", {{"$ref", "#/components/schemas/Error"}}}}}}}};
}

Json Responses(const std::string& strMethod, const std::string& strPath)
{
    Json responses = {{"200", {{"description", "done"}, {"content", {{"application/json", Json::object()}}}}},
                      {"401", ErrorResponse("no known token")},
                      {"404", ErrorResponse("unknown room or path")},
                      {"405", ErrorResponse("wrong method")}};
    if (strPath.find("{room}") != std::string::npos) {
        responses["403"] = ErrorResponse("the token's role or rooms do not allow it");
        responses["409"] = ErrorResponse("the room is offline or busy");
    }
    if (strMethod != "GET") {
        responses["400"] = ErrorResponse("bad JSON, unknown parameter or out of range");
        responses["413"] = ErrorResponse("a body over 64 KB");
    }
    if (strPath == "/api/events")
        responses["101"] = {{"description", "WebSocket of state and change events; ?rooms=A,B&levels=1&token=T"}};
    return responses;
}

Json Operation(const ApiRoute& route)
{
    const std::string strPath = route.pPath;
    Json operation = {{"responses", Responses(route.pMethod, strPath)}};
    if (strPath.find("{room}") != std::string::npos)
        operation["parameters"] = {{{"name", "room"}, {"in", "path"}, {"required", true},
                                    {"description", "the room's name, URL-encoded, matched ignoring case"},
                                    {"schema", {{"type", "string"}}}}};
    if (std::string(route.pMethod) != "GET")
        operation["requestBody"] = {{"required", true}, {"content", {{"application/json", Json::object()}}}};
    return operation;
}

}  // namespace

Json OpenApiDocument()
{
    Json paths = Json::object();
    for (const ApiRoute& route : ApiRoutes())
        paths[route.pPath][ToLower(route.pMethod)] = Operation(route);
    return {{"openapi", "3.0.3"},
            {"info", {{"title", "zr470d venue service"}, {"version", "1"}}},
            {"security", {{{"bearer", Json::array()}}}},
            {"components",
             {{"securitySchemes", {{"bearer", {{"type", "http"}, {"scheme", "bearer"}}}}},
              {"schemas",
               {{"Error",
                 {{"type", "object"},
                  {"properties", {{"error", {{"type", "string"}}}, {"field", {{"type", "string"}}}}}}}}}}},
            {"paths", paths}};
}
