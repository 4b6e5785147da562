// The frame port: zr470ctl talks to a room through the service as if to its
// processor; what it writes (a store too) becomes the room's state, told as
// the editor's; what the API set is what it reads; bad input changes nothing.
#include "CtlRun.h"
#include "FramePort.h"
#include "ServiceFixture.h"
#include "TcpTransport.h"

class FramePortTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        m_pPort = std::make_unique<CFramePort>(*m_pService->FindRoom("Room 1")->pWorker);
        std::string strError;
        ASSERT_TRUE(m_pPort->Listen("127.0.0.1", 0, &strError)) << strError;
        m_pPort->Start();
    }
    void TearDown() override
    {
        m_pPort.reset();
        ServiceTest::TearDown();
    }
    CtlRun Ctl(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--device", "tcp:127.0.0.1:" + std::to_string(m_pPort->Port())});
        return RunArgs(args);
    }
    template <typename Condition>
    static bool Eventually(Condition bMet)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!bMet() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return bMet();
    }
    Json Output(int nChannel, const std::string& strParam)
    {
        return Call("GET", "/api/rooms/Room%201").body["outputs"][std::to_string(nChannel)][strParam];
    }

    std::unique_ptr<CFramePort> m_pPort;
};

TEST_F(FramePortTest, ASetIsTheEditorsChangeAndAGetReadsWhatTheApiSet)
{
    test_client::CWsClient ws;
    ASSERT_TRUE(ws.Open(Port(), "/api/events?rooms=Room%201&token=" + m_strInstaller));
    const CtlRun set = Ctl({"set", "2", "level", "-6"});
    ASSERT_EQ(set.nExit, 0) << set.strErr;
    EXPECT_TRUE(ws.NextWhere([](const Json& m) {
        return m["type"] == "change" && m["channel"] == 2 && m["param"] == "level" && m["value"] == -6.0 &&
               m["source"] == "editor";
    }));
    EXPECT_EQ(Output(2, "level"), -6.0);

    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", R"({"outputs":{"3":{"level":-9}}})").nStatus, 200);
    const CtlRun get = Ctl({"get", "3", "level"});
    EXPECT_EQ(get.nExit, 0) << get.strErr;
    EXPECT_EQ(get.strOut, "-9\n");
}

TEST_F(FramePortTest, ScenesTravelBothWays)
{
    const std::string strScene = (m_folder / "hall.zr4c").string();
    const CtlRun read = Ctl({"read-scene", strScene});
    ASSERT_EQ(read.nExit, 0) << read.strErr;
    const Json before = Output(1, "level");
    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", R"({"outputs":{"1":{"level":-20}}})").nStatus, 200);
    const CtlRun write = Ctl({"write-scene", strScene});
    ASSERT_EQ(write.nExit, 0) << write.strErr;
    EXPECT_TRUE(Eventually([&] { return Output(1, "level") == before; }));
    // A store is no plain write of the live settings: the room is read again.
    ASSERT_EQ(Ctl({"store", "3", "Bar"}).nExit, 0);
    EXPECT_TRUE(Eventually([&] { return Call("GET", "/api/rooms/Room%201").body["programs"][2] == "Bar"; }));
}

TEST_F(FramePortTest, GarbageAndASecondClientChangeNothing)
{
    const Json before = Call("GET", "/api/rooms/Room%201").body;
    std::unique_ptr<CTcpTransport> pClient = CTcpTransport::Connect("127.0.0.1", m_pPort->Port(), nullptr);
    ASSERT_TRUE(pClient);
    uint8_t report[65] = {};
    for (int nRecord = 0; nRecord < 40; ++nRecord) {
        for (int i = 1; i < 65; ++i)
            report[i] = static_cast<uint8_t>(nRecord * 64 + i * 37 + (i % 3 == 0 ? 0x5C : 0xEE));
        ASSERT_EQ(pClient->WriteReport(report, 1000), IoResult::Ok);
    }
    // The port serves one client: another is turned away at once.
    const CtlRun refused = Ctl({"get", "1", "level"});
    EXPECT_NE(refused.nExit, 0);
    pClient->Close();  // in the middle of a frame
    EXPECT_EQ(Call("GET", "/api/rooms/Room%201").body, before);
    EXPECT_TRUE(m_pService->FindRoom("Room 1")->pWorker->Online());
    EXPECT_EQ(Ctl({"get", "1", "level"}).nExit, 0);
}
