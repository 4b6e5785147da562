// zr470ctl's command line as a script meets it: usage mistakes exit 2 with a
// line that names the mistake, refused values and files exit 1 with a line
// that names the reason, and nothing reaches a processor.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CtlRun.h"

namespace fs = std::filesystem;

namespace {

struct Case {
    std::vector<std::string> args;
    int nExit;
    std::string strFirstErr;
};

void ExpectAll(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        const CtlRun outcome = RunArgs(c.args);
        std::string strCall;
        for (const std::string& strArg : c.args)
            strCall += strArg + " ";
        EXPECT_EQ(outcome.nExit, c.nExit) << strCall;
        EXPECT_EQ(outcome.FirstErr(), c.strFirstErr) << strCall;
        EXPECT_EQ(outcome.strOut, "") << strCall;
    }
}

}  // namespace

TEST(CtlUsage, MistakesInTheCommandLineExitWithTwoAndNameTheMistake)
{
    ExpectAll({
        {{"eq-import", "1", "f.txt", "--bogus"}, 2, "zr470ctl: eq-import: unknown option --bogus"},
        {{"report", "--from"}, 2, "zr470ctl: report: --from needs a value"},
        {{"report", "--xlsx", ""}, 2, "zr470ctl: report: --xlsx needs a value"},
        {{"report", "foo"}, 2, "zr470ctl: report takes 0 arguments besides its options, not 1"},
        {{"report", "--unit", "mm"}, 2, "zr470ctl: report: --unit takes ms, inch or cm, not \"mm\""},
        {{"eq-export", "2", "apo"}, 2, "zr470ctl: eq-export takes 1 argument besides its options, not 2"},
        {{"eq-export", "2", "--format", "csv"}, 2, "zr470ctl: eq-export: --format takes apo or rew, not \"csv\""},
        {{"response", "a.ZR4C", "1", "2", "--measurement", "m.txt"},
         2,
         "zr470ctl: response takes 1 to 2 arguments besides its options, not 3"},
        {{"get", "1"}, 2, "zr470ctl: get takes 2 arguments, not 1"},
        {{"--device", "serial", "info"},
         2,
         "zr470ctl: --device: unknown device \"serial\": use usb, usb:PATH, usb:serial=S, tcp:HOST:PORT or virtual"},
        {{"--device", "tcp:localhost", "info"}, 2, "zr470ctl: --device: tcp:localhost has no port: use tcp:HOST:PORT"},
        {{"--device", "usb:serial=", "info"}, 2, "zr470ctl: --device: usb:serial= needs the serial number"},
        {{"--device"}, 2, "zr470ctl: --device needs a value: usb, usb:PATH, usb:serial=S, tcp:HOST:PORT or virtual"},
        {{"batch"}, 2, "zr470ctl: batch takes 1 argument besides its options, not 0"},
        {{"--rooms", "A", "status"}, 2, "zr470ctl: --rooms needs --venue FILE"},
        {{"--venue", "/nonexistent/v.json", "status"},
         1,
         "zr470ctl: /nonexistent/v.json: cannot read it: No such file or directory"},
        {{"eq-fit", "1", "m.txt", "--bogus"}, 2, "zr470ctl: eq-fit: unknown option --bogus"},
        {{"eq-fit", "1", "m.txt", "--save", "out.ZR4C"},
         2,
         "zr470ctl: eq-fit: --save needs --from, the scene file the fit starts from"},
        {{"eq-import", "1", "f.txt", "--link", "2,2"}, 2, "zr470ctl: eq-import: --link names output 2 twice"},
        {{"eq-fit", "3", "m.txt", "--link", "2,3"},
         2,
         "zr470ctl: eq-fit: --link names output 3, which the bands go to: link other outputs"},
        {{"emulate", "--listen", "0", "--bogus", "1"}, 2, "zr470ctl: Unknown option --bogus"},
    });
    // Values out of range are refusals, as everywhere.
    ExpectAll({
        {{"emulate", "--listen", "0", "--delay-ms", "60001"},
         1,
         "zr470ctl: --delay-ms needs a whole number from 0 to 60000, not \"60001\""},
        {{"emulate", "--listen", "70000"}, 1, "zr470ctl: --listen needs [HOST:]PORT with PORT 0 … 65535, not \"70000\""},
        {{"eq-import", "1", "f.txt", "--link", "7"}, 1, "zr470ctl: channel \"7\" refused: outputs are 1 … 6"},
        {{"set", "1", "level", "99"}, 1, "zr470ctl: level \"99\" refused: dB from -60 to 10 in whole dB"},
    });
}

TEST(CtlUsage, AWrongDeviceInTheEnvironmentCountsOnlyWhereADeviceIsOpened)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info"}, {"set", "1", "level", "-3"},
                                                 {"firmware", "x.bin"}}) {
        const CtlRun env = RunArgs(args, "tcp:[::1]");
        EXPECT_EQ(env.nExit, 2) << args[0];
        EXPECT_EQ(env.FirstErr(), "zr470ctl: ZR470_DEVICE: tcp:[::1] has no port: use tcp:HOST:PORT");
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--version"}, {"demo"}, {"--device", "virtual", "info"}})
        EXPECT_EQ(RunArgs(args, "tcp:[::1]").nExit, 0) << args[0];
    // Refused for its file, not for the device it never opens.
    EXPECT_EQ(RunArgs({"response", "missing.ZR4C", "1"}, "tcp:[::1]").nExit, 1);
}

