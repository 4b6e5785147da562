#include "CtlRoomOptions.h"

#include "DataDefine.h"
#include "GlobalData.h"
#include "NumberText.h"
#include "RoomFit.h"

namespace {

constexpr double kFitBoostLimitDb = 20.0;
constexpr double kFitCutLimitDb = -20.0;

// "20-500": whole or decimal hertz, low below high, on the graph's axis.
bool ParseRange(const std::string& strText, double* pLow, double* pHigh)
{
    const size_t nDash = strText.find('-', 1);
    return nDash != std::string::npos && ParseDecimal(strText.substr(0, nDash), pLow) &&
           ParseDecimal(strText.substr(nDash + 1), pHigh) && *pLow >= kMinFreq && *pLow < *pHigh &&
           *pHigh <= kMaxFreq;
}

// The option's number within dLow … dHigh, or the input's value unchanged
// when the option was not given.
bool ParseLimited(const CommandLine& line, const char* pName, double dLow, double dHigh, double* pValue)
{
    const auto found = line.values.find(pName);
    return found == line.values.end() ||
           (ParseDecimal(found->second, pValue) && *pValue >= dLow && *pValue <= dHigh);
}

}  // namespace

bool ParseOutputNumber(const std::string& strText, int* pChannel, std::string* pError)
{
    if (ParseWhole(strText, pChannel) && *pChannel >= 1 && *pChannel <= kOutputs)
        return true;
    *pError = "channel \"" + EchoText(strText) + "\" refused: outputs are 1 … 6";
    return false;
}

std::string OptionValue(const CommandLine& line, const char* pName, const char* pDefault)
{
    const auto found = line.values.find(pName);
    return found == line.values.end() ? pDefault : found->second;
}

bool ParseFitOptions(const CommandLine& line, RoomFitInput* pInput, std::string* pError)
{
    if (line.values.count("--range") && !ParseRange(line.values.at("--range"), &pInput->dLowHz, &pInput->dHighHz)) {
        *pError = "--range takes LO-HI in hertz, 20 … 20000 with LO below HI, not \"" + line.values.at("--range") + '"';
        return false;
    }
    if (line.values.count("--bands") && !(ParseWhole(line.values.at("--bands"), &pInput->nBands) &&
                                          pInput->nBands >= 1 && pInput->nBands <= kRoomFitMaxBands)) {
        *pError = "--bands takes 1 … 31, not \"" + line.values.at("--bands") + '"';
        return false;
    }
    if (!ParseLimited(line, "--max-boost", 0.0, kFitBoostLimitDb, &pInput->dMaxBoostDb)) {
        *pError = "--max-boost takes 0 … 20 dB, not \"" + OptionValue(line, "--max-boost") + '"';
        return false;
    }
    if (!ParseLimited(line, "--max-cut", kFitCutLimitDb, 0.0, &pInput->dMaxCutDb)) {
        *pError = "--max-cut takes -20 … 0 dB, not \"" + OptionValue(line, "--max-cut") + '"';
        return false;
    }
    return true;
}
