// Replaces a file only once its new contents are complete on disk: the bytes
// go to a temporary file in the target's directory (same file system, so the
// rename is atomic), which is then renamed over the target. A save that fails
// at any step removes its temporary file and leaves the previous file exactly
// as it was.
//
// Threads: any; no shared state.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

class CAtomicFileWriter {
public:
    // False when the file could not be written completely; the target is then
    // untouched and *pError (when given) says why, in the system's words
    // ("No space left on device"). A symbolic link as target is kept, also a
    // dangling one: the file it points to is written. An existing target that
    // is not a regular file (a directory, a FIFO, a device) is refused. An
    // existing target keeps its permission bits.
    static bool Write(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                      std::string* pError = nullptr);
};
