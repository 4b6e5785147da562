// zr470ctl run as from the shell against an emulated processor on the
// loopback interface: what each command leaves on the processor, what it
// prints, and that refused input never reaches it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <sstream>
#include <thread>

#include "CtlJson.h"
#include "CtlMain.h"
#include "CtlRun.h"
#include "CtlVersion.h"
#include "DataDefine.h"
#include "EmulatorServer.h"
#include "Frame.h"
#include "FrameBuilder.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "PresetFile.h"
#include "ReportReaders.h"
#include "RoomFixture.h"
#include "VirtualProcessor.h"

namespace fs = std::filesystem;

namespace {

int Lines(const std::string& str)
{
    return static_cast<int>(std::count(str.begin(), str.end(), '\n'));
}

const uint8_t* OutputBlock(const std::vector<uint8_t>& image, int nOutput)
{
    return image.data() + kOffOutput + kOutBlockSize * nOutput;
}

// The name as the program list shows it.
std::string NameOf(const std::vector<uint8_t>& image)
{
    return BytesToName(image.data(), kNameSize);
}

// The system-item writes of this item the processor received.
std::vector<std::vector<uint8_t>> ItemWrites(const CVirtualProcessor& device, int nItem)
{
    std::vector<std::vector<uint8_t>> writes;
    for (const auto& frame : device.ReceivedFrames()) {
        if (frame[kFoCommand] == kCmdWrite && frame[kFoKind] == kKindSystem && frame[kFoChannel] == nItem)
            writes.push_back(frame);
    }
    return writes;
}

// The printed JSON; null when it is not JSON.
Json JsonOf(const std::string& strText)
{
    return Json::parse(strText, nullptr, false);
}

// The equalizer words of output nOutput that a band of eq-fit's JSON makes.
void ExpectFittedBand(const std::vector<uint8_t>& image, int nOutput, int nBand, const Json& band)
{
    const uint8_t* pGroup = OutputBlock(image, nOutput) + kGroupSize * nBand;
    EXPECT_EQ(GetWord(pGroup), band.value("freq_hz", -1)) << nOutput << " band " << nBand;
    EXPECT_EQ(GetWord(pGroup + 2), GainToCode(band.value("gain_db", -99.0)) + kGainWireOffset) << nOutput;
    EXPECT_EQ(GetWord(pGroup + 4), BandwidthToCode(band.value("bw_oct", -1.0))) << nOutput << " band " << nBand;
}

}  // namespace

class CtlCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string strError;
        ASSERT_TRUE(m_server.Listen("127.0.0.1", 0, &strError)) << strError;
        m_thread = std::thread([this] { m_server.Serve(m_bStop); });
        m_folder = fs::temp_directory_path() /
                   ("zr470ctl-test-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
    }
    void TearDown() override
    {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
        fs::remove_all(m_folder);
    }

    CtlRun Ctl(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--device", "tcp:127.0.0.1:" + std::to_string(m_server.Port())});
        return RunArgs(args);
    }
    // Runs a command that must succeed and returns what it printed.
    std::string Ok(const std::vector<std::string>& args)
    {
        const CtlRun run = Ctl(args);
        EXPECT_EQ(run.nExit, 0) << run.strErr;
        return run.strOut;
    }
    std::string File(const char* pName) const { return (m_folder / pName).string(); }

    CVirtualProcessor m_device;
    CEmulatorServer m_server{m_device};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
    fs::path m_folder;
};

TEST_F(CtlCommandsTest, SetGoesThroughTheModelToTheProcessorAndGetReadsItBack)
{
    EXPECT_EQ(Ok({"set", "2", "eq5.gain", "6.5"}), "6.5\n");
    EXPECT_EQ(Ok({"get", "2", "eq5.gain"}), "6.5\n");
    // Output 2, band 5's group: gain code 265 plus the wire offset.
    EXPECT_EQ(GetWord(OutputBlock(m_device.LiveImage(), 1) + kGroupSize * 4 + 2), 665);
    EXPECT_EQ(Ok({"--json", "get", "2", "eq5.gain"}), "{\"channel\":2,\"param\":\"eq5.gain\",\"value\":6.5}\n");
    EXPECT_EQ(Ok({"get", "2", "eq5.bypass", "--json"}), "{\"channel\":2,\"param\":\"eq5.bypass\",\"value\":false}\n");
}

TEST_F(CtlCommandsTest, RefusedInputSendsNothing)
{
    const std::vector<std::vector<std::string>> refused = {
        {"set", "1", "level", "11"},    {"set", "1", "eq32.gain", "1"}, {"set", "7", "level", "0"},
        {"set", "1", "delay.5", "1"},   {"set", "0", "source", "dvd"},  {"get", "0", "level"},
        {"store", "11", "Hall"},        {"store", "1", ""},             {"store", "1", "   "},
        {"store", "1", "FourteenChars!"}, {"recall", "0"},               {"delete", "x"},
        {"write-scene", File("missing.ZR4C")}, {"restore", File("missing.ZR4AC")},
    };
    for (const auto& args : refused) {
        const CtlRun run = Ctl(args);
        EXPECT_EQ(run.nExit, 1) << args[0] << " " << args.back();
        EXPECT_EQ(Lines(run.strErr), 1) << run.strErr;
        EXPECT_EQ(run.strOut, "");
    }
    EXPECT_EQ(m_device.FramesReceived(), 0);
    EXPECT_EQ(Ctl({"store", "1", ""}).strErr, "zr470ctl: The name can not be empty!\n");
    EXPECT_EQ(Ctl({"store", "1", "  "}).strErr, "zr470ctl: The name can not be all spaces!\n");
    EXPECT_EQ(Ctl({"write-scene", File("missing.ZR4C")}).strErr.rfind("zr470ctl: Read MusicFile  Error", 0), 0u);
}

