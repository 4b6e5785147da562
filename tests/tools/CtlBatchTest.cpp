// zr470ctl batch: a script of commands over one connection to an emulated
// processor, as an installer applies a room's standard setup.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "CtlRun.h"
#include "DataDefine.h"
#include "EmulatorServer.h"
#include "Frame.h"
#include "TestPaths.h"
#include "VirtualProcessor.h"

namespace fs = std::filesystem;

class CtlBatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string strError;
        ASSERT_TRUE(m_server.Listen("127.0.0.1", 0, &strError)) << strError;
        m_thread = std::thread([this] { m_server.Serve(m_bStop); });
    }
    void TearDown() override
    {
        m_bStop = true;
        m_thread.join();
        fs::remove(m_script);
    }

    CtlRun Batch(const std::string& strScript, std::vector<std::string> options = {})
    {
        std::ofstream(m_script) << strScript;
        std::vector<std::string> args = {"--device", "tcp:127.0.0.1:" + std::to_string(m_server.Port()), "batch",
                                         m_script.string()};
        args.insert(args.end(), options.begin(), options.end());
        return RunArgs(args);
    }
    // Full reads of output 1's block: one per connection.
    int Connections() const
    {
        int nReads = 0;
        for (const auto& frame : m_device.ReceivedFrames())
            nReads += frame[kFoCommand] == kCmdRead && frame[kFoKind] == kKindOutput && frame[kFoChannel] == 0;
        return nReads;
    }

    // The next connection is answered through its full read and nAnswers
    // frames more, then never again. A probe counts the full read's frames:
    // those up to the last one that is not an idle level poll.
    void SilenceAfterFullRead(int nAnswers)
    {
        m_device.SetFaults({});
        m_device.ClearReceivedFrames();
        ASSERT_EQ(Batch("get 1 level\n").nExit, 0);
        const auto frames = m_device.ReceivedFrames();
        VirtualFaults faults;
        for (size_t i = 0; i < frames.size(); ++i) {
            if (!(frames[i][kFoKind] == kKindSystem && frames[i][kFoChannel] == kItemLevels))
                faults.nSilentAfter = static_cast<int>(i) + 1 + nAnswers;
        }
        m_device.SetFaults(faults);
    }

    CVirtualProcessor m_device;
    CEmulatorServer m_server{m_device};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
    fs::path m_script = fs::temp_directory_path() / ("zr470ctl-batch-" + std::to_string(getpid()) + ".txt");
};

TEST_F(CtlBatchTest, RunsEveryLineOverOneConnection)
{
    const CtlRun run = Batch("# a standard setup\n"
                               "set 1 level -6   # the mains\n"
                               "\n"
                               "set 2 eq5.gain 3.5\n"
                               "store 3 'Hall #2'\n"
                               "get 2 eq5.gain\n");
    EXPECT_EQ(run.nExit, 0) << run.strErr;
    EXPECT_EQ(run.strOut, "-6\n3.5\nprogram 3: Hall #2\n3.5\n");
    EXPECT_EQ(run.strErr, "");
    EXPECT_EQ(Connections(), 1);
    EXPECT_EQ(BytesToName(m_device.SceneProgram(3).data(), kNameSize), "Hall #2");
}

TEST_F(CtlBatchTest, StopsAtTheFirstFailureUnlessToldToKeepGoing)
{
    const std::string strScript = "set 1 level -3\n"
                                  "set 1 level 99\n"
                                  "set 1 bogus\n"
                                  "firmware x.bin\n"
                                  "set 1 level -4\n";
    CtlRun run = Batch(strScript);
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.strOut, "-3\n");
    EXPECT_EQ(run.strErr.rfind("zr470ctl: line 2: ", 0), 0u) << run.strErr;
    EXPECT_EQ(std::count(run.strErr.begin(), run.strErr.end(), '\n'), 1);

    run = Batch(strScript, {"--keep-going"});
    EXPECT_EQ(run.nExit, 1);  // the first failure's, though a usage error follows
    EXPECT_EQ(run.strOut, "-3\n-4\n");
    EXPECT_NE(run.strErr.find("line 3: set takes 3 arguments"), std::string::npos) << run.strErr;
    EXPECT_NE(run.strErr.find("line 4: firmware cannot run inside a batch"), std::string::npos);
}

