// Every zr470ctl example in README.md and in the manual (docs/manual/*.html)
// runs: each line that starts with "zr470ctl " inside a ``` block of the
// README or a <pre> block of the manual goes through RunCtl against the
// virtual processor and must succeed. A block whose first line is
// "# NAME.EXT…" is a file the examples use, whichever page shows it; it is
// written into the test's folder first (a JSON file without that line). Every link and picture of these
// pages names a file (and an anchor) that exists.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "CtlCommands.h"
#include "CtlMain.h"
#include "TestPaths.h"
#include "TextLines.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSourceDir = fs::path(TestFixturesDir()) / ".." / "..";

// Commands an example may show but a test cannot run, with the reason.
const std::map<std::string, std::string> kSkipped = {
    {"emulate", "serves until it is stopped"},
    {"firmware", "needs a real firmware file and rewrites the processor"},
};

std::string FileText(const fs::path& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The pages whose examples run: the README and every page of the manual.
std::vector<fs::path> Pages()
{
    std::vector<fs::path> pages{kSourceDir / "README.md"};
    for (const auto& entry : fs::directory_iterator(kSourceDir / "docs" / "manual")) {
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path());
    }
    return pages;
}

bool IsHtml(const fs::path& page)
{
    return page.extension() == ".html";
}

// The ``` blocks of a Markdown page, line by line.
std::vector<std::vector<std::string>> MarkdownBlocks(const std::string& strText)
{
    std::vector<std::vector<std::string>> blocks;
    bool bInBlock = false;
    for (const std::string& strLine : TextLines(strText)) {
        if (strLine.rfind("```", 0) == 0) {
            if (!bInBlock)
                blocks.emplace_back();
            bInBlock = !bInBlock;
        } else if (bInBlock) {
            blocks.back().push_back(strLine);
        }
    }
    return blocks;
}

// The text a browser shows for a stretch of HTML: tags dropped, the
// entities the manual uses decoded.
std::string HtmlText(const std::string& strHtml)
{
    static const std::regex tag("<[^>]*>");
    static const std::vector<std::pair<std::string, std::string>> entities = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    std::string strText = std::regex_replace(strHtml, tag, "");
    for (const auto& [strEntity, strChar] : entities) {
        for (size_t at = strText.find(strEntity); at != std::string::npos; at = strText.find(strEntity, at + 1))
            strText.replace(at, strEntity.size(), strChar);
    }
    return strText;
}

// The <pre> blocks of an HTML page, line by line; a browser drops a line
// break right after <pre>, and so does this.
std::vector<std::vector<std::string>> HtmlBlocks(const std::string& strText)
{
    std::vector<std::vector<std::string>> blocks;
    for (size_t open = strText.find("<pre"); open != std::string::npos; open = strText.find("<pre", open + 1)) {
        const size_t start = strText.find('>', open);
        const size_t end = strText.find("</pre>", start);
        if (start == std::string::npos || end == std::string::npos)
            break;
        std::string strBlock = HtmlText(strText.substr(start + 1, end - start - 1));
        if (!strBlock.empty() && strBlock.front() == '\n')
            strBlock.erase(0, 1);
        blocks.push_back(TextLines(strBlock));
    }
    return blocks;
}

struct Example {
    std::string strPage;
    std::string strLine;  // without "zr470ctl "
};

struct Examples {
    std::vector<Example> lines;
    std::vector<std::pair<std::string, std::string>> files;  // name, content
};

void AddBlock(const std::string& strPage, const std::vector<std::string>& block, Examples* pExamples)
{
    static const std::regex fileHeading(R"(^# ([A-Za-z0-9_.-]+\.[A-Za-z0-9]+)(:.*)?$)");
    std::smatch match;
    if (!block.empty() && std::regex_match(block.front(), match, fileHeading)) {
        // JSON has no comments: its heading only names the file.
        const bool bJson = fs::path(match[1].str()).extension() == ".json";
        std::string strContent;
        for (size_t i = bJson ? 1 : 0; i < block.size(); ++i)
            strContent += block[i] + "\n";
        pExamples->files.emplace_back(match[1].str(), strContent);
        return;
    }
    for (const std::string& strLine : block) {
        if (strLine.rfind("zr470ctl ", 0) == 0)
            pExamples->lines.push_back({strPage, strLine.substr(std::string("zr470ctl ").size())});
    }
}