// A value out of range is a refusal, as in `set 1 level 99`; a misspelt word stays a usage mistake.
TEST(CtlUsage, FitValuesOutOfRangeExitWithOne)
{
    const std::string strRange = "zr470ctl: eq-fit: --range takes LO-HI in hertz, 20 … 20000 with LO below HI, not ";
    ExpectAll({
        {{"eq-fit", "1", "m.txt", "--range", "500-20"}, 1, strRange + "\"500-20\""},
        {{"eq-fit", "1", "m.txt", "--range", "10-500"}, 1, strRange + "\"10-500\""},
        {{"eq-fit", "1", "m.txt", "--range", "100"}, 1, strRange + "\"100\""},
        {{"eq-fit", "1", "m.txt", "--bands", "0"}, 1, "zr470ctl: eq-fit: --bands takes 1 … 31, not \"0\""},
        {{"eq-fit", "1", "m.txt", "--bands", "32"}, 1, "zr470ctl: eq-fit: --bands takes 1 … 31, not \"32\""},
        {{"eq-fit", "1", "m.txt", "--max-boost", "21"}, 1, "zr470ctl: eq-fit: --max-boost takes 0 … 20 dB, not \"21\""},
        {{"eq-fit", "1", "m.txt", "--max-boost", "-1"}, 1, "zr470ctl: eq-fit: --max-boost takes 0 … 20 dB, not \"-1\""},
        {{"eq-fit", "1", "m.txt", "--max-cut", "3"}, 1, "zr470ctl: eq-fit: --max-cut takes -20 … 0 dB, not \"3\""},
    });
}

TEST(CtlUsage, OptionsAreNeverCountedAsArguments)
{
    // Two positional arguments and two options: the file is what is wrong.
    const CtlRun outcome = RunArgs({"--device", "virtual", "eq-import", "1", "--link", "3", "--link", "5", "none.txt"});
    EXPECT_EQ(outcome.nExit, 1);
    EXPECT_NE(outcome.FirstErr().find("none.txt"), std::string::npos) << outcome.FirstErr();
}

TEST(CtlUsage, ValuesTakeOneSignAndTheTypesetMinus)
{
    const CtlRun twoSigns = RunArgs({"--device", "virtual", "set", "1", "level", "+-3"});
    EXPECT_EQ(twoSigns.nExit, 1);
    EXPECT_EQ(twoSigns.FirstErr().rfind("zr470ctl: level \"+-3\"", 0), 0u) << twoSigns.FirstErr();
    const CtlRun minus = RunArgs({"--device", "virtual", "set", "1", "level", "\xE2\x88\x92" "6"});
    EXPECT_EQ(minus.nExit, 0) << minus.FirstErr();
    EXPECT_EQ(minus.strOut, "-6\n");
}

TEST(CtlUsage, PresetFileRefusalsSayWhatIsWrongWithTheFile)
{
    const fs::path dir = fs::temp_directory_path() / ("zr470ctl-usage-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "room.ZR4AC") << "not a scene";
    std::ofstream(dir / "room.txt") << "20 70\n1000 72\n20000 70\n";
    fs::create_directories(dir / "folder.ZR4C");
    ExpectAll({
        {{"--device", "virtual", "read-scene", (dir / "folder.ZR4C").string()},
         1,
         "zr470ctl: Save MusicFile Error! (" + (dir / "folder.ZR4C").string() + ": Is a directory)"},
        {{"--device", "virtual", "write-scene", (dir / "missing.ZR4C").string()},
         1,
         "zr470ctl: Read MusicFile  Error (" + (dir / "missing.ZR4C").string() + ": no such file)"},
        {{"--device", "virtual", "write-scene", (dir / "room.ZR4AC").string()},
         1,
         "zr470ctl: Read MusicFile  Error (" + (dir / "room.ZR4AC").string() + ": not a scene file (.ZR4C))"},
        {{"--device", "virtual", "read-scene", (dir / "gone" / "x.ZR4C").string()},
         1,
         "zr470ctl: Save MusicFile Error! (" + (dir / "gone" / "x.ZR4C").string() + ": the folder " +
             (dir / "gone").string() + " does not exist)"},
        {{"eq-fit", "1", (dir / "none.txt").string()}, 1, "zr470ctl: Cannot read " + (dir / "none.txt").string()},
        {{"eq-fit", "1", (dir / "room.txt").string(), "--target", (dir / "room.ZR4AC").string()},
         1,
         "zr470ctl: " + (dir / "room.ZR4AC").string() + ": line 1: \"not\" is not a number"},
        {{"eq-fit", "1", (dir / "room.txt").string(), "--from", (dir / "room.ZR4AC").string()},
         1,
         "zr470ctl: Read MusicFile  Error (" + (dir / "room.ZR4AC").string() + ": not a scene file (.ZR4C))"},
        {{"--device", "virtual", "firmware", (dir / "none.bin").string()},
         1,
         "zr470ctl: The firmware file does not exist! (" + (dir / "none.bin").string() + ")"},
    });
    fs::remove_all(dir);
}
