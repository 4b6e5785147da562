#include "CtlRoomOptions.h"

#include <algorithm>
#include <sstream>

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

std::vector<std::string> SplitCommas(const std::string& strText)
{
    std::vector<std::string> parts;
    std::istringstream in(strText);
    for (std::string strPart; std::getline(in, strPart, ',');)
        parts.push_back(strPart);
    return parts;
}

bool ParseOutputList(const std::vector<std::string>& texts, std::vector<int>* pOutputs, std::string* pError)
{
    for (const std::string& strText : texts) {
        int nOutput = 0;
        if (!ParseOutputNumber(strText, &nOutput, pError))
            return false;
        if (std::find(pOutputs->begin(), pOutputs->end(), nOutput) != pOutputs->end()) {
            *pError = "output " + std::to_string(nOutput) + " is named twice";
            return false;
        }
        pOutputs->push_back(nOutput);
    }
    if (pOutputs->size() < 2)
        *pError = "a sum needs two outputs or more, e.g. 1,2";
    return pOutputs->size() >= 2;
}