Examples ReadExamples(const fs::path& page)
{
    const std::string strText = FileText(page);
    Examples examples;
    for (const auto& block : IsHtml(page) ? HtmlBlocks(strText) : MarkdownBlocks(strText))
        AddBlock(page.filename().string(), block, &examples);
    return examples;
}

// Where a page's links and pictures point: Markdown "](target)", HTML
// href="target" and src="target".
std::vector<std::string> LinkTargets(const fs::path& page)
{
    static const std::regex markdown(R"(\]\(([^)\s]+)\))");
    static const std::regex html(R"re((?:href|src)="([^"]+)")re");
    const std::string strText = FileText(page);
    std::vector<std::string> targets;
    for (std::sregex_iterator it(strText.begin(), strText.end(), IsHtml(page) ? html : markdown), end; it != end; ++it)
        targets.push_back((*it)[1].str());
    return targets;
}

// The anchor GitHub gives a Markdown heading: lower case, blanks as '-',
// other punctuation dropped.
std::string HeadingAnchor(const std::string& strHeading)
{
    std::string strAnchor;
    for (const char c : strHeading.substr(strHeading.find_first_not_of("# "))) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '_' || c == '-' || u >= 0x80)
            strAnchor += static_cast<char>(std::tolower(u));
        else if (c == ' ')
            strAnchor += '-';
    }
    return strAnchor;
}

// The anchors a page offers: its ids, or its headings outside code blocks.
std::set<std::string> Anchors(const fs::path& page)
{
    const std::string strText = FileText(page);
    std::set<std::string> anchors;
    if (IsHtml(page)) {
        static const std::regex id(R"re(id="([^"]+)")re");
        for (std::sregex_iterator it(strText.begin(), strText.end(), id), end; it != end; ++it)
            anchors.insert((*it)[1].str());
        return anchors;
    }
    bool bInBlock = false;
    for (const std::string& strLine : TextLines(strText)) {
        if (strLine.rfind("```", 0) == 0)
            bInBlock = !bInBlock;
        else if (!bInBlock && strLine.rfind("#", 0) == 0)
            anchors.insert(HeadingAnchor(strLine));
    }
    return anchors;
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
    Examples all;
    for (const fs::path& page : Pages()) {
        Examples examples = ReadExamples(page);
        // Both readers must find something, or a page's examples would go untested.
        if (page.filename() == "README.md" || page.filename() == "index.html") {
            EXPECT_FALSE(examples.lines.empty()) << "no zr470ctl examples found in " << page;
        }
        all.lines.insert(all.lines.end(), examples.lines.begin(), examples.lines.end());
        all.files.insert(all.files.end(), examples.files.begin(), examples.files.end());
    }

    // The files the examples name: those the pages show, a scene read from
    // the processor and a measurement.
    for (const auto& [strName, strContent] : all.files)
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
    for (const auto& [strPage, strExample] : all.lines) {
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
        EXPECT_EQ(RunExample(words, &strErr), 0) << strPage << ": zr470ctl " << strExample << "\n" << strErr;
        ++nRun;
    }
    EXPECT_GT(nRun, 0);
}

TEST_F(ReadmeExamplesTest, EveryLinkAndPictureExists)
{
    int nChecked = 0;
    for (const fs::path& page : Pages()) {
        for (const std::string& strTarget : LinkTargets(page)) {
            if (strTarget.find("://") != std::string::npos)
                continue;
            const size_t hash = strTarget.find('#');
            const fs::path target = hash == 0 ? page : page.parent_path() / strTarget.substr(0, hash);
            ++nChecked;
            if (!fs::is_regular_file(target)) {
                ADD_FAILURE() << page << " links to " << strTarget << ", which does not exist";
                continue;
            }
            if (hash != std::string::npos) {
                EXPECT_EQ(Anchors(target).count(strTarget.substr(hash + 1)), 1U) << page << " links to " << strTarget;
            }
        }
    }
    EXPECT_GT(nChecked, 0);
}
