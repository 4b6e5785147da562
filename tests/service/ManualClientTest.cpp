// The manual's Python WebSocket client, run as it stands there: it prints
// the room's state and then an API client's change. Debian's python3, which
// python3-websockets is for.
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "ServiceFixture.h"
#include "TestPaths.h"

namespace {

// The Python block of the manual's page on the venue service, as a browser
// shows it.
std::string ManualClient()
{
    std::ifstream file(std::filesystem::path(TestFixturesDir()) / ".." / ".." / "docs" / "manual" / "venue.html");
    const std::string strText((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string strOpen = "<pre class=\"python\">";
    const size_t nStart = strText.find(strOpen);
    if (nStart == std::string::npos)
        return {};
    const size_t nCode = nStart + strOpen.size();
    std::string strCode = strText.substr(nCode, strText.find("</pre>", nCode) - nCode);
    for (const auto& [strEntity, strChar] : {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
        for (size_t at = strCode.find(strEntity); at != std::string::npos; at = strCode.find(strEntity, at + 1))
            strCode.replace(at, strEntity.size(), strChar);
    return strCode;
}

std::string ReadLine(FILE* pPipe)
{
    char line[512] = {};
    return std::fgets(line, sizeof line, pPipe) ? std::string(line) : std::string();
}

}  // namespace

TEST_F(ServiceTest, ManualPythonClientPrintsTheEvents)
{
    const std::string strClient = ManualClient();
    ASSERT_FALSE(strClient.empty());
    const std::filesystem::path script = m_folder / "zr470d-events.py";
    std::ofstream(script) << strClient;
    // The shell tells its process id, then becomes the client.
    const std::string strCommand = "echo $$; exec timeout 20 /usr/bin/python3 '" + script.string() +
                                   "' 'ws://127.0.0.1:" + std::to_string(Port()) + "/api/events?rooms=Room%201' " +
                                   m_strInstaller;
    FILE* pPipe = popen(strCommand.c_str(), "r");
    ASSERT_NE(pPipe, nullptr);
    const pid_t nPid = std::stoi(ReadLine(pPipe));
    EXPECT_EQ(ReadLine(pPipe), "state Room 1\n");
    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", R"({"outputs":{"3":{"level":-8}}})").nStatus, 200);
    EXPECT_EQ(ReadLine(pPipe), "Room 1 3 level -8.0 api\n");
    kill(nPid, SIGTERM);
    pclose(pPipe);
}
