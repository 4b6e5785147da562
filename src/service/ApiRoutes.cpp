#include "ApiRoutes.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "DataDefine.h"
#include "NumberText.h"
#include "OpenApi.h"
#include "Processor.h"
#include "RoomPatch.h"
#include "Service.h"

namespace {

// One request on its way: who asks, about which room.
struct Call {
    CService& service;
    const ApiRequest& request;
    TokenEntry caller;
    ServiceRoom* pRoom = nullptr;
    ApiDone done;

    const std::string& RoomName() const { return pRoom->pWorker->Room().strName; }
    bool Staff() const { return caller.role == Role::kStaff; }
    Caller RoomCaller() const { return {Staff(), pRoom->pWorker->Room().staffMaxVolumeDb.value_or(0.0)}; }
};

ApiResponse Failure(int nStatus, const std::string& strError, const std::string& strField = {})
{
    return {nStatus, {{"error", strError}, {"field", strField}}, {}};
}

ApiResponse Failure(const ApiError& error)
{
    return Failure(error.nStatus, error.strError, error.strField);
}

ApiResponse Offline(const Call& call)
{
    return Failure(409, "room \"" + call.RoomName() + "\" is offline or busy");
}

// A room's state as the API shows it, from the worker's "state" event,
// with what a staff page needs besides: the limit and the outputs staff
// muted (which staff may unmute).
Json RoomView(CService& service, const ServiceRoom& room, Json state)
{
    const std::string& strName = room.pWorker->Room().strName;
    state.erase("type");
    state.erase("room");
    state["name"] = strName;
    state["staff_max_volume_db"] = room.pWorker->Room().staffMaxVolumeDb.value_or(0.0);
    Json staffMuted = Json::array();
    for (int nOutput = 1; nOutput <= kOutputs; ++nOutput)
        if (service.Mutes().MutedByStaff(strName, nOutput))
            staffMuted.push_back(nOutput);
    state["staff_muted"] = staffMuted;
    return state;
}

void GetRooms(Call& call)
{
    Json rooms = Json::array();
    for (ServiceRoom* pRoom : call.service.Rooms()) {
        if (!MayUseRoom(call.caller, pRoom->pWorker->Room().strName))
            continue;
        const Json state = pRoom->pWorker->State();
        rooms.push_back({{"name", pRoom->pWorker->Room().strName},
                         {"online", state.value("online", false)},
                         {"scene", state.value("scene", "")},
                         {"identification", state.value("identification", "")}});
    }
    call.done({200, {{"rooms", rooms}}, {}});
}

void GetRoom(Call& call)
{
    call.done({200, RoomView(call.service, *call.pRoom, call.pRoom->pWorker->State()), {}});
}

// Runs work on the room's thread when it is online (409 when not) and
// answers with what work returned once its changes are told.
void OnRoom(Call& call, std::function<ApiResponse(CProcessor&)> work)
{
    auto pResponse = std::make_shared<ApiResponse>();
    auto pCall = std::make_shared<Call>(call);
    RoomTask task;
    task.run = [pCall, pResponse, work](CProcessor& processor, bool bOnline) {
        *pResponse = bOnline ? work(processor) : Offline(*pCall);
    };
    task.then = [pCall, pResponse] {
        if (pResponse->nStatus == 200 && pResponse->body.is_null())
            pResponse->body = RoomView(pCall->service, *pCall->pRoom, pCall->pRoom->pWorker->State());
        pCall->done(*pResponse);
    };
    call.pRoom->pWorker->Post(std::move(task));
}

void PatchRoom(Call& call)
{
    auto pEdits = std::make_shared<std::vector<ParamEdit>>();
    if (auto error = ParsePatch(call.request.strBody, pEdits.get()))
        return call.done(Failure(*error));
    CService& service = call.service;
    const Caller caller = call.RoomCaller();
    const std::string strRoom = call.RoomName();
    OnRoom(call, [pEdits, &service, caller, strRoom](CProcessor& processor) {
        if (auto error = CheckPatch(processor, *pEdits, caller, service.Mutes(), strRoom))
            return Failure(*error);
        ApplyPatch(processor, *pEdits, caller, service.Mutes(), strRoom);
        return ApiResponse{};
    });
}

// The "program" of a recall or store body: 1 … 10.
std::optional<ApiError> ReadProgram(const Json& body, int* pProgram)
{
    const Json program = body.value("program", Json());
    if (!program.is_number_integer() || program.get<int>() < 1 || program.get<int>() > kScenePrograms)
        return ApiError{400, "program must be a whole number 1 … 10", "program"};
    *pProgram = program.get<int>();
    return std::nullopt;
}

void Recall(Call& call)
{
    Json body;
    int nProgram = 0;
    if (auto error = ParseBody(call.request.strBody, &body); error || (error = ReadProgram(body, &nProgram)))
        return call.done(Failure(*error));
    ServiceRoom* pRoom = call.pRoom;
    const bool bStaff = call.Staff();
    OnRoom(call, [pRoom, bStaff, nProgram, call](CProcessor& processor) {
        pRoom->bStaffRecall = bStaff;
        if (!processor.RecallProgram(nProgram))
            return Offline(call);
        return ApiResponse{200, {{"room", call.RoomName()}, {"recalled", nProgram}}, {}};
    });
}

std::string NameRefusal(ProgramNameCheck check)
{
    switch (check) {
    case ProgramNameCheck::kEmpty: return "the name is empty";
    case ProgramNameCheck::kAllSpaces: return "the name is all spaces";
    case ProgramNameCheck::kDoesNotFit: return "the name is too long for the processor";
    case ProgramNameCheck::kTaken: return "another program has this name";
    case ProgramNameCheck::kOk: break;
    }
    return {};
}

void Store(Call& call)
{
    Json body;
    int nProgram = 0;
    if (auto error = ParseBody(call.request.strBody, &body); error || (error = ReadProgram(body, &nProgram)))
        return call.done(Failure(*error));
    if (call.Staff())
        return call.done(Failure(403, "staff may not store programs"));
    const Json name = body.value("name", Json());
    if (!name.is_string())
        return call.done(Failure(400, "name must be a text", "name"));
    OnRoom(call, [nProgram, strName = name.get<std::string>()](CProcessor& processor) {
        bool bQueued = false;
        const ProgramNameCheck check = processor.StoreProgram(nProgram, strName, &bQueued);
        return check == ProgramNameCheck::kOk ? ApiResponse{} : Failure(400, NameRefusal(check), "name");
    });
}

void Levels(Call& call)
{
    const CRoomWorker& worker = *call.pRoom->pWorker;
    if (!worker.Online())
        return call.done(Offline(call));
    call.done({200, {{"room", call.RoomName()}, {"levels", worker.Levels()}}, {}});
}

void OpenApi(Call& call)
{
    call.done({200, OpenApiDocument(), {}});
}

void Events(Call& call)
{
    call.done(Failure(400, "/api/events is a WebSocket: ask for an upgrade"));
}

using Handler = void (*)(Call&);

struct Route {
    ApiRoute route;
    Handler handler;
};

const std::vector<Route>& RouteTable()
{
    static const std::vector<Route> kRoutes = {
        {{"GET", "/api/rooms"}, GetRooms},
        {{"GET", "/api/rooms/{room}"}, GetRoom},
        {{"PATCH", "/api/rooms/{room}"}, PatchRoom},
        {{"POST", "/api/rooms/{room}/recall"}, Recall},
        {{"POST", "/api/rooms/{room}/store"}, Store},
        {{"GET", "/api/rooms/{room}/levels"}, Levels},
        {{"GET", "/api/openapi.json"}, OpenApi},
        {{"GET", "/api/events"}, Events},
    };
    return kRoutes;
}

std::vector<std::string> Split(std::string_view path)
{
    std::vector<std::string> parts;
    size_t nStart = 0;
    while (nStart <= path.size()) {
        const size_t nSlash = std::min(path.find('/', nStart), path.size());
        parts.emplace_back(path.substr(nStart, nSlash - nStart));
        nStart = nSlash + 1;
    }
    return parts;
}

// Whether the path fits the template; *pRoom takes the {room} segment.
bool Matches(const std::vector<std::string>& parts, const char* pTemplate, std::string* pRoom)
{
    const std::vector<std::string> pattern = Split(pTemplate);
    if (pattern.size() != parts.size())
        return false;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (pattern[i] == "{room}")
            *pRoom = parts[i];
        else if (pattern[i] != parts[i])
            return false;
    }
    return true;
}