TEST_F(CtlBatchTest, InputIsReadAsAnEditorSavesItAndEchoedOnlyInPart)
{
    const std::string strLong(1 << 20, 'x');
    const CtlRun run = Batch("\xEF\xBB\xBFset 1 level -6\n"
                             "set 1 level \x1b[2J\x07\n"
                             "set 1 " + strLong + " 1\n"
                             "demo\n",
                             {"--keep-going"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.strOut, "-6\n");
    EXPECT_NE(run.strErr.find("line 2: level \"\\x1b[2J\\x07\" refused"), std::string::npos) << run.strErr;
    EXPECT_EQ(run.strErr.find('\x1b'), std::string::npos);
    EXPECT_LT(run.strErr.size(), 1000u);
    EXPECT_NE(run.strErr.find("line 4: demo cannot run inside a batch"), std::string::npos) << run.strErr;
}

TEST(CtlBatchInput, AClosedStandardInputIsAnError)
{
    const std::string strCommand = std::string(Zr470CtlPath()) + " --device virtual batch - <&- 2>&1";
    FILE* pPipe = popen(strCommand.c_str(), "r");
    ASSERT_NE(pPipe, nullptr);
    std::string strOut;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pPipe))
        strOut += buffer;
    const int nStatus = pclose(pPipe);
    EXPECT_EQ(WEXITSTATUS(nStatus), 1) << strOut;
    EXPECT_EQ(strOut, "zr470ctl: cannot read the script from standard input: it is closed\n");
}

TEST_F(CtlBatchTest, JsonGivesOneResultObjectPerLine)
{
    const CtlRun run = Batch("set 1 mute on\nget 1 level\nrecall 11\n", {"--keep-going", "--json"});
    EXPECT_EQ(run.nExit, 1);
    std::istringstream lines(run.strOut);
    std::vector<std::string> objects;
    for (std::string strLine; std::getline(lines, strLine);)
        objects.push_back(strLine);
    ASSERT_EQ(objects.size(), 3u) << run.strOut;
    EXPECT_EQ(objects[1].rfind("{\"line\":2,\"exit\":0,\"result\":{\"channel\":1,\"param\":\"level\",\"value\":", 0),
              0u)
        << objects[1];
    EXPECT_EQ(objects[2].rfind("{\"line\":3,\"exit\":1,\"result\":null,\"error\":\"line 3: ", 0), 0u) << objects[2];
}

// Thousands of settings against a processor that asks for every fifth frame
// again and answers late: the last value of each setting is what the
// processor holds when the batch ends.
TEST_F(CtlBatchTest, TenThousandSettingsOverAFaultyLinkLeaveTheLastValues)
{
    VirtualFaults faults;
    faults.nResendEvery = 5;
    faults.nDelayMs = 2;
    m_device.SetFaults(faults);
    std::mt19937 random(470);
    std::map<std::string, std::string> last;  // "CH PARAM" -> value
    std::string strScript;
    for (int i = 0; i < 10000; ++i) {
        const int nChannel = 1 + static_cast<int>(random() % 6);
        const int nBand = static_cast<int>(random() % 32);  // 0: the level
        const std::string strParam = nBand == 0 ? "level" : "eq" + std::to_string(nBand) + ".gain";
        const int nTenths = static_cast<int>(random() % 301) - 200;
        const std::string strValue = nBand == 0 ? std::to_string(nTenths / 10)
                                                : (nTenths < 0 ? "-" : "") + std::to_string(std::abs(nTenths) / 10) +
                                                      "." + std::to_string(std::abs(nTenths) % 10);
        const std::string strTarget = std::to_string(nChannel) + " " + strParam;
        strScript += "set " + strTarget + " " + strValue + "\n";
        last[strTarget] = strValue;
    }
    const CtlRun run = Batch(strScript);
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    ASSERT_EQ(std::count(run.strOut.begin(), run.strOut.end(), '\n'), 10000);

    // A second connection reads every setting back from the processor.
    m_device.SetFaults({});
    std::string strGets;
    std::string strExpected;
    for (const auto& [strTarget, strValue] : last) {
        strGets += "get " + strTarget + "\n";
        strExpected += strValue + "\n";
    }
    const CtlRun read = Batch(strGets);
    ASSERT_EQ(read.nExit, 0) << read.strErr;
    EXPECT_EQ(read.strOut, strExpected);
}

