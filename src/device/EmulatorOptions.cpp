#include "EmulatorOptions.h"

#include <charconv>

namespace {

constexpr int kMaxCount = 1000000;
constexpr int kMaxDelayMs = 60000;
constexpr int kMaxItem = 255;
constexpr int kMaxPort = 65535;

bool ParseNumber(const std::string& strText, int nMax, int* pValue)
{
    int nValue = 0;
    const char* pEnd = strText.data() + strText.size();
    const auto [ptr, ec] = std::from_chars(strText.data(), pEnd, nValue);
    if (strText.empty() || ec != std::errc() || ptr != pEnd || nValue < 0 || nValue > nMax)
        return false;
    *pValue = nValue;
    return true;
}

// [HOST:]PORT; the last colon separates the port unless the host is a
// bracketed IPv6 address without one.
bool ParseListen(const std::string& strText, EmulatorOptions* pOut)
{
    std::string strHost = pOut->strHost;
    std::string strPort = strText;
    const size_t nColon = strText.rfind(':');
    if (nColon != std::string::npos && strText.find(']', nColon) == std::string::npos) {
        strHost = strText.substr(0, nColon);
        strPort = strText.substr(nColon + 1);
        if (strHost.empty())
            return false;
    }
    if (strHost.size() >= 2 && strHost.front() == '[' && strHost.back() == ']')
        strHost = strHost.substr(1, strHost.size() - 2);
    if (!ParseNumber(strPort, kMaxPort, &pOut->nPort))
        return false;
    pOut->strHost = strHost;
    return true;
}

struct CountOption {
    const char* pName;
    int VirtualFaults::*pField;
    int nMax;
};

const CountOption kCounts[] = {
    {"--drop-every", &VirtualFaults::nDropEvery, kMaxCount},
    {"--corrupt-every", &VirtualFaults::nCorruptEvery, kMaxCount},
    {"--resend-every", &VirtualFaults::nResendEvery, kMaxCount},
    {"--delay-ms", &VirtualFaults::nDelayMs, kMaxDelayMs},
    {"--silent-after", &VirtualFaults::nSilentAfter, kMaxCount},
    {"--empty-reply-on", &VirtualFaults::nEmptyReplyItem, kMaxItem},
    {"--unplug-after", &VirtualFaults::nUnplugAfter, kMaxCount},
};

struct TextOption {
    const char* pName;
    std::string EmulatorOptions::*pField;
};

const TextOption kTexts[] = {
    {"--hidg", &EmulatorOptions::strHidg},
    {"--gadget", &EmulatorOptions::strGadget},
};

// One option with its value; false with the message for the user, and
// *pBadValue set when the option is known but its value is not taken.
bool ApplyOption(const std::string& strName, const std::string& strValue, EmulatorOptions* pOut, std::string* pError,
                 bool* pBadValue)
{
    *pBadValue = true;
    if (strName == "--listen") {
        if (ParseListen(strValue, pOut))
            return true;
        *pError = "--listen needs [HOST:]PORT with PORT 0 … 65535, not \"" + strValue + "\"";
        return false;
    }
    if (strName == "--wrong-id") {
        pOut->faults.strWrongId = strValue;
        return true;
    }
    for (const TextOption& option : kTexts) {
        if (strName == option.pName) {
            pOut->*option.pField = strValue;
            return true;
        }
    }
    for (const CountOption& option : kCounts) {
        if (strName != option.pName)
            continue;
        if (ParseNumber(strValue, option.nMax, &(pOut->faults.*option.pField)))
            return true;
        *pError = strName + " needs a whole number from 0 to " + std::to_string(option.nMax) + ", not \"" +
                  strValue + "\"";
        return false;
    }
    *pBadValue = false;
    *pError = "Unknown option " + strName;
    return false;
}

}  // namespace

bool ParseEmulatorOptions(const std::vector<std::string>& args, EmulatorOptions* pOptions, std::string* pError,
                          bool* pBadValue)
{
    bool bBadValue = false;
    if (!pBadValue)
        pBadValue = &bBadValue;
    *pBadValue = false;
    EmulatorOptions options = *pOptions;
    for (size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            *pError = args[i].rfind("--", 0) == 0 ? args[i] + " needs a value" : "Unknown option " + args[i];
            return false;
        }
        if (!ApplyOption(args[i], args[i + 1], &options, pError, pBadValue))
            return false;
    }
    const bool bTcp = options.nPort >= 0;
    const bool bGadget = !options.strHidg.empty() || !options.strGadget.empty();
    if (bTcp == bGadget) {
        *pError = "emulate needs either --listen [HOST:]PORT or --hidg /dev/hidgN --gadget DIR";
        return false;
    }
    if (bGadget && (options.strHidg.empty() || options.strGadget.empty())) {
        *pError = "--hidg and --gadget go together: the gadget's node and its configfs folder";
        return false;
    }
    *pOptions = options;
    return true;
}
