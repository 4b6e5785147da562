// The service's tokens: who may use the API, with which role and in which
// rooms. A token is shown once when it is made; the file keeps only its
// SHA-256, so a copy of the file lets nobody in.
//
//   {"tokens": [{"name": "desk", "role": "staff", "rooms": ["Room 1"], "sha256": "…"}]}
//
// The file is replaced atomically and readable by its owner only (0600).
//
// Threads: a CTokenFile is read-only once loaded and may then be asked from
// any thread; adding and removing belong to the command line.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class Role { kInstaller, kStaff };

struct TokenEntry {
    std::string strName;
    Role role = Role::kInstaller;
    std::vector<std::string> rooms;  // staff only; empty: every room
    std::string strHash;             // hex SHA-256 of the token
};

class CTokenFile {
public:
    // A missing file is an empty list; an unreadable or malformed one is
    // refused with *pError.
    bool Load(const std::filesystem::path& path, std::string* pError);
    bool Save(const std::filesystem::path& path, std::string* pError) const;

    // A new random token for strName; the token itself is returned, its hash
    // kept. False with *pError when the name is taken or empty.
    bool Add(const std::string& strName, Role role, const std::vector<std::string>& rooms, std::string* pToken,
             std::string* pError);
    bool Remove(const std::string& strName);
    const std::vector<TokenEntry>& Entries() const { return m_entries; }
    // The entry the token belongs to, if any.
    std::optional<TokenEntry> Find(const std::string& strToken) const;

private:
    std::vector<TokenEntry> m_entries;
};

std::string RoleName(Role role);
bool ParseRole(const std::string& strText, Role* pRole);
// Lower-case hex SHA-256 of the text.
std::string Sha256Hex(const std::string& strText);
// Whether an entry may act on the room.
bool MayUseRoom(const TokenEntry& entry, const std::string& strRoom);
