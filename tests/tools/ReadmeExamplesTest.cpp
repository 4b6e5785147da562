// Every zr470ctl example in README.md runs: each line that starts with
// "zr470ctl " inside a ``` block goes through RunCtl against the virtual
// processor and must succeed. A block whose first line is "# NAME.EXT…" is
// a file the examples use; it is written into the test's folder first.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>

#include "CtlCommands.h"
#include "CtlMain.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

const std::string kReadme = std::string(TestFixturesDir()) + "/../../README.md";

// Commands an example may show but a test cannot run, with the reason.
const std::map<std::string, std::string> kSkipped = {
    {"emulate", "serves until it is stopped"},
    {"firmware", "needs a real firmware file and rewrites the processor"},
};

struct Readme {
    std::vector<std::string> examples;                       // the lines, without "zr470ctl "
    std::vector<std::pair<std::string, std::string>> files;  // name, content
};

Readme ReadReadme(const std::string& strPath)
{
    static const std::regex fileHeading(R"(^# ([A-Za-z0-9_.-]+\.[A-Za-z0-9]+)(:.*)?$)");
    Readme readme;
    std::ifstream in(strPath);
    std::vector<std::string> block;
    bool bInBlock = false;
    for (std::string strLine; std::getline(in, strLine);) {
        if (strLine.rfind("```", 0) != 0) {
            if (bInBlock)
                block.push_back(strLine);
            continue;
        }
        if (!bInBlock) {
            bInBlock = true;
            block.clear();
            continue;
        }
        bInBlock = false;
        std::smatch match;
        if (!block.empty() && std::regex_match(block.front(), match, fileHeading)) {
            std::string strContent;
            for (const std::string& strBlockLine : block)
                strContent += strBlockLine + "\n";
            readme.files.emplace_back(match[1].str(), strContent);
            continue;
        }
        for (const std::string& strBlockLine : block) {
            if (strBlockLine.rfind("zr470ctl ", 0) == 0)
                readme.examples.push_back(strBlockLine.substr(std::string("zr470ctl ").size()));
        }
    }
    return readme;
}

// The words a shell would pass, up to a comment, a redirection, a pipe or
// a background '&': zr470ctl's own script words, cut at the first operator.
std::vector<std::string> Words(const std::string& strLine)
{
    std::vector<std::string> words;
    std::string strError;
    EXPECT_TRUE(SplitScriptLine(strLine, &words, &strError)) << strLine << ": " << strError;
    const auto operatorAt = std::find_if(words.begin(), words.end(), [](const std::string& strWord) {
        return strWord == ">" || strWord == "|" || strWord == "&" || strWord == ";" || strWord == "&&";
    });
    words.erase(operatorAt, words.end());
    return words;
}

// The command of an example: its first word that is not a global option.
std::string CommandOf(const std::vector<std::string>& words)
{
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--device")
            ++i;
        else if (words[i].rfind("--", 0) != 0 && words[i] != "-h")
            return words[i];
    }
    return {};
}

bool NamesDevice(const std::vector<std::string>& words)
{
    for (const std::string& strWord : words) {
        if (strWord == "--device" || strWord.rfind("--device=", 0) == 0)
            return true;
    }
    return false;
}

bool NamesUsbDevice(const std::vector<std::string>& words)
{
    for (size_t i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == "--device" && words[i + 1].rfind("usb", 0) == 0)
            return true;
    }
    for (const std::string& strWord : words) {
        if (strWord.rfind("--device=usb", 0) == 0)
            return true;
    }
    return false;
}

int RunExample(const std::vector<std::string>& args, std::string* pErr)
{
    std::ostringstream out;
    std::ostringstream err;
    const std::atomic<bool> bStop{false};
    const int nExit = RunCtl(args, nullptr, out, err, bStop);
    *pErr = err.str();
    return nExit;
}

}  // namespace

class ReadmeExamplesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = fs::current_path();
        m_folder = fs::temp_directory_path() / ("zr470-readme-" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        fs::current_path(m_folder);
    }
    void TearDown() override
    {
        fs::current_path(m_previous);
        fs::remove_all(m_folder);
    }

    fs::path m_previous;
    fs::path m_folder;
};

TEST_F(ReadmeExamplesTest, EveryZr470ctlExampleSucceeds)
{
    const Readme readme = ReadReadme(kReadme);
    ASSERT_FALSE(readme.examples.empty()) << "no zr470ctl examples found in " << kReadme;

    // The files the examples name: those the README shows, a scene read from
    // the processor and a measurement.
    for (const auto& [strName, strContent] : readme.files)
        std::ofstream(strName) << strContent;
    std::string strErr;
    ASSERT_EQ(RunExample({"--device", "virtual", "read-scene", "live.ZR4C"}, &strErr), 0) << strErr;
    {
        std::ofstream frd("room.frd");
        for (int i = 0; i <= 30; ++i) {
            const double dHz = 20.0 * std::pow(1000.0, i / 30.0);
            frd << dHz << ' ' << 75.0 + 6.0 * std::sin(i) << '\n';
        }
    }

    int nRun = 0;
    for (const std::string& strExample : readme.examples) {
        std::vector<std::string> words = Words(strExample);
        const std::string strCommand = CommandOf(words);
        if (const auto skip = kSkipped.find(strCommand); skip != kSkipped.end()) {
            std::cout << "skipped: zr470ctl " << strExample << " (" << skip->second << ")\n";
            continue;
        }
        if (NamesUsbDevice(words)) {
            std::cout << "skipped: zr470ctl " << strExample << " (names a processor on USB)\n";
            continue;
        }
        if (!NamesDevice(words))
            words.insert(words.begin(), {"--device", "virtual"});
        EXPECT_EQ(RunExample(words, &strErr), 0) << "zr470ctl " << strExample << "\n" << strErr;
        ++nRun;
    }
    EXPECT_GT(nRun, 0);
}
