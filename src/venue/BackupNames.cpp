// The file names of a venue backup: one per room, safe on any file system.
#include <algorithm>
#include <string_view>

#include "PresetFile.h"
#include "VenueRun.h"

namespace {

constexpr size_t kStemMaxBytes = 100;
constexpr std::string_view kUnsafe = "/\\:*?\"<>|";

bool IsUnsafe(unsigned char c)
{
    return c < 0x20 || c == 0x7F || kUnsafe.find(static_cast<char>(c)) != std::string_view::npos;
}

// No separators, no control characters, no "..", no leading dot (no
// hidden file), no trailing dot or blank, not too long.
std::string SafeStem(const std::string& strName)
{
    std::string strStem;
    for (const char c : strName) {
        if (c == '.' && !strStem.empty() && strStem.back() == '.')
            strStem.back() = '_';
        strStem += IsUnsafe(static_cast<unsigned char>(c)) ? '_' : c;
    }
    const size_t nFirst = strStem.find_first_not_of(". ");
    strStem = nFirst == std::string::npos ? "" : strStem.substr(nFirst);
    if (strStem.size() > kStemMaxBytes) {
        size_t nCut = kStemMaxBytes;
        while (nCut > 0 && (static_cast<unsigned char>(strStem[nCut]) & 0xC0) == 0x80)
            --nCut;  // not inside a UTF-8 character
        strStem.resize(nCut);
    }
    strStem.erase(strStem.find_last_not_of(". ") + 1);
    return strStem.empty() ? "room" : strStem;
}

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

}  // namespace

std::vector<std::string> BackupFileNames(const std::vector<VenueRoom>& rooms)
{
    std::vector<std::string> names;
    std::vector<std::string> taken;  // lower case: a file system may ignore case
    for (const VenueRoom& room : rooms) {
        const std::string strStem = SafeStem(room.strName);
        std::string strName = strStem + std::string(kAllScenesFileExt);
        for (int n = 2; std::find(taken.begin(), taken.end(), Lowered(strName)) != taken.end(); ++n)
            strName = strStem + "-" + std::to_string(n) + std::string(kAllScenesFileExt);
        taken.push_back(Lowered(strName));
        names.push_back(strName);
    }
    return names;
}
