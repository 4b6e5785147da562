#include "NumberText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "RoomText.h"

namespace {

// Shortest of what every caller needs, long enough for any double.
constexpr size_t kNumberBuffer = 64;

}  // namespace

namespace {

// U+2212, the minus sign of typeset text (and of the README), in UTF-8.
constexpr std::string_view kUnicodeMinus = "\xE2\x88\x92";

// One sign at most: '+', '-' or the Unicode minus. The rest is returned.
std::string_view TakeSign(std::string_view text, bool* pNegative)
{
    *pNegative = false;
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    } else if (text.starts_with('-')) {
        *pNegative = true;
        text.remove_prefix(1);
    } else if (text.starts_with(kUnicodeMinus)) {
        *pNegative = true;
        text.remove_prefix(kUnicodeMinus.size());
    }
    return text;
}

}  // namespace

bool ParseDecimal(std::string_view text, double* pValue)
{
    bool bNegative = false;
    text = TakeSign(text, &bNegative);
    // Only digits and one point after the sign: no exponents, no hex, no
    // "inf", no second sign.
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos)
        return false;
    double dValue = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), dValue, std::chars_format::fixed);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(dValue))
        return false;
    *pValue = bNegative ? -dValue : dValue;
    return true;
}

bool ParseWhole(std::string_view text, int* pValue)
{
    bool bNegative = false;
    text = TakeSign(text, &bNegative);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    long long nValue = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), nValue);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return false;
    nValue = bNegative ? -nValue : nValue;
    if (nValue < std::numeric_limits<int>::min() || nValue > std::numeric_limits<int>::max())
        return false;
    *pValue = static_cast<int>(nValue);
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

std::string EchoText(std::string_view typed)
{
    return RoomQuote(typed);
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
