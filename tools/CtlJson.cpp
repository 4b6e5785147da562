#include "CtlJson.h"

#include <cmath>
#include <cstdint>

#include "NumberText.h"

namespace {

// Whole values within this print as integers; beyond it a double keeps
// more than the integer types could.
constexpr double kLargestWhole = 9.0e15;

}  // namespace

std::string JsonText(const Json& value)
{
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string JsonLine(const Json& value)
{
    return JsonText(value) + '\n';
}

Json JsonExact(double dValue)
{
    if (std::isfinite(dValue) && dValue == std::trunc(dValue) && std::fabs(dValue) < kLargestWhole)
        return static_cast<std::int64_t>(dValue);
    return dValue;
}

Json JsonNumber(double dValue, int nDecimals)
{
    double dRounded = 0.0;
    // The decimal text the other outputs show, read back: -3.50 and -3.5 are one value.
    if (!ParseDecimal(FormatFixed(dValue, nDecimals), &dRounded))
        return nullptr;
    return JsonExact(dRounded);
}
