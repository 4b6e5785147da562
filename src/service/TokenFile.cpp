#include "TokenFile.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "AtomicFileWriter.h"
#include "VenueFile.h"

namespace {

using Json = nlohmann::json;

std::string Hex(const unsigned char* pBytes, size_t nCount)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string strHex;
    for (size_t i = 0; i < nCount; ++i) {
        strHex += kDigits[pBytes[i] >> 4];
        strHex += kDigits[pBytes[i] & 0x0f];
    }
    return strHex;
}

TokenEntry EntryFromJson(const Json& item)
{
    TokenEntry entry;
    entry.strName = item.at("name").get<std::string>();
    if (!ParseRole(item.at("role").get<std::string>(), &entry.role))
        throw std::runtime_error("unknown role of \"" + entry.strName + "\"");
    entry.rooms = item.value("rooms", std::vector<std::string>{});
    entry.strHash = item.at("sha256").get<std::string>();
    return entry;
}

// A new file is made 0600 before anything is written to it; the atomic
// writer then keeps those bits.
bool CreatePrivate(const std::filesystem::path& path, std::string* pError)
{
    const int nFd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (nFd < 0 && errno != EEXIST) {
        *pError = "cannot create " + path.string();
        return false;
    }
    if (nFd >= 0)
        close(nFd);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    return true;
}

}  // namespace

std::string RoleName(Role role)
{
    return role == Role::kStaff ? "staff" : "installer";
}

bool ParseRole(const std::string& strText, Role* pRole)
{
    if (strText != "staff" && strText != "installer")
        return false;
    *pRole = strText == "staff" ? Role::kStaff : Role::kInstaller;
    return true;
}

std::string Sha256Hex(const std::string& strText)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int nLength = 0;
    EVP_Digest(strText.data(), strText.size(), digest, &nLength, EVP_sha256(), nullptr);
    return Hex(digest, nLength);
}

bool MayUseRoom(const TokenEntry& entry, const std::string& strRoom)
{
    if (entry.role == Role::kInstaller || entry.rooms.empty())
        return true;
    for (const std::string& strName : entry.rooms)
        if (SameRoomName(strName, strRoom))
            return true;
    return false;
}

bool CTokenFile::Load(const std::filesystem::path& path, std::string* pError)
{
    m_entries.clear();
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return true;
    std::ifstream file(path);
    const std::string strText((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    try {
        const Json file = Json::parse(strText);
        for (const Json& item : file.at("tokens"))
            m_entries.push_back(EntryFromJson(item));
    } catch (const std::exception& e) {
        m_entries.clear();
        *pError = "tokens file " + path.string() + " refused: " + e.what();
        return false;
    }
    return true;
}

bool CTokenFile::Save(const std::filesystem::path& path, std::string* pError) const
{
    Json tokens = Json::array();
    for (const TokenEntry& entry : m_entries)
        tokens.push_back(
            {{"name", entry.strName}, {"role", RoleName(entry.role)}, {"rooms", entry.rooms}, {"sha256", entry.strHash}});
    const std::string strText = Json{{"tokens", tokens}}.dump(2) + "\n";
    if (!CreatePrivate(path, pError))
        return false;
    return CAtomicFileWriter::Write(
        path, std::span(reinterpret_cast<const uint8_t*>(strText.data()), strText.size()), pError);
}

bool CTokenFile::Add(const std::string& strName, Role role, const std::vector<std::string>& rooms,
                     std::string* pToken, std::string* pError)
{
    if (strName.empty()) {
        *pError = "a token needs a name";
        return false;
    }
    for (const TokenEntry& entry : m_entries) {
        if (entry.strName == strName) {
            *pError = "a token named \"" + strName + "\" exists already: --remove-token it first";
            return false;
        }
    }
    unsigned char random[32];
    if (RAND_bytes(random, sizeof random) != 1) {
        *pError = "no random bytes for a token";
        return false;
    }
    *pToken = Hex(random, sizeof random);
    m_entries.push_back({strName, role, role == Role::kStaff ? rooms : std::vector<std::string>{}, Sha256Hex(*pToken)});
    return true;
}

bool CTokenFile::Remove(const std::string& strName)
{
    return std::erase_if(m_entries, [&](const TokenEntry& entry) { return entry.strName == strName; }) > 0;
}

std::optional<TokenEntry> CTokenFile::Find(const std::string& strToken) const
{
    const std::string strHash = Sha256Hex(strToken);
    for (const TokenEntry& entry : m_entries)
        if (entry.strHash == strHash)
            return entry;
    return std::nullopt;
}
