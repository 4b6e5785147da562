// zr470d's command line and its tokens file: a token is shown once and only
// its hash is kept, in a file only its owner may read; without a token the
// service refuses to start and says how to make one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "ServiceArgs.h"
#include "ServiceMain.h"

namespace {

struct DaemonRun {
    int nStatus;
    std::string strOut;
    std::string strErr;
};

DaemonRun Zr470d(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const std::atomic<bool> bStop{true};
    const int nStatus = RunZr470d(args, out, err, bStop);
    return {nStatus, out.str(), err.str()};
}

}  // namespace

TEST(ServiceArgs, RefusesMistakes)
{
    const std::vector<std::vector<std::string>> mistakes = {
        {"--device", "virtual"},                                        // no tokens file
        {"--tokens", "t.json"},                                         // no rooms
        {"--tokens", "t.json", "--venue", "v.json", "--device", "virtual"},
        {"--tokens", "t.json", "--device", "virtual", "--listen", "8470"},
        {"--tokens", "t.json", "--device", "virtual", "--frames-port-base", "0"},
        {"--tokens", "t.json", "--device", "virtual", "--frames-listen", "0.0.0.0"},  // no port base
        {"--tokens", "t.json", "--device", "virtual", "--tls-cert", "c.pem"},
        {"--tokens", "t.json", "--add-token", "desk", "--role", "boss"},
        {"--tokens", "t.json", "--bogus"},
        {"--tokens"},
    };
    for (const auto& args : mistakes) {
        ServiceArgs parsed;
        std::string strError;
        EXPECT_FALSE(ParseServiceArgs(args, &parsed, &strError)) << args.back();
        EXPECT_FALSE(strError.empty());
    }
    ServiceArgs parsed;
    std::string strError;
    ASSERT_TRUE(ParseServiceArgs({"--tokens", "t", "--device", "virtual", "--listen", "[::1]:9000"}, &parsed, &strError));
    EXPECT_EQ(parsed.strListenHost, "::1");
    EXPECT_EQ(parsed.nListenPort, 9000);
    EXPECT_EQ(parsed.strName, "Room");
    EXPECT_EQ(parsed.nFramesPortBase, 0);
    ASSERT_TRUE(ParseServiceArgs({"--tokens", "t", "--device", "virtual", "--frames-port-base", "4770", "--frames-listen",
                                  "0.0.0.0"},
                                 &parsed, &strError));
    EXPECT_EQ(parsed.nFramesPortBase, 4770);
    EXPECT_EQ(parsed.strFramesListen, "0.0.0.0");
}

TEST(ServiceArgs, TokensAreShownOnceAndKeptAsHashes)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zr470d-tokens-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string strTokens = (folder / "tokens.json").string();

    const DaemonRun refused = Zr470d({"--tokens", strTokens, "--device", "virtual"});
    EXPECT_EQ(refused.nStatus, 1);
    EXPECT_NE(refused.strErr.find("--add-token NAME --role installer"), std::string::npos) << refused.strErr;

    const DaemonRun added = Zr470d({"--tokens", strTokens, "--add-token", "desk", "--role", "staff", "--rooms", "Room 1,Bar"});
    ASSERT_EQ(added.nStatus, 0) << added.strErr;
    const std::string strToken = added.strOut.substr(0, added.strOut.find('\n'));
    EXPECT_GE(strToken.size(), 32u);
    struct stat info {};
    ASSERT_EQ(stat(strTokens.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::ifstream file(strTokens);
    const std::string strFile((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(strFile.find(strToken), std::string::npos);
    EXPECT_EQ(Zr470d({"--tokens", strTokens, "--add-token", "desk", "--role", "staff"}).nStatus, 1);

    EXPECT_EQ(Zr470d({"--tokens", strTokens, "--list-tokens"}).strOut, "desk\tstaff\tRoom 1,Bar\n");
    EXPECT_EQ(Zr470d({"--tokens", strTokens, "--remove-token", "desk"}).nStatus, 0);
    EXPECT_EQ(Zr470d({"--tokens", strTokens, "--remove-token", "desk"}).nStatus, 1);
    EXPECT_EQ(Zr470d({"--tokens", strTokens, "--list-tokens"}).strOut, "");
    std::filesystem::remove_all(folder);
}