TEST_F(CtlCommandsTest, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(RunArgs({}).nExit, 2);
    EXPECT_EQ(RunArgs({"firmware"}).nExit, 2);
    EXPECT_EQ(RunArgs({"get", "1"}).nExit, 2);
    EXPECT_EQ(RunArgs({"emulate", "--listen"}).nExit, 2);
    EXPECT_EQ(m_device.FramesReceived(), 0);
}

TEST_F(CtlCommandsTest, StoreNamesTheProgramAndRefusesAnotherProgramsName)
{
    EXPECT_EQ(Ok({"set", "1", "level", "-6"}), "-6\n");
    EXPECT_EQ(Ok({"store", "3", "Hall"}), "program 3: Hall\n");
    const std::vector<uint8_t> program = m_device.SceneProgram(3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(program.data()), 5), std::string("Hall\0", 5));
    // The live scene is program 3 now and keeps its name.
    EXPECT_EQ(NameOf(m_device.LiveImage()), "Hall");
    EXPECT_EQ(GetWord(OutputBlock(program, 0) + 250), 54);  // the live settings went with it

    // The name comes back from the processor padded with spaces, and is
    // still the same name.
    const std::vector<uint8_t> before = m_device.SceneProgram(4);
    const CtlRun again = Ctl({"store", "4", "Hall"});
    EXPECT_EQ(again.nExit, 1);
    EXPECT_EQ(again.strErr, "zr470ctl: Have been the same name!\n");
    EXPECT_EQ(m_device.SceneProgram(4), before);
    // Storing under the program's own name is no clash; case counts.
    EXPECT_EQ(Ok({"store", "3", "Hall"}), "program 3: Hall\n");
    EXPECT_EQ(Ok({"store", "4", "hall"}), "program 4: hall\n");
}

TEST_F(CtlCommandsTest, RecallLoadsTheProgramAndDeleteBlanksOnlyItsName)
{
    std::vector<uint8_t> program = m_device.SceneProgram(4);
    PutWord(program.data() + kOffOutput + 5 * kOutBlockSize + 250, 12);
    std::memcpy(program.data(), "Club\0", 5);
    m_device.SetSceneProgram(4, program);

    EXPECT_EQ(Ok({"--json", "recall", "4"}), "{\"program\":4,\"name\":\"Club\"}\n");
    EXPECT_EQ(GetWord(OutputBlock(m_device.LiveImage(), 5) + 250), 12);
    EXPECT_EQ(Ok({"get", "6", "level"}), "-48\n");

    EXPECT_EQ(Ok({"delete", "4"}), "program 4: deleted Club\n");
    const std::vector<uint8_t> after = m_device.SceneProgram(4);
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + kNameSize), std::vector<uint8_t>(kNameSize, 0));
    EXPECT_EQ(GetWord(OutputBlock(after, 5) + 250), 12);

    // A program without a name is recalled as the editor does, with a warning.
    const CtlRun unnamed = Ctl({"recall", "4"});
    EXPECT_EQ(unnamed.nExit, 0);
    EXPECT_EQ(unnamed.strErr, "zr470ctl: warning: program 4 has no name and may never have been stored\n");
    EXPECT_EQ(Ok({"get", "6", "level"}), "-48\n");
}

TEST_F(CtlCommandsTest, SceneFileRoundTripRestoresTheSettingsAndNamesTheScene)
{
    Ok({"set", "1", "level", "-6"});
    EXPECT_EQ(Ok({"read-scene", File("studio")}), File("studio.ZR4C") + "\n");
    ASSERT_TRUE(fs::exists(File("studio.ZR4C")));
    EXPECT_EQ(NameOf(m_device.LiveImage()), "studio");

    Ok({"set", "1", "level", "0"});
    EXPECT_EQ(Ok({"write-scene", File("studio.ZR4C")}), File("studio.ZR4C") + "\n");
    EXPECT_EQ(Ok({"get", "1", "level"}), "-6\n");
    EXPECT_EQ(NameOf(m_device.LiveImage()), "studio");
    // The mute bracket around the write left the outputs as they were.
    EXPECT_EQ(OutputBlock(m_device.LiveImage(), 0)[248], 0);
}

TEST_F(CtlCommandsTest, BackupAndRestoreCarryTheProgramsAndTheDelays)
{
    Ok({"store", "2", "Two"});
    Ok({"set", "3", "delay.2", "1.5"});
    EXPECT_EQ(Ok({"backup", File("all")}), File("all.ZR4AC") + "\n");
    EXPECT_EQ(fs::file_size(File("all.ZR4AC")), kAllScenesFileSize);

    Ok({"delete", "2"});
    Ok({"set", "3", "delay.2", "0"});
    EXPECT_EQ(Ok({"restore", File("all.ZR4AC")}), File("all.ZR4AC") + "\n");
    EXPECT_EQ(NameOf(m_device.SceneProgram(2)), "Two");
    EXPECT_EQ(GetWord(m_device.DelayTable().data() + 2 * (kOutputs * 1 + 2)), 72);
}

