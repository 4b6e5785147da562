// What the room-tuning readers share: reading a text file whole with a size
// limit, cutting it into lines, strict numbers, their failures as a kind
// with arguments, and short, printable messages, worded from the text table.
//
// Threads: pure functions (the messages read the language flag).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TextTable.h"

// Measurements of a few thousand points and filter sets are far smaller;
// anything larger is refused before it is read.
constexpr std::size_t kRoomFileMaxBytes = 4 * 1024 * 1024;

// Why a room file (a measurement, a house curve, a filter set) was refused:
// the kind is the text table's entry that words it, with the arguments it
// takes (the file, a token as RoomQuote shows it, a count); a fault of one
// line names the line. Each front end words it with RoomFileErrorText.
struct RoomFileError {
    TextId kind = kTxtCount;  // kTxtCount: no error
    int nLine = 0;            // 1 …; 0: the file as a whole
    std::vector<std::string> args;
    bool operator==(const RoomFileError&) const = default;
};
// "line N: " (for a line's fault) and the kind's text with its arguments.
std::string RoomFileErrorText(const RoomFileError& error, Language language = CurrentLanguage());

// The file's text, or nothing with *pError set (missing, unreadable, too large).
std::optional<std::string> ReadRoomFile(const std::string& strPath, RoomFileError* pError);

// Levels and gains beyond this are not sound: refused before any sum or
// conversion can overflow.
constexpr double kRoomMaxLevelDb = 500.0;

// The text without a UTF-8 byte-order mark; false with *pError for UTF-16,
// which the readers cannot take.
bool StripRoomEncoding(std::string_view* pText, RoomFileError* pError);
// Lines without their ends (LF, CRLF or a lone CR), trimmed of spaces and tabs.
std::vector<std::string_view> RoomLines(std::string_view text);
// Fields separated by spaces, tabs or semicolons. A comma inside such a
// field is a decimal comma ("75,3", as some locales export), unless the
// field also holds a point; a line of one field is comma-separated
// ("20,75.3").
std::vector<std::string> RoomFields(std::string_view line);
std::string RoomUpper(std::string_view text);
// A finite decimal number, the whole text ("+4.05", "-5", "1e3"; never "nan").
bool ParseRoomNumber(std::string_view text, double* pValue);

// Notes for the user, at most kMaxRoomNotes of them; the rest are counted.
constexpr std::size_t kMaxRoomNotes = 20;
class CRoomNotes {
public:
    void Add(std::string strNote);
    bool Empty() const { return m_lines.empty(); }
    // The notes kept, then "… and N more" when some were not.
    std::vector<std::string> Lines() const;

private:
    std::vector<std::string> m_lines;
    std::size_t m_nMore = 0;
};

// A token of the file as a message quotes it: at most about 40 characters,
// control bytes and broken UTF-8 shown as \xNN, never sent raw to a
// terminal or a message box.
std::string RoomQuote(std::string_view token);
// A name for a message or a file: control bytes become '?', so that a name
// read from a file or the processor cannot start a line of its own.
std::string PrintableName(std::string_view name);
// "line N: " in the language of the moment.
std::string RoomLinePrefix(int nLine);
// A number as the user typed it back: at most three decimals, no trailing zeros.
std::string RoomNumberText(double dValue);
