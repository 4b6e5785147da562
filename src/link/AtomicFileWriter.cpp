#include "AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 100;

// Where the bytes really go: a link is followed so that it survives the save.
bool ResolveTarget(const fs::path& target, fs::path* pReal)
{
    std::error_code ec;
    *pReal = target;
    if (fs::symlink_status(target, ec).type() != fs::file_type::symlink)
        return true;  // also a target that does not exist yet
    *pReal = fs::weakly_canonical(target, ec);
    return !ec;
}

// A fresh file beside the target. O_EXCL keeps two saves (or a stale file
// from a crash) from sharing one temporary name; the creation mode honours
// the user's umask as a plain new file would.
int CreateTemporary(const fs::path& real, fs::path* pTemp)
{
    static std::atomic<unsigned> s_nCounter{0};
    for (int i = 0; i < kNameAttempts; ++i) {
        // Appended piece by piece: GCC 12 warns (-Wrestrict) on a chain
        // that starts with a literal.
        std::string strName = ".";
        strName += real.filename().string();
        strName += ".tmp";
        strName += std::to_string(getpid());
        strName += '-';
        strName += std::to_string(s_nCounter++);
        *pTemp = real.parent_path() / strName;
        const int fd = open(pTemp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool KeepMode(int fd, const fs::path& real)
{
    struct stat st {};
    if (stat(real.c_str(), &st) != 0)
        return errno == ENOENT;
    return fchmod(fd, st.st_mode & 07777) == 0;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<size_t>(n));
    }
    return true;
}

bool FillAndClose(int fd, const fs::path& real, std::span<const uint8_t> bytes)
{
    const bool bOk = KeepMode(fd, real) && WriteAll(fd, bytes) && fsync(fd) == 0;
    return close(fd) == 0 && bOk;
}

// Makes the rename itself survive a power loss. Some file systems cannot
// sync a directory; the new file is complete by then, so that is no failure.
void SyncDirectory(const fs::path& real)
{
    const fs::path dir = real.parent_path().empty() ? fs::path(".") : real.parent_path();
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool CAtomicFileWriter::Write(const fs::path& target, std::span<const uint8_t> bytes)
{
    fs::path real;
    if (!ResolveTarget(target, &real))
        return false;
    fs::path temp;
    const int fd = CreateTemporary(real, &temp);
    if (fd < 0)
        return false;
    if (!FillAndClose(fd, real, bytes) || rename(temp.c_str(), real.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    SyncDirectory(real);
    return true;
}