TEST_F(CtlCommandsTest, ProcessorWideSettingsTravelAsTheirSystemItems)
{
    EXPECT_EQ(Ok({"set", "0", "source", "bluetooth"}), "bluetooth\n");
    const auto controls = ItemWrites(m_device, kItemControl);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0][kFoPayload], 3);
    EXPECT_EQ(Ok({"get", "0", "source"}), "bluetooth\n");

    EXPECT_EQ(Ok({"set", "0", "position", "3"}), "3\n");
    EXPECT_EQ(m_device.DelayTable()[kDelaySelectedByte], 2);
    EXPECT_EQ(Ok({"set", "6", "delay.3", "20"}), "20\n");
    EXPECT_EQ(GetWord(m_device.DelayTable().data() + 2 * (kOutputs * 2 + 5)), kDelayMax);

    EXPECT_EQ(Ok({"set", "0", "noisegate", "-60"}), "-60\n");
    EXPECT_EQ(m_device.LiveImage()[kOffMusic + 88], 60);
}

TEST_F(CtlCommandsTest, MusicVolumeStaysWithinTheProcessorsRange)
{
    // The emulated processor reports 40 … 90, which every load enforces;
    // the editor's fader ends at 70. In the editor's dB (index − 60) both
    // refusals name the same range.
    for (const char* pRefused : {"-50", "20", "off"}) {
        const CtlRun run = Ctl({"set", "0", "volume", pRefused});
        EXPECT_EQ(run.nExit, 1);
        EXPECT_NE(run.strErr.find("-20 to 10"), std::string::npos) << run.strErr;
    }
    EXPECT_EQ(Ok({"get", "0", "volume"}), "0\n");
    EXPECT_EQ(Ok({"--json", "set", "0", "VOLUME", "-5"}), "{\"channel\":0,\"param\":\"volume\",\"value\":-5}\n");
    EXPECT_EQ(GetWord(m_device.LiveImage().data() + kOffMusic + 78), 55);
}

TEST_F(CtlCommandsTest, MusicVolumeLeavesOffWhenSet)
{
    // A processor whose music volume may reach 0, and is there.
    CKTV_Data scratch;
    scratch.State().m_SysBytes[39] = 0;
    const std::unique_ptr<CSendData> minimum = MakeSysFrame(scratch.State(), 39, 0);
    m_device.Receive(minimum->Frame(), static_cast<size_t>(minimum->Length()));
    std::vector<uint8_t> live = m_device.LiveImage();
    PutWord(live.data() + kOffMusic + 78, 0);
    m_device.SetLiveImage(live);

    EXPECT_EQ(Ok({"get", "0", "volume"}), "off\n");
    EXPECT_EQ(Ok({"set", "0", "volume", "-5"}), "-5\n");
    EXPECT_EQ(GetWord(m_device.LiveImage().data() + kOffMusic + 78), 55);
    EXPECT_EQ(Ok({"set", "0", "volume", "off"}), "off\n");
    EXPECT_EQ(GetWord(m_device.LiveImage().data() + kOffMusic + 78), 0);
}

