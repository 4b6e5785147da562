#include "RoomText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "GlobalData.h"

std::optional<std::string> ReadRoomFile(const std::string& strPath, std::string* pError)
{
    std::error_code ec;
    const auto nSize = std::filesystem::file_size(strPath, ec);
    if (ec) {
        *pError = RoomSay("Cannot read %1", "无法读取 %1", {strPath});
        return std::nullopt;
    }
    if (nSize > kRoomFileMaxBytes) {
        *pError = RoomSay("%1 is larger than 4 MB: not a measurement or filter file",
                          "%1 大于 4 MB：不是测量文件或滤波器文件", {strPath});
        return std::nullopt;
    }
    std::ifstream in(strPath, std::ios::binary);
    std::string text(static_cast<std::size_t>(nSize), '\0');
    if (!in || !in.read(text.data(), static_cast<std::streamsize>(nSize))) {
        *pError = RoomSay("Cannot read %1", "无法读取 %1", {strPath});
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

}  // namespace

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

std::vector<std::string_view> RoomFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t nStart = line.find_first_not_of(" \t,", i);
        if (nStart == std::string_view::npos)
            break;
        const std::size_t nEnd = line.find_first_of(" \t,", nStart);
        const std::size_t nStop = nEnd == std::string_view::npos ? line.size() : nEnd;
        fields.push_back(line.substr(nStart, nStop - nStart));
        i = nStop;
    }
    return fields;
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

std::string RoomSay(const char* szEnglish, const char* szChinese, std::initializer_list<std::string> args)
{
    const std::string strPattern = g_bChinese ? szChinese : szEnglish;
    std::string strOut;
    for (std::size_t i = 0; i < strPattern.size(); ++i) {
        const char c = strPattern[i];
        const std::size_t nArg = i + 1 < strPattern.size() ? static_cast<std::size_t>(strPattern[i + 1] - '1') : 99;
        if (c == '%' && nArg < args.size()) {
            strOut.append(*(args.begin() + nArg));
            ++i;
        } else {
            strOut.push_back(c);
        }
    }
    return strOut;
}

std::string RoomLinePrefix(int nLine)
{
    return RoomSay("line %1: ", "第 %1 行：", {std::to_string(nLine)});
}

std::string RoomNumberText(double dValue)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", dValue);
    std::string str(text);
    while (!str.empty() && str.back() == '0')
        str.pop_back();
    if (!str.empty() && str.back() == '.')
        str.pop_back();
    return str == "-0" ? "0" : str;
}
