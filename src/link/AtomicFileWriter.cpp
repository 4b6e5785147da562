#include "AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 100;
constexpr int kMaxLinks = 40;  // as the kernel's own limit on a path's links

// The system's words for an errno value, e.g. "No space left on device".
std::string Reason(int nError)
{
    return std::system_category().message(nError);
}

// Where the bytes really go: links are followed one by one, so that a link
// survives the save even when the file it names does not exist yet.
bool ResolveTarget(const fs::path& target, fs::path* pReal, std::string* pError)
{
    fs::path real = target;
    std::error_code ec;
    for (int i = 0; fs::symlink_status(real, ec).type() == fs::file_type::symlink; ++i) {
        const fs::path next = fs::read_symlink(real, ec);
        if (ec || i == kMaxLinks) {
            *pError = Reason(ec ? ec.value() : ELOOP);
            return false;
        }
        real = next.is_absolute() ? next : real.parent_path() / next;
    }
    const fs::file_type type = fs::status(real, ec).type();
    if (type != fs::file_type::not_found && type != fs::file_type::regular) {
        // Renaming over a FIFO or a device would replace it with a plain file.
        *pError = type == fs::file_type::directory ? Reason(EISDIR) : "not a regular file";
        return false;
    }
    *pReal = real;
    return true;
}

// A fresh file beside the target, under a short name of its own so that a
// target name near the system's limit still works. O_EXCL keeps two saves
// (or a stale file from a crash) from sharing one temporary file; unlike
// mkstemp's 0600, the creation mode honours the user's umask as a plain new
// file would.
int CreateTemporary(const fs::path& real, fs::path* pTemp)
{
    static std::atomic<unsigned> s_nCounter{0};
    for (int i = 0; i < kNameAttempts; ++i) {
        std::string strName = ".zr470-";
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
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes = bytes.subspan(static_cast<size_t>(n));
    }
    return true;
}

// Zero, or the errno of the first step that failed.
int FillAndClose(int fd, const fs::path& real, std::span<const uint8_t> bytes)
{
    const int nError = KeepMode(fd, real) && WriteAll(fd, bytes) && fsync(fd) == 0 ? 0 : errno;
    const bool bClosed = close(fd) == 0;
    return nError ? nError : (bClosed ? 0 : errno);
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

bool CAtomicFileWriter::Write(const fs::path& target, std::span<const uint8_t> bytes, std::string* pError)
{
    std::string strIgnored;
    std::string& strError = pError ? *pError : strIgnored;
    fs::path real;
    if (!ResolveTarget(target, &real, &strError))
        return false;
    fs::path temp;
    const int fd = CreateTemporary(real, &temp);
    if (fd < 0) {
        strError = Reason(errno);
        return false;
    }
    int nError = FillAndClose(fd, real, bytes);
    if (nError == 0 && rename(temp.c_str(), real.c_str()) != 0)
        nError = errno;
    if (nError != 0) {
        unlink(temp.c_str());
        strError = Reason(nError);
        return false;
    }
    SyncDirectory(real);
    return true;
}
