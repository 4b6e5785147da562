// openapi.json is true to the routes: every route served is in it, and
// every path and method in it is served (neither 404 nor 405).
#include "ApiRoutes.h"
#include "ServiceFixture.h"

namespace {

std::string Concrete(std::string strPath)
{
    const size_t nRoom = strPath.find("{room}");
    return nRoom == std::string::npos ? strPath : strPath.replace(nRoom, 6, "Room%201");
}

}  // namespace

TEST_F(ServiceTest, OpenApiIsTrueToTheRoutes)
{
    const test_client::Reply document = Call("GET", "/api/openapi.json");
    ASSERT_EQ(document.nStatus, 200);
    EXPECT_EQ(document.body["openapi"].get<std::string>().substr(0, 2), "3.");
    size_t nOperations = 0;
    for (const auto& [strPath, operations] : document.body["paths"].items()) {
        for (const auto& [strMethod, operation] : operations.items()) {
            ++nOperations;
            std::string strUpper = strMethod;
            for (char& c : strUpper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            const int nStatus = Call(strUpper, Concrete(strPath), "{}").nStatus;
            EXPECT_NE(nStatus, 404) << strMethod << " " << strPath;
            EXPECT_NE(nStatus, 405) << strMethod << " " << strPath;
        }
    }
    EXPECT_EQ(nOperations, ApiRoutes().size());
    for (const ApiRoute& route : ApiRoutes()) {
        std::string strMethod = route.pMethod;
        for (char& c : strMethod)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(document.body["paths"][route.pPath].contains(strMethod)) << route.pMethod << " " << route.pPath;
    }
}
