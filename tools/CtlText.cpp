#include "CtlText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Shortest of what every caller needs, long enough for any double.
constexpr size_t kNumberBuffer = 64;

}  // namespace

bool ParseDecimal(std::string_view text, double* pValue)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '-' ||
                          text.front() == '.'))
        return false;
    // Only digits, one sign and one point: no exponents, no hex, no "inf".
    for (char c : text.substr(text.front() == '-' ? 1 : 0)) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.')
            return false;
    }
    double dValue = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), dValue, std::chars_format::fixed);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(dValue))
        return false;
    *pValue = dValue;
    return true;
}

bool ParseWhole(std::string_view text, int* pValue)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int nValue = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), nValue);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size())
        return false;
    *pValue = nValue;
    return true;
}

bool IsOnStep(double dValue, double dStep)
{
    const double dSteps = dValue / dStep;
    return std::fabs(dSteps - std::round(dSteps)) < 1e-6;
}

std::string ToLower(std::string_view text)
{
    std::string str(text);
    for (char& c : str)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return str;
}

std::string FormatFixed(double dValue, int nDecimals)
{
    char buffer[kNumberBuffer];
    std::snprintf(buffer, sizeof buffer, "%.*f", nDecimals, dValue);
    std::string str(buffer);
    if (str.front() == '-' && str.find_first_not_of("-0.") == std::string::npos)
        str.erase(0, 1);
    return str;
}

std::string FormatTrimmed(double dValue, int nMaxDecimals)
{
    std::string str = FormatFixed(dValue, nMaxDecimals);
    if (str.find('.') == std::string::npos)
        return str;
    while (str.back() == '0')
        str.pop_back();
    if (str.back() == '.')
        str.pop_back();
    return str;
}

std::string FormatExact(double dValue)
{
    char buffer[kNumberBuffer * 6];  // the fixed notation of any finite double fits
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, dValue, std::chars_format::fixed);
    if (ec != std::errc())
        return FormatFixed(dValue, 6);
    return std::string(buffer, ptr);
}

std::string JsonString(std::string_view text)
{
    std::string str = "\"";
    for (char c : text) {
        const auto nByte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            str += '\\';
            str += c;
        } else if (nByte < 0x20 || nByte > 0x7E) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", nByte);
            str += buffer;
        } else {
            str += c;
        }
    }
    return str + "\"";
}