void Dispatch(Call& call, const std::vector<std::string>& parts)
{
    std::string strAllow;
    for (const Route& route : RouteTable()) {
        std::string strRoom;
        if (!Matches(parts, route.route.pPath, &strRoom))
            continue;
        if (call.request.strMethod != route.route.pMethod) {
            strAllow += (strAllow.empty() ? "" : ", ") + std::string(route.route.pMethod);
            continue;
        }
        if (!strRoom.empty() || std::string_view(route.route.pPath).find("{room}") != std::string_view::npos) {
            call.pRoom = call.service.FindRoom(strRoom);
            if (!call.pRoom)
                return call.done(Failure(404, "no room \"" + EchoText(strRoom) + "\""));
            if (!MayUseRoom(call.caller, call.RoomName()))
                return call.done(Failure(403, "this token is not for room \"" + call.RoomName() + "\""));
        }
        return route.handler(call);
    }
    if (!strAllow.empty())
        return call.done({405, {{"error", "method " + EchoText(call.request.strMethod) + " not allowed"}, {"field", ""}},
                          strAllow});
    call.done(Failure(404, "no such path"));
}

}  // namespace

const std::vector<ApiRoute>& ApiRoutes()
{
    static const std::vector<ApiRoute> kRoutes = [] {
        std::vector<ApiRoute> routes;
        for (const Route& route : RouteTable())
            routes.push_back(route.route);
        return routes;
    }();
    return kRoutes;
}

