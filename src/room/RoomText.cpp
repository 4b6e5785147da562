#include "RoomText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>


std::string RoomFileErrorText(const RoomFileError& error, Language language)
{
    if (error.kind == kTxtCount)
        return {};
    const std::string strText = SayIn(language, error.kind, error.args);
    return error.nLine > 0 ? SayIn(language, kTxtRoomLine, {std::to_string(error.nLine)}) + strText : strText;
}

std::optional<std::string> ReadRoomFile(const std::string& strPath, RoomFileError* pError)
{
    std::error_code ec;
    const auto nSize = std::filesystem::file_size(strPath, ec);
    if (ec) {
        *pError = {kTxtRoomCannotRead, 0, {strPath}};
        return std::nullopt;
    }
    if (nSize > kRoomFileMaxBytes) {
        *pError = {kTxtRoomTooLarge, 0, {strPath}};
        return std::nullopt;
    }
    std::ifstream in(strPath, std::ios::binary);
    std::string text(static_cast<std::size_t>(nSize), '\0');
    if (!in || !in.read(text.data(), static_cast<std::streamsize>(nSize))) {
        *pError = {kTxtRoomCannotRead, 0, {strPath}};
        return std::nullopt;
    }
    return text;
}

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    const auto nFirst = text.find_first_not_of(" \t");
    if (nFirst == std::string_view::npos)
        return {};
    return text.substr(nFirst, text.find_last_not_of(" \t") - nFirst + 1);
}

// The parts of text between runs of the separators.
std::vector<std::string_view> SplitOn(std::string_view text, const char* szSeparators)
{
    std::vector<std::string_view> parts;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t nStart = text.find_first_not_of(szSeparators, i);
        if (nStart == std::string_view::npos)
            break;
        const std::size_t nEnd = text.find_first_of(szSeparators, nStart);
        const std::size_t nStop = nEnd == std::string_view::npos ? text.size() : nEnd;
        parts.push_back(text.substr(nStart, nStop - nStart));
        i = nStop;
    }
    return parts;
}

// "75," of "20, 75, 3": the comma separates, it is not a decimal comma.
std::string_view TrimCommas(std::string_view text)
{
    while (!text.empty() && text.front() == ',')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ',')
        text.remove_suffix(1);
    return text;
}

// The length of the UTF-8 sequence at text[i] that a terminal shows as
// one printable character, or 0 for a broken sequence or a C1 control.
std::size_t PrintableSequence(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4                                   ? 4
                                                                                           : 0;
    if (n == 0 || i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    return lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0 ? 0 : n;
}

bool IsControl(char c)
{
    const auto uc = static_cast<unsigned char>(c);
    return uc < 0x20 || uc == 0x7F;
}

}  // namespace

bool StripRoomEncoding(std::string_view* pText, RoomFileError* pError)
{
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (pText->substr(0, kUtf8Mark.size()) == kUtf8Mark)
        pText->remove_prefix(kUtf8Mark.size());
    const std::string_view text = *pText;
    const bool bUtf16Mark = text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF";
    // Text of the Latin alphabet in UTF-16 has a zero in its first two bytes.
    const bool bUtf16Text = text.size() >= 2 && (text[0] == '\0' || text[1] == '\0');
    if (!bUtf16Mark && !bUtf16Text)
        return true;
    *pError = {kTxtRoomUtf16, 0, {}};
    return false;
}

std::vector<std::string_view> RoomLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t nStart = 0;
    while (nStart <= text.size()) {
        const std::size_t nEnd = text.find_first_of("\r\n", nStart);
        const std::size_t nStop = nEnd == std::string_view::npos ? text.size() : nEnd;
        lines.push_back(TrimBlanks(text.substr(nStart, nStop - nStart)));
        if (nEnd == std::string_view::npos)
            break;
        nStart = nEnd + (text[nEnd] == '\r' && nEnd + 1 < text.size() && text[nEnd + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> RoomFields(std::string_view line)
{
    std::vector<std::string> fields;
    const std::vector<std::string_view> blankFields = SplitOn(line, " \t;");
    if (blankFields.size() == 1 && line.find(';') == std::string_view::npos) {
        for (const std::string_view field : SplitOn(blankFields.front(), ","))
            fields.emplace_back(field);
        return fields;
    }
    for (const std::string_view field : blankFields) {
        const std::size_t nCommas = static_cast<std::size_t>(std::count(field.begin(), field.end(), ','));
        if (nCommas == 0 || field.find('.') != std::string_view::npos || nCommas > 1) {
            for (const std::string_view part : SplitOn(field, ","))
                fields.emplace_back(part);
            continue;
        }
        std::string strField(TrimCommas(field));
        if (strField.empty())
            continue;
        std::replace(strField.begin(), strField.end(), ',', '.');
        fields.push_back(std::move(strField));
    }
    return fields;
}

std::string RoomUpper(std::string_view text)
{
    std::string str(text);
    for (char& c : str)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return str;
}

bool ParseRoomNumber(std::string_view text, double* pValue)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+')
        return false;
    double dValue = 0.0;
    const auto [pEnd, ec] = std::from_chars(text.data(), text.data() + text.size(), dValue);
    if (ec != std::errc() || pEnd != text.data() + text.size() || !std::isfinite(dValue))
        return false;
    *pValue = dValue;
    return true;
}

void CRoomNotes::Add(std::string strNote)
{
    if (m_lines.size() < kMaxRoomNotes)
        m_lines.push_back(std::move(strNote));
    else
        ++m_nMore;
}

std::vector<std::string> CRoomNotes::Lines() const
{
    std::vector<std::string> lines = m_lines;
    if (m_nMore > 0)
        lines.push_back(Say(kTxtRoomMoreNotes, {std::to_string(m_nMore)}));
    return lines;
}

std::string RoomQuote(std::string_view token)
{
    constexpr std::size_t kMaxChars = 40;
    std::string strOut;
    std::size_t nChars = 0;
    for (std::size_t i = 0; i < token.size(); ++nChars) {
        if (nChars == kMaxChars)
            return strOut + "…";
        const std::size_t nSequence = PrintableSequence(token, i);
        if (nSequence > 0) {
            strOut.append(token.substr(i, nSequence));
            i += nSequence;
            continue;
        }
        const auto c = static_cast<unsigned char>(token[i++]);
        if (c < 0x80 && !IsControl(static_cast<char>(c))) {
            strOut.push_back(static_cast<char>(c));
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
        strOut += escaped;
    }
    return strOut;
}

std::string PrintableName(std::string_view name)
{
    std::string strOut(name);
    std::replace_if(strOut.begin(), strOut.end(), IsControl, '?');
    return strOut;
}

std::string RoomLinePrefix(int nLine)
{
    return Say(kTxtRoomLine, {std::to_string(nLine)});
}

std::string RoomNumberText(double dValue)
{
    char text[32];
    if (!(std::abs(dValue) < 1e9)) {  // a Q of 1e300 in exponent form rather than cut off
        std::snprintf(text, sizeof text, "%.6g", dValue);
        return text;
    }
    std::snprintf(text, sizeof text, "%.3f", dValue);
    std::string str(text);
    while (!str.empty() && str.back() == '0')
        str.pop_back();
    if (!str.empty() && str.back() == '.')
        str.pop_back();
    return str == "-0" ? "0" : str;
}