// The processor falls silent in the middle of a run of settings: every
// line's exit status says whether the processor holds its value, the
// failure names how many were not confirmed, and without --keep-going the
// batch stops at the first line that was not.
TEST_F(CtlBatchTest, ALinkLostMidRunFailsExactlyTheLinesTheProcessorDidNotConfirm)
{
    std::vector<std::pair<std::string, std::string>> lines;  // target, value
    std::string strScript;
    for (int i = 0; i < 60; ++i) {
        // Later channels first, so that the link's sending order is not the script's.
        const std::string strTarget = std::to_string(6 - i % 6) + " eq" + std::to_string(1 + i / 6) + ".gain";
        lines.emplace_back(strTarget, "-" + std::to_string(1 + i % 9) + ".0");
        strScript += "set " + strTarget + " " + lines.back().second + "\n";
    }
    SilenceAfterFullRead(20);
    const CtlRun kept = Batch(strScript, {"--json", "--keep-going"});
    m_device.SetFaults({});
    std::string strGets;
    for (const auto& line : lines)
        strGets += "get " + line.first + "\n";
    const CtlRun read = Batch(strGets);
    ASSERT_EQ(read.nExit, 0) << read.strErr;

    std::istringstream held(read.strOut);
    std::istringstream reported(kept.strOut);
    int nOpen = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string strHeld;
        std::string strObject;
        std::getline(held, strHeld);
        std::getline(reported, strObject);
        const bool bConfirmed = strObject.find("\"exit\":0,") != std::string::npos;
        EXPECT_EQ(bConfirmed, strHeld == lines[i].second) << "line " << i + 1 << ": " << strObject;
        nOpen += bConfirmed ? 0 : 1;
    }
    ASSERT_GT(nOpen, 0);
    ASSERT_LT(nOpen, 60);
    EXPECT_EQ(kept.nExit, 1);
    EXPECT_NE(kept.strErr.find("Connection failure!"), std::string::npos) << kept.strErr;
    EXPECT_NE(kept.strErr.find(std::to_string(nOpen) + " parameters were not confirmed"), std::string::npos)
        << kept.strErr;

    // Without --keep-going the report ends with the first failed line.
    SilenceAfterFullRead(20);
    std::string strShifted;
    for (const auto& line : lines)
        strShifted += "set " + line.first + " 1.5\n";
    const CtlRun stopped = Batch(strShifted, {"--json"});
    EXPECT_EQ(stopped.nExit, 1);
    const size_t nLast = stopped.strOut.rfind("{\"line\":");
    ASSERT_NE(nLast, std::string::npos);
    EXPECT_EQ(stopped.strOut.find("\"exit\":1,"), stopped.strOut.find("\"exit\":", nLast)) << stopped.strOut;
    EXPECT_LT(std::count(stopped.strOut.begin(), stopped.strOut.end(), '\n'), 60);
}

TEST_F(CtlBatchTest, ASetWhoseLinkDiesBeforeTheAnswerFailsAndPrintsNoValue)
{
    SilenceAfterFullRead(0);
    const CtlRun set = RunArgs({"--device", "tcp:127.0.0.1:" + std::to_string(m_server.Port()), "set", "1", "level", "-5"});
    EXPECT_EQ(set.nExit, 1);
    EXPECT_EQ(set.strOut, "");
    EXPECT_NE(set.FirstErr().find("Connection failure!"), std::string::npos) << set.strErr;
    EXPECT_NE(set.FirstErr().find("1 parameter was not confirmed"), std::string::npos) << set.strErr;
}