std::optional<std::string> UrlDecode(std::string_view text)
{
    std::string strOut;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            strOut += text[i];
        } else {
            if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
                return std::nullopt;
            strOut += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        }
    }
    return strOut;
}

std::string QueryValue(std::string_view query, std::string_view key)
{
    size_t nStart = 0;
    while (nStart <= query.size()) {
        const size_t nEnd = std::min(query.find('&', nStart), query.size());
        const std::string_view pair = query.substr(nStart, nEnd - nStart);
        const size_t nEqual = pair.find('=');
        if (pair.substr(0, nEqual) == key) {
            std::string strValue(nEqual == std::string_view::npos ? "" : pair.substr(nEqual + 1));
            std::replace(strValue.begin(), strValue.end(), '+', ' ');  // a form's space
            return UrlDecode(strValue).value_or("");
        }
        nStart = nEnd + 1;
    }
    return {};
}

std::optional<TokenEntry> Authorize(const CService& service, const std::string& strAuthorization)
{
    constexpr std::string_view kBearer = "bearer ";
    if (strAuthorization.size() <= kBearer.size() || ToLower(strAuthorization.substr(0, kBearer.size())) != kBearer)
        return std::nullopt;
    return service.Tokens().Find(strAuthorization.substr(kBearer.size()));
}

void HandleApiRequest(CService& service, const ApiRequest& request, const ApiDone& done)
{
    const std::string_view target = request.strTarget;
    const std::string_view path = target.substr(0, target.find('?'));
    std::vector<std::string> parts;
    for (const std::string& strRaw : Split(path)) {
        const std::optional<std::string> part = UrlDecode(strRaw);
        if (!part)
            return done(Failure(404, "no such path"));
        parts.push_back(*part);
    }
    const std::optional<TokenEntry> caller = Authorize(service, request.strAuthorization);
    if (!caller)
        return done(Failure(401, "a known token is needed: Authorization: Bearer TOKEN"));
    Call call{service, request, *caller, nullptr, done};
    Dispatch(call, parts);
}
