// What the room-tuning readers share: reading a text file whole with a size
// limit, cutting it into lines, strict numbers, and messages in the
// language of the moment.
//
// Threads: pure functions (the messages read the language flag).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Measurements of a few thousand points and filter sets are far smaller;
// anything larger is refused before it is read.
constexpr std::size_t kRoomFileMaxBytes = 4 * 1024 * 1024;

// The file's text, or nothing with *pError set (missing, unreadable, too large).
std::optional<std::string> ReadRoomFile(const std::string& strPath, std::string* pError);

// Lines without their ends (LF, CRLF or a lone CR), trimmed of spaces and tabs.
std::vector<std::string_view> RoomLines(std::string_view text);
// Fields separated by any run of spaces, tabs and commas.
std::vector<std::string_view> RoomFields(std::string_view line);
// A finite decimal number, the whole text ("+4.05", "-5", "1e3"; never "nan").
bool ParseRoomNumber(std::string_view text, double* pValue);

// The English or the Chinese text by the language flag, with %1, %2, …
// replaced by the arguments.
std::string RoomSay(const char* szEnglish, const char* szChinese, std::initializer_list<std::string> args = {});
// "line N: " in the language of the moment.
std::string RoomLinePrefix(int nLine);
// A number as the user typed it back: at most three decimals, no trailing zeros.
std::string RoomNumberText(double dValue);
