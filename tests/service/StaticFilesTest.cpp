// The staff page's files: served without a token outside /api, only from
// inside the web folder, with their content type; and the API still asks
// for a token.
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "ServiceFixture.h"
#include "ServiceMain.h"
#include "StaticFiles.h"

namespace {

class StaticFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_base = std::filesystem::temp_directory_path() / ("zr470-web-" + std::to_string(getpid()));
        m_root = m_base / "web";
        std::filesystem::remove_all(m_base);
        std::filesystem::create_directories(m_root / "img");
        Write(m_root / "index.html", "<!doctype html>");
        Write(m_root / "app.js", "x");
        Write(m_root / "img" / "a.svg", "<svg/>");
        Write(m_root / ".hidden", "no");
        Write(m_base / "secret.txt", "no");
        std::filesystem::create_symlink(m_base / "secret.txt", m_root / "escape.txt");
        std::filesystem::create_symlink(m_root / "app.js", m_root / "inside.js");
    }
    void TearDown() override { std::filesystem::remove_all(m_base); }

    static void Write(const std::filesystem::path& file, const std::string& strText)
    {
        std::ofstream(file) << strText;
    }

    std::filesystem::path m_base;
    std::filesystem::path m_root;
};

}  // namespace

TEST_F(StaticFilesTest, ServesOnlyFilesInsideTheFolder)
{
    struct Case {
        const char* pMethod;
        const char* pTarget;
        int nStatus;
        const char* pType;
    };
    const Case cases[] = {
        {"GET", "/", 200, "text/html; charset=utf-8"},
        {"HEAD", "/index.html?lang=zh", 200, "text/html; charset=utf-8"},
        {"GET", "/app.js", 200, "text/javascript; charset=utf-8"},
        {"GET", "/img/a.svg", 200, "image/svg+xml"},
        {"GET", "/img/", 404, nullptr},
        {"GET", "/inside.js", 200, "text/javascript; charset=utf-8"},
        {"GET", "/escape.txt", 404, nullptr},
        {"GET", "/../secret.txt", 404, nullptr},
        {"GET", "/img/%2e%2e/%2e%2e/secret.txt", 404, nullptr},
        {"GET", "/.hidden", 404, nullptr},
        {"GET", "/app.js%00.html", 404, nullptr},
        {"GET", "/%zz", 404, nullptr},
        {"GET", "/missing.css", 404, nullptr},
        {"POST", "/", 405, nullptr},
    };
    for (const Case& c : cases) {
        const StaticReply reply = ServeStaticFile(m_root, c.pMethod, c.pTarget);
        EXPECT_EQ(reply.nStatus, c.nStatus) << c.pTarget;
        if (c.pType) {
            EXPECT_EQ(reply.strContentType, c.pType) << c.pTarget;
        }
    }
    EXPECT_EQ(ServeStaticFile(m_root, "GET", "/app.js").strBody, "x");
    EXPECT_EQ(ServeStaticFile(m_root, "PUT", "/app.js").strAllow, "GET, HEAD");
    EXPECT_EQ(ServeStaticFile({}, "GET", "/").nStatus, 404);
}

TEST(StaticFilesRoute, PageOutsideApiAndWithoutToken)
{
    EXPECT_TRUE(IsPageTarget("/"));
    EXPECT_TRUE(IsPageTarget("/apix.js"));
    EXPECT_FALSE(IsPageTarget("/api"));
    EXPECT_FALSE(IsPageTarget("/api/rooms?x=1"));
}

TEST_F(StaticFilesTest, FolderInstalledBesideTheProgramOrNamed)
{
    std::filesystem::create_directories(m_base / "share" / "zr470" / "web");
    EXPECT_EQ(DefaultWebRoot(m_base / "bin" / "zr470d"), m_base / "share" / "zr470" / "web");
    EXPECT_TRUE(std::filesystem::exists(DefaultWebRoot("/nowhere/bin/zr470d") / "index.html"));  // the source tree's

    std::ostringstream out, err;
    const std::atomic<bool> bStop{true};
    const std::vector<std::string> args = {"--tokens", (m_base / "t.json").string(), "--device", "virtual",
                                           "--web", (m_base / "none").string()};
    EXPECT_EQ(RunZr470d(args, out, err, bStop), 1);
    EXPECT_EQ(err.str(), "zr470d: --web " + (m_base / "none").string() + ": no such folder\n");
}

TEST_F(ServiceTest, ServesThePageWithoutAToken)
{
    StopService();
    ServerOptions options = FastOptions();
    // Not installed: the page comes from the source tree.
    options.strWebRoot = DefaultWebRoot("/nowhere/bin/zr470d").string();
    StartService(options);
    EXPECT_EQ(test_client::Request(Port(), "GET", "/", "", "").nStatus, 200);
    EXPECT_EQ(test_client::Request(Port(), "GET", "/nothing-here", "", "").nStatus, 404);
    EXPECT_EQ(test_client::Request(Port(), "GET", "/api/rooms", "", "").nStatus, 401);
}