TEST_F(CtlCommandsTest, SettingsTheEditorWouldNotAllowAreRefusedOnceKnown)
{
    // The emulated outputs start with the graphic equalizer.
    CtlRun run = Ctl({"set", "1", "eq3.freq", "100"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.strErr.find("graphic equalizer"), std::string::npos) << run.strErr;
    EXPECT_EQ(Ok({"set", "1", "eqmode", "peq"}), "peq\n");
    EXPECT_EQ(Ok({"set", "1", "eq3.freq", "100"}), "100\n");
    EXPECT_EQ(GetWord(OutputBlock(m_device.LiveImage(), 0) + kGroupSize * 2), 100);

    EXPECT_EQ(Ok({"set", "1", "lpf.freq", "4000"}), "4000\n");
    run = Ctl({"set", "1", "hpf.freq", "5000"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(Ok({"get", "1", "hpf.freq"}), "20\n");

    run = Ctl({"set", "1", "eq3.bypass", "off"});  // 0.0 dB keeps a band bypassed
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(Ok({"get", "1", "eq3.bypass"}), "on\n");
}

TEST_F(CtlCommandsTest, InfoListsProgramsAndOutputs)
{
    Ok({"store", "1", "Lobby"});
    Ok({"set", "2", "mute", "on"});
    const std::string strJson = Ok({"--json", "info"});
    EXPECT_EQ(strJson.rfind("{\"identification\":\"SVH1-WV1.00\",\"variant\":1,\"device\":\"TCP 127.0.0.1:", 0), 0u)
        << strJson;
    EXPECT_NE(strJson.find("{\"number\":1,\"name\":\"Lobby\"}"), std::string::npos);
    EXPECT_NE(strJson.find("{\"channel\":2,\"name\":\"FR\",\"level\":0,\"mute\":true}"), std::string::npos);
    const std::string strText = Ok({"info"});
    EXPECT_NE(strText.find("program 1       Lobby\n"), std::string::npos) << strText;
    EXPECT_EQ(Lines(strText), 4 + 10 + 6);
}

TEST_F(CtlCommandsTest, LinkFailuresUseTheSystemsMessage)
{
    m_bStop = true;  // the port still takes connections, but nobody answers
    m_thread.join();
    CtlRun run = Ctl({"info"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.strErr.rfind("zr470ctl: Connection failure! (", 0), 0u) << run.strErr;
    EXPECT_EQ(Lines(run.strErr), 1);
    EXPECT_EQ(run.strOut, "");

    run = RunArgs({"--device", "tcp:127.0.0.1:1", "get", "1", "level"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.strErr.rfind("zr470ctl: Connection failure! (cannot connect", 0), 0u) << run.strErr;
}

TEST_F(CtlCommandsTest, AWrongIdentificationIsAConnectionFailure)
{
    VirtualFaults faults;
    faults.strWrongId = "ABCD-XY9.99";
    m_device.SetFaults(faults);
    const CtlRun run = Ctl({"set", "1", "level", "0"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.strErr, "zr470ctl: Connection failure! (the processor did not identify as SVH1-WV1.00)\n");
    for (const auto& frame : m_device.ReceivedFrames())
        EXPECT_NE(frame[kFoCommand], kCmdWrite);
}

TEST_F(CtlCommandsTest, ResponseSumsTheOutputsBandsOffline)
{
    std::vector<uint8_t> image = m_device.LiveImage();
    uint8_t* pBand = image.data() + kOffOutput + kOutBlockSize * 2 + kGroupSize * 17;
    PutWord(pBand, 1000);
    PutWord(pBand + 2, GainToCode(6.0) + kGainWireOffset);
    PutWord(pBand + 4, BandwidthToCode(1.0));
    std::vector<uint8_t> file;
    file.push_back(static_cast<uint8_t>(kSceneFileTag.size()));
    for (char c : kSceneFileTag)
        file.push_back(static_cast<uint8_t>(c));
    file.insert(file.end(), image.begin(), image.end());
    std::ofstream(File("peak.ZR4C"), std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                            static_cast<std::streamsize>(file.size()));

    const CtlRun run = RunArgs({"response", File("peak.ZR4C"), "3"});
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    std::istringstream lines(run.strOut);
    double dFreq = 0.0, dDb = 0.0, dPeakFreq = 0.0, dPeakDb = -100.0;
    std::vector<double> freqs;
    while (lines >> dFreq >> dDb) {
        freqs.push_back(dFreq);
        if (dDb > dPeakDb) {
            dPeakDb = dDb;
            dPeakFreq = dFreq;
        }
    }
    // Readers get the stored axis back, to tell points apart and decide ties.
    EXPECT_EQ(freqs, std::vector<double>(g_dFreqAxis.begin(), g_dFreqAxis.end()));
    EXPECT_NEAR(dPeakDb, 6.0, 0.1);
    EXPECT_NEAR(dPeakFreq, 1000.0, 40.0);
    const CtlRun json = RunArgs({"--json", "response", File("peak.ZR4C"), "3"});
    std::istringstream points(json.strOut.substr(json.strOut.find("[[") + 1));
    std::vector<double> jsonFreqs;
    char cOpen = 0, cComma = 0, cClose = 0, cNext = ',';
    while (cNext == ',' && points >> cOpen >> dFreq >> cComma >> dDb >> cClose >> cNext)
        jsonFreqs.push_back(dFreq);
    EXPECT_EQ(jsonFreqs, freqs);
    // Another output of the same file is flat.
    std::istringstream flat(RunArgs({"response", File("peak.ZR4C"), "1"}).strOut);
    double dLoudest = 0.0;
    while (flat >> dFreq >> dDb)
        dLoudest = std::max(dLoudest, std::fabs(dDb));
    EXPECT_EQ(dLoudest, 0.0);

    EXPECT_EQ(RunArgs({"response", File("peak.ZR4C"), "7"}).nExit, 1);
    file.push_back(0);  // one byte too many: not a file this program wrote
    std::ofstream(File("long.ZR4C"), std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                            static_cast<std::streamsize>(file.size()));
    const CtlRun bad = RunArgs({"response", File("long.ZR4C"), "1"});
    EXPECT_EQ(bad.nExit, 1);
    EXPECT_EQ(bad.strOut, "");
}

TEST(CtlDevices, AnEmptyListIsAnAnswer)
{
    const CtlRun json = RunArgs({"--json", "devices"});
    EXPECT_EQ(json.nExit, 0) << json.strErr;
    const Json list = JsonOf(json.strOut);
    ASSERT_TRUE(list.is_array()) << json.strOut;
    const CtlRun text = RunArgs({"devices"});
    EXPECT_EQ(text.nExit, 0) << text.strErr;
    if (list.empty())
        EXPECT_EQ(text.strOut, "no processor attached on USB\n");
    else
        EXPECT_EQ(static_cast<size_t>(Lines(text.strOut)), list.size());
}

TEST(CtlHelp, HelpAndVersionPrintOnStandardOutputAndSucceed)
{
    for (const char* pOption : {"--help", "-h"}) {
        const CtlRun run = RunArgs({pOption});
        EXPECT_EQ(run.nExit, 0) << pOption;
        EXPECT_EQ(run.strOut.rfind("usage: zr470ctl", 0), 0u) << pOption;
        EXPECT_EQ(run.strErr, "") << pOption;
    }
    const CtlRun version = RunArgs({"--version"});
    EXPECT_EQ(version.nExit, 0);
    EXPECT_EQ(version.strOut, "zr470ctl " + std::string(kCtlVersion) + "\n");
    EXPECT_EQ(version.strErr, "");
}

// The emulate command serves until asked to stop, and a client finds it
// at the address it announced.
TEST(CtlEmulate, ServesAtTheAnnouncedPortUntilStopped)
{
    std::ostringstream out;
    std::ostringstream err;
    std::atomic<bool> bStop{false};
    std::promise<int> listening;
    int nExit = -1;
    std::thread server([&] {
        nExit = RunCtl({"emulate", "--listen", "127.0.0.1:0", "--delay-ms", "1"}, nullptr, out, err, bStop,
                       [&](int nPort) { listening.set_value(nPort); });
    });
    const int nPort = listening.get_future().get();
    EXPECT_EQ(out.str(), "listening on 127.0.0.1:" + std::to_string(nPort) + "\n");

    // A client run needs the process-wide data areas the server does not use.
    std::ostringstream clientOut;
    std::ostringstream clientErr;
    const std::atomic<bool> bNoStop{false};
    EXPECT_EQ(RunCtl({"get", "1", "polarity"}, ("tcp:127.0.0.1:" + std::to_string(nPort)).c_str(), clientOut,
                     clientErr, bNoStop),
              0)
        << clientErr.str();
    EXPECT_EQ(clientOut.str(), "+\n");

    // A second server cannot take the same port.
    std::ostringstream secondOut;
    std::ostringstream secondErr;
    EXPECT_EQ(RunCtl({"emulate", "--listen", "127.0.0.1:" + std::to_string(nPort)}, nullptr, secondOut, secondErr,
                     bNoStop),
              1);
    EXPECT_EQ(secondErr.str().rfind("zr470ctl: Cannot listen on 127.0.0.1:", 0), 0u) << secondErr.str();

    bStop = true;
    server.join();
    EXPECT_EQ(nExit, 0);
    EXPECT_EQ(err.str(), "");
}

// The whole update with the processor's real pauses (about six seconds).
TEST_F(CtlCommandsTest, FirmwareUpdateRunsToTheProcessorsConfirmation)
{
    std::vector<uint8_t> file = {'W', 'M', 'C', 'U'};
    for (int i = 0; i < 4 + 96; ++i)
        file.push_back(static_cast<uint8_t>(i * 7 + 3));
    std::ofstream(File("fw.bin"), std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                         static_cast<std::streamsize>(file.size()));
    const std::string strOut = Ok({"firmware", File("fw.bin")});
    EXPECT_NE(strOut.find("100% Update successfully!"), std::string::npos) << strOut;
    EXPECT_TRUE(m_device.Loader().McuVerified());
    EXPECT_EQ(m_device.Loader().McuData(), std::vector<uint8_t>(file.begin() + 8, file.end()));

    std::ofstream(File("bad.bin"), std::ios::binary) << "XXXX1234";
    const int nFrames = m_device.FramesReceived();
    const CtlRun bad = Ctl({"firmware", File("bad.bin")});
    EXPECT_EQ(bad.nExit, 1);
    EXPECT_EQ(bad.strErr.substr(0, 10), "zr470ctl: ");
    EXPECT_EQ(m_device.FramesReceived(), nFrames);
}

// ---- room tuning ----------------------------------------------------------------------------


TEST_F(CtlCommandsTest, EqImportPutsTheFilterSetIntoTheOutputAndItsLinkedOutput)
{
    const std::string strOut = Ok({"eq-import", "2", RoomFixture("apo.txt"), "--link", "3"});
    EXPECT_NE(strOut.find("note: line 7: HP 30 Hz: skipped"), std::string::npos) << strOut;
    const std::vector<uint8_t> image = m_device.LiveImage();
    for (const int nOutput : {1, 2}) {
        const uint8_t* pBlock = OutputBlock(image, nOutput);
        EXPECT_EQ(pBlock[254], 0) << nOutput;  // parametric mode
        const int nExpected[][3] = {{63, -50, 31}, {125, 33, 95}, {2500, -200, 0}};
        for (int k = 0; k < 3; ++k) {
            const uint8_t* pGroup = pBlock + kGroupSize * (k == 2 ? 4 : k);
            EXPECT_EQ(GetWord(pGroup), nExpected[k][0]) << nOutput << " band " << k;
            EXPECT_EQ(GetWord(pGroup + 2), GainToCode(nExpected[k][1] / 10.0) + kGainWireOffset) << nOutput;
            EXPECT_EQ(GetWord(pGroup + 4), nExpected[k][2]) << nOutput << " band " << k;  // Q 4, 1.41, 40
        }
        EXPECT_EQ(GetWord(pBlock + kGroupSize * 5 + 2), kGainCodeZero + kGainWireOffset);  // flat from band 6 on
    }
    EXPECT_EQ(GetWord(OutputBlock(image, 3) + 2), kGainCodeZero + kGainWireOffset);  // not linked

    const std::string strApo = Ok({"eq-export", "2"});
    EXPECT_NE(strApo.find("Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 3.997\n"), std::string::npos) << strApo;
    EXPECT_NE(Ok({"eq-export", "2", "--format", "rew"}).find("Filter  3: ON  LS 6dB"), std::string::npos);
}

TEST_F(CtlCommandsTest, EqImportRefusesBadFilesAndDryRunSendsNothing)
{
    std::ofstream(File("bad.txt")) << "Filter 1: ON PK Fc nan Hz Gain 1 dB Q 1\n";
    for (const auto& args : std::vector<std::vector<std::string>>{{"eq-import", "2", File("bad.txt")},
                                                                  {"eq-import", "7", RoomFixture("apo.txt")},
                                                                  {"eq-import", "2", RoomFixture("apo_channels.txt"), "--channel", "C"}})
        EXPECT_EQ(Ctl(args).nExit, 1) << args.back();
    EXPECT_EQ(Ctl({"eq-import", "2", RoomFixture("apo.txt"), "--dry-run"}).nExit, 0);
    EXPECT_TRUE(m_device.ReceivedFrames().empty());
}

TEST_F(CtlCommandsTest, EqImportTakesTheApoChannelAskedFor)
{
    const std::string strOut = Ok({"eq-import", "2", RoomFixture("apo_channels.txt"), "--channel", "R"});
    EXPECT_NE(strOut.find("line 3: \"Channel: L\": 2 filters not taken: the output takes channel R"), std::string::npos)
        << strOut;
    const std::vector<uint8_t> image = m_device.LiveImage();
    const uint8_t* pBlock = OutputBlock(image, 1);
    EXPECT_EQ(GetWord(pBlock), 71);
    EXPECT_EQ(GetWord(pBlock + kGroupSize), 140);
    EXPECT_EQ(GetWord(pBlock + kGroupSize * 2 + 2), kGainCodeZero + kGainWireOffset);
}

TEST_F(CtlCommandsTest, EqFitPutsTheFittedBandsOnTheOutputAndItsLinkedOutput)
{
    const Json fit = JsonOf(Ok({"--json", "eq-fit", "2", RoomFixture("rew_measurement.txt"), "--link", "3",
                                       "--max-boost", "6", "--bands", "4"}));
    const Json bands = fit.value("bands", Json::array());
    ASSERT_FALSE(bands.empty());
    const std::vector<uint8_t> image = m_device.LiveImage();
    for (const int nOutput : {1, 2}) {
        EXPECT_EQ(OutputBlock(image, nOutput)[254], 0) << nOutput;  // parametric mode
        for (size_t k = 0; k < bands.size(); ++k)
            ExpectFittedBand(image, nOutput, static_cast<int>(k), bands[k]);
    }
    EXPECT_EQ(GetWord(OutputBlock(image, 3) + 2), kGainCodeZero + kGainWireOffset);  // not linked
}

TEST_F(CtlCommandsTest, EqFitSavesTheFitIntoASceneFileWithTheResidualItPrinted)
{
    Ok({"read-scene", File("live.ZR4C")});
    const CtlRun run = RunArgs({"--json", "eq-fit", "2", RoomFixture("rew_measurement.txt"), "--range", "30-300",
                                "--from", File("live.ZR4C"), "--save", File("fit.ZR4C")});
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    const Json fit = JsonOf(run.strOut);
    const Json bands = fit.value("bands", Json::array());
    ASSERT_FALSE(bands.empty());

    CKTV_Data data;
    ASSERT_TRUE(LoadSceneFile(data, File("fit.ZR4C")).bOk);
    const std::vector<uint8_t> saved(data.State().m_LiveImage, data.State().m_LiveImage + kImageSize);  // the file's image, as loaded
    for (size_t k = 0; k < bands.size(); ++k)
        ExpectFittedBand(saved, 1, static_cast<int>(k), bands[k]);
    // The prediction of the saved scene, as `response` prints it, deviates
    // from the flat target by what eq-fit reported.
    const CtlRun response = RunArgs({"response", File("fit.ZR4C"), "2", "--measurement", RoomFixture("rew_measurement.txt")});
    ASSERT_EQ(response.nExit, 0) << response.strErr;
    const double dLow = fit.value("range_hz", Json::array({0, 0}))[0].get<double>();
    const double dHigh = fit.value("range_hz", Json::array({0, 0}))[1].get<double>();
    std::istringstream lines(response.strOut);
    double dFreq = 0.0, dDb = 0.0, dSquares = 0.0;
    int nPoints = 0;
    while (lines >> dFreq >> dDb) {
        if (dFreq >= dLow && dFreq <= dHigh) {
            dSquares += dDb * dDb;
            ++nPoints;
        }
    }
    ASSERT_GT(nPoints, 0);
    EXPECT_NEAR(std::sqrt(dSquares / nPoints), fit.value("after_rms_db", -1.0), 0.01);
}

TEST_F(CtlCommandsTest, EqFitSaveRefusesAFolderAndItsOwnSceneUnlessForced)
{
    Ok({"read-scene", File("live.ZR4C")});
    const auto bytes = [](const std::string& strPath) {
        std::ifstream in(strPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string strLive = bytes(File("live.ZR4C"));
    const std::vector<std::string> fit = {"eq-fit", "2", RoomFixture("rew_measurement.txt"), "--from", File("live.ZR4C"),
                                          "--save"};
    const std::string strOwn = "the scene file the fit starts from: add --force to replace it";
    // "live" is saved as live.ZR4C; a folder would have been saved beside it as DIR.ZR4C.
    for (const auto& [strSave, strWhy] : {std::pair{File("live.ZR4C"), strOwn}, {File("live"), strOwn},
                                          {m_folder.string(), std::string("a folder, not a file")}}) {
        std::vector<std::string> args = fit;
        args.push_back(strSave);
        const CtlRun run = RunArgs(args);
        EXPECT_EQ(run.nExit, 1) << strSave;
        EXPECT_EQ(run.FirstErr(), "zr470ctl: Save MusicFile Error! (" + strSave + ": " + strWhy + ")");
    }
    EXPECT_TRUE(bytes(File("live.ZR4C")) == strLive) << "the scene file was replaced";
    EXPECT_FALSE(fs::exists(m_folder.string() + ".ZR4C"));
    std::vector<std::string> forced = fit;
    forced.insert(forced.end(), {File("live.ZR4C"), "--force"});
    EXPECT_EQ(RunArgs(forced).nExit, 0);
    EXPECT_FALSE(bytes(File("live.ZR4C")) == strLive) << "the scene file was not replaced";
}

TEST_F(CtlCommandsTest, ResponseWithAMeasurementPrintsThePrediction)
{
    Ok({"read-scene", File("flat.ZR4C")});
    const CtlRun run = RunArgs({"response", File("flat.ZR4C"), "2", "--measurement", RoomFixture("rew_measurement.txt")});
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    EXPECT_EQ(Lines(run.strOut), kAxisPoints);
    std::istringstream lines(run.strOut);
    double dFreq = 0.0, dDb = 0.0, dPeak = -100.0;
    while (lines >> dFreq >> dDb)
        dPeak = std::max(dPeak, dDb);
    EXPECT_GT(dPeak, 8.0);  // the room mode, on a flat output
    EXPECT_EQ(RunArgs({"response", File("flat.ZR4C"), "2", "--measurement", File("flat.ZR4C")}).nExit, 1);
}

TEST_F(CtlCommandsTest, ResponseSumsAndAlignsALinkwitzRileyPair)
{
    for (const char* szSet : {"1 lpf.freq 200", "1 lpf.slope 24", "2 hpf.freq 200", "2 hpf.slope 24"}) {
        std::istringstream words(szSet);
        std::vector<std::string> args{"set"};
        for (std::string strWord; words >> strWord;)
            args.push_back(strWord);
        Ok(args);
    }
    Ok({"read-scene", File("pair.ZR4C")});
    const Json sum = JsonOf(Ok({"--json", "response", File("pair.ZR4C"), "--sum", "1,2"}));
    EXPECT_TRUE(sum.value("filters_only", false));
    double dLow = 100.0, dHigh = -100.0;
    for (const Json& point : sum.value("points", Json::array())) {
        dLow = std::min(dLow, point[1].get<double>());
        dHigh = std::max(dHigh, point[1].get<double>());
    }
    EXPECT_LT(dHigh - dLow, 0.1);
    EXPECT_EQ(Lines(Ok({"response", File("pair.ZR4C"), "--sum", "1,2"})), kAxisPoints + 1);  // "filters only" first
    const Json advice = JsonOf(Ok({"--json", "align", File("pair.ZR4C"), "1", "2"}));
    EXPECT_EQ(advice.value("delay_code", -1), 0);
    EXPECT_EQ(advice.value("polarity", ""), "normal");
    const Json phase = JsonOf(Ok({"--json", "response", File("pair.ZR4C"), "2", "--phase", "--group-delay"}));
    EXPECT_EQ(phase.value("phase_deg", Json::array()).size(), static_cast<size_t>(kAxisPoints));
    EXPECT_GT(phase.value("group_delay_ms", Json::array())[0].get<double>(), 1.0);  // 4th order at 20 Hz
    EXPECT_EQ(RunArgs({"response", File("pair.ZR4C"), "--sum", "1,1"}).nExit, 1);
    EXPECT_EQ(RunArgs({"align", File("pair.ZR4C"), "1", "2", "--measurement", File("pair.ZR4C")}).nExit, 1);
}

TEST_F(CtlCommandsTest, EqFitOfIdenticalPositionsIsTheFitOfOne)
{
    const std::string strFile = RoomFixture("rew_measurement.txt");
    const Json one = JsonOf(Ok({"--json", "eq-fit", "2", strFile, "--dry-run"}));
    EXPECT_EQ(JsonOf(Ok({"--json", "eq-fit", "2", strFile, strFile, strFile, "--dry-run"})), one);
    EXPECT_EQ(RunArgs({"eq-fit", "2", strFile, strFile, strFile, strFile, strFile, strFile, strFile, strFile, strFile})
                  .nExit,
              2);
}

TEST_F(CtlCommandsTest, ReportPrintsTheTableOfTheProcessorOrOfAFile)
{
    Ok({"set", "2", "mute", "on"});
    Ok({"set", "2", "eq5.gain", "6.5"});
    const std::string strText = Ok({"report"});
    EXPECT_EQ(Lines(strText), 175);
    EXPECT_EQ(strText.substr(0, strText.find('\n')), "Args\tCH1\tCH2\tCH3\tCH4\tCH5\tCH6");
    EXPECT_NE(strText.find("\nMute\tOFF\tOn\tOFF\t"), std::string::npos);
    EXPECT_NE(strText.find("\nEQ5 Gain\t0.0dB\t6.5dB\t0.0dB\t"), std::string::npos);

    Ok({"read-scene", File("live.ZR4C")});
    EXPECT_EQ(RunArgs({"report", "--from", File("live.ZR4C")}).strOut, strText) << "the file holds the same setup";
    const std::string strJson = RunArgs({"--json", "report", "--from", File("live.ZR4C"), "--unit", "cm"}).strOut;
    EXPECT_EQ(strJson.rfind("{\"columns\":[\"Args\",\"CH1\",", 0), 0u);
    EXPECT_NE(strJson.find("[\"Mute\",\"OFF\",\"On\","), std::string::npos);
    EXPECT_NE(strJson.find("[\"Delay\",\"0.00cm\","), std::string::npos);
    const CtlRun xlsx = RunArgs({"report", "--from", File("live.ZR4C"), "--xlsx", File("r.xlsx")});
    EXPECT_EQ(xlsx.nExit, 0) << xlsx.strErr;
    EXPECT_EQ(xlsx.strOut, "");
    EXPECT_GT(fs::file_size(File("r.xlsx")), 0u);

    EXPECT_EQ(RunArgs({"report", "--from", File("absent.ZR4C")}).nExit, 1);
    const CtlRun same =
        RunArgs({"report", "--from", File("live.ZR4C"), "--xlsx", File("same.out"), "--pdf", File("./same.out")});
    EXPECT_EQ(same.nExit, 1);
    EXPECT_NE(same.FirstErr().find("same file"), std::string::npos) << same.strErr;
    EXPECT_FALSE(fs::exists(File("same.out")));
}

TEST_F(CtlCommandsTest, HandoverReportAddsAGraphPagePerOutputAndTheSum)
{
    Ok({"read-scene", File("live.ZR4C")});
    Ok({"report", "--from", File("live.ZR4C"), "--pdf", File("plain.pdf")});
    Ok({"report", "--from", File("live.ZR4C"), "--pdf", File("handover.pdf"), "--handover", "--sum", "1,2"});
    const int nTable = std::stoi(PdfInfo(File("plain.pdf"), "Pages"));
    EXPECT_EQ(std::stoi(PdfInfo(File("handover.pdf"), "Pages")), nTable + kOutputs + 1);
    const std::string strSum = PdfText(File("handover.pdf"), nTable + kOutputs + 1);
    EXPECT_NE(strSum.find("Sum of outputs 1, 2 (filters only)"), std::string::npos) << strSum;
    EXPECT_NE(strSum.find("Page " + std::to_string(nTable + kOutputs + 1)), std::string::npos) << strSum;
    EXPECT_NE(PdfText(File("handover.pdf"), nTable + 1).find("Output 1 (FL): response"), std::string::npos);
    EXPECT_EQ(RunArgs({"report", "--from", File("live.ZR4C"), "--handover"}).nExit, 1);  // no PDF to add to
    EXPECT_EQ(RunArgs({"report", "--from", File("live.ZR4C"), "--pdf", File("x.pdf"), "--sum", "1,2"}).nExit, 1);
}

TEST_F(CtlCommandsTest, ReportPrintsInTheLanguageAskedFor)
{
    Ok({"read-scene", File("live.ZR4C")});
    const CtlRun zh = RunArgs({"report", "--from", File("live.ZR4C"), "--language", "zh", "--pdf", File("zh.pdf")});
    ASSERT_EQ(zh.nExit, 0) << zh.strErr;
    const std::string strPage = PdfText(File("zh.pdf"), 1);
    // pdftotext reads the font's 页 back as a look-alike radical: the rest of "第 1 页，共 3 页".
    EXPECT_LT(strPage.find("第 1 "), strPage.find("，共 ")) << strPage;
    EXPECT_NE(strPage.find("由 zr470ctl " + std::string(kCtlVersion) + " 打印"), std::string::npos) << strPage;
    EXPECT_EQ(strPage.find("Page "), std::string::npos) << strPage;
    EXPECT_EQ(strPage.find("Printed"), std::string::npos) << strPage;
    // Inside a batch the next command speaks English again.
    std::ofstream(File("two.txt")) << "report --from " << File("live.ZR4C") << " --language zh\nreport --from "
                                   << File("live.ZR4C") << "\n";
    const std::string strBoth = RunArgs({"--device", "virtual", "batch", File("two.txt")}).strOut;
    const size_t nEnglish = strBoth.find("\nArgs\t");
    EXPECT_NE(nEnglish, std::string::npos) << strBoth.substr(0, 200);
    EXPECT_EQ(strBoth.find("Args\t"), nEnglish + 1) << "the first report is in Chinese";
}
