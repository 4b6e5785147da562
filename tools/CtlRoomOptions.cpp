#include "CtlRoomOptions.h"

#include "CtlText.h"
#include "GlobalData.h"

bool SplitRoomOptions(const std::vector<std::string>& args, size_t nPositional, const std::set<std::string>& flags,
                      const std::set<std::string>& valued, RoomOptions* pOut, std::string* pError)
{
    RoomOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& strArg = args[i];
        if (strArg.rfind("--", 0) != 0) {
            options.positional.push_back(strArg);
            continue;
        }
        const size_t nEqual = strArg.find('=');
        const std::string strName = strArg.substr(0, nEqual);
        if (flags.count(strName) && nEqual == std::string::npos) {
            options.flags.insert(strName);
        } else if (valued.count(strName)) {
            if (nEqual == std::string::npos && i + 1 >= args.size()) {
                *pError = strName + " needs a value";
                return false;
            }
            options.values[strName] = nEqual == std::string::npos ? args[++i] : strArg.substr(nEqual + 1);
        } else {
            *pError = "unknown option " + strArg;
            return false;
        }
    }
    if (options.positional.size() != nPositional) {
        *pError = "expected " + std::to_string(nPositional) + " argument" + (nPositional == 1 ? "" : "s") +
                  " besides the options, not " + std::to_string(options.positional.size());
        return false;
    }
    *pOut = std::move(options);
    return true;
}

bool ParseOutputNumber(const std::string& strText, int* pChannel, std::string* pError)
{
    if (ParseWhole(strText, pChannel) && *pChannel >= 1 && *pChannel <= kOutputs)
        return true;
    *pError = "channel \"" + strText + "\" refused: outputs are 1 … 6";
    return false;
}
