// Any request can reach the venue service: it is parsed, authorised,
// checked and applied to a virtual processor, and always answered once,
// within seconds, with one of the API's status codes; an error always says
// what and where. The same text as the target of an events upgrade is
// refused or accepted, never more; as a page's path it names a file of the
// staff page's folder or none.
//
// Input: byte 0 picks the method (bits 0-2) and the token (bits 3-4); the
// rest is the target, a newline, and the body.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <set>
#include <string>

#include "ApiRoutes.h"
#include "EventsRequest.h"
#include "Service.h"
#include "StaticFiles.h"

namespace {

struct Harness {
    std::string strInstaller;
    std::string strStaff;
    std::unique_ptr<CService> pService;

    Harness()
    {
        CTokenFile tokens;
        std::string strError;
        tokens.Add("installer", Role::kInstaller, {}, &strInstaller, &strError);
        tokens.Add("staff", Role::kStaff, {"Room"}, &strStaff, &strError);
        Venue venue;
        venue.rooms.push_back({"Room", "virtual", -10.0});
        venue.rooms.push_back({"Other", "virtual", std::nullopt});
        pService = std::make_unique<CService>(venue, std::move(tokens), "", CRoomWorker::Timing{});
        for (int i = 0; i < 500 && !pService->FindRoom("Room")->pWorker->Online(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
};

const std::set<int> kStatuses = {200, 400, 401, 403, 404, 405, 409};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static Harness harness;
    if (nSize < 1)
        return 0;
    static const char* const kMethods[] = {"GET", "PATCH", "POST", "PUT", "DELETE", "HEAD", "OPTIONS", "get"};
    const std::string strTokens[] = {harness.strInstaller, harness.strStaff, "", "bogus"};
    const std::string strRest(reinterpret_cast<const char*>(pData + 1), nSize - 1);
    const size_t nNewline = strRest.find('\n');
    ApiRequest request;
    request.strMethod = kMethods[pData[0] & 7];
    request.strTarget = strRest.substr(0, nNewline);
    request.strAuthorization = "Bearer " + strTokens[(pData[0] >> 3) & 3];
    request.strBody = nNewline == std::string::npos ? "" : strRest.substr(nNewline + 1);

    auto pAnswer = std::make_shared<std::promise<ApiResponse>>();
    auto nCalls = std::make_shared<std::atomic<int>>(0);
    HandleApiRequest(*harness.pService, request, [pAnswer, nCalls](ApiResponse response) {
        if (nCalls->fetch_add(1) == 0)
            pAnswer->set_value(std::move(response));
        else
            std::abort();  // answered twice
    });
    std::future<ApiResponse> answer = pAnswer->get_future();
    if (answer.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        std::abort();  // a stall
    const ApiResponse response = answer.get();
    if (!kStatuses.contains(response.nStatus))
        std::abort();
    if (response.nStatus != 200 && (!response.body.contains("error") || !response.body.contains("field")))
        std::abort();

    EventsRequest wanted;
    const auto refusal = ReadEventsRequest(*harness.pService, request.strTarget, request.strAuthorization,
                                           request.strBody.substr(0, 200), &wanted);
    if (refusal ? !kStatuses.contains(refusal->nStatus) : wanted.rooms.empty() || wanted.rooms.size() > 2)
        std::abort();

    static const std::filesystem::path web = DefaultWebRoot("/nowhere/bin/zr470d");
    const StaticReply page = ServeStaticFile(web, request.strMethod, request.strTarget);
    if (page.nStatus != 200 && page.nStatus != 404 && page.nStatus != 405)
        std::abort();
    return 0;
}
