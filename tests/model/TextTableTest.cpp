#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GlobalData.h"
#include "TextTable.h"

namespace {

// The argument numbers a text takes, sorted: "%2 of %1" gives 1, 2.
std::vector<char> Placeholders(const std::string& strText)
{
    std::vector<char> numbers;
    for (std::size_t i = 0; i + 1 < strText.size(); ++i)
        if (strText[i] == '%' && strText[i + 1] >= '1' && strText[i + 1] <= '9')
            numbers.push_back(strText[i + 1]);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

}  // namespace

// A text missing in one language shows an empty message; an argument
// missing in one language drops a file name or a number from it.
TEST(TextTable, EveryTextHasBothLanguagesWithTheSameArguments)
{
    for (int n = 0; n < kTxtCount; ++n) {
        const TextPair& text = TextOf(static_cast<TextId>(n));
        SCOPED_TRACE(std::to_string(n) + ": " + text.szEnglish);
        EXPECT_STRNE(text.szEnglish, "");
        EXPECT_STRNE(text.szChinese, "");
        EXPECT_EQ(Placeholders(text.szEnglish), Placeholders(text.szChinese));
    }
}

TEST(TextTable, WordsInTheLanguageAskedForOrOfTheMoment)
{
    g_bChinese = 0;
    EXPECT_EQ(Say(kTxtImportDone, {"3", "2"}), "3 bands imported into CH2.");
    EXPECT_EQ(SayIn(Language::Chinese, kTxtImportDone, {"3", "2"}), "已导入 3 段到 CH2。");
    EXPECT_EQ(Say(kTxtRoomCannotRead), "Cannot read %1");  // no argument: the mark stays
    g_bChinese = 1;
    EXPECT_EQ(Say(kTxtRoomLine, {"7"}), "第 7 行：");
    EXPECT_STREQ(TextIn(Language::English, kTxtNameTaken), "Have been the same name!");
    g_bChinese = 0;
}
