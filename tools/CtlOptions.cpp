#include "CtlOptions.h"

#include <algorithm>
#include <sstream>

#include "NumberText.h"

namespace {

struct OptionRule {
    bool bValue = false;
    std::vector<std::string> words;  // the choice; empty: any value
};

std::map<std::string, OptionRule, std::less<>> ParseDeclared(std::string_view declared)
{
    std::map<std::string, OptionRule, std::less<>> options;
    std::istringstream in{std::string(declared)};
    for (std::string strItem; in >> strItem;) {
        const size_t nEqual = strItem.find('=');
        OptionRule& option = options[strItem.substr(0, nEqual)];
        if (nEqual == std::string::npos)
            continue;
        option.bValue = true;
        std::istringstream words(strItem.substr(nEqual + 1));
        for (std::string strWord; std::getline(words, strWord, '|');)
            option.words.push_back(strWord);
    }
    return options;
}

std::string Choice(const std::vector<std::string>& words)
{
    std::string strText;
    for (size_t i = 0; i < words.size(); ++i)
        strText += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    return strText;
}

bool CheckValue(const std::string& strName, const OptionRule& option, const std::string& strValue,
                std::string* pError)
{
    if (strValue.empty()) {
        *pError = strName + " needs a value";
        return false;
    }
    if (!option.words.empty() && std::find(option.words.begin(), option.words.end(), strValue) == option.words.end()) {
        *pError = strName + " takes " + Choice(option.words) + ", not \"" + EchoText(strValue) + "\"";
        return false;
    }
    return true;
}

}  // namespace

bool SplitOptions(const std::vector<std::string>& args, std::string_view declared, CommandLine* pOut,
                  std::string* pError)
{
    const auto options = ParseDeclared(declared);
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& strArg = args[i];
        if (strArg.rfind("--", 0) != 0) {
            line.positional.push_back(strArg);
            continue;
        }
        const size_t nEqual = strArg.find('=');
        const std::string strName = strArg.substr(0, nEqual);
        const auto found = options.find(strName);
        if (found == options.end()) {
            *pError = "unknown option " + EchoText(strName);
            return false;
        }
        if (!found->second.bValue) {
            if (nEqual != std::string::npos) {
                *pError = strName + " takes no value";
                return false;
            }
            line.flags.insert(strName);
            continue;
        }
        if (nEqual == std::string::npos && i + 1 >= args.size()) {
            *pError = strName + " needs a value";
            return false;
        }
        const std::string strValue = nEqual == std::string::npos ? args[++i] : strArg.substr(nEqual + 1);
        if (!CheckValue(strName, found->second, strValue, pError))
            return false;
        line.values[strName] = strValue;
    }
    *pOut = std::move(line);
    return true;
}
