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

class CAtomicFileWriter {
public:
    // False when the file could not be written completely; the target is then
    // untouched. A symbolic link as target is kept: the file it points to is
    // replaced. An existing target keeps its permission bits.
    static bool Write(const std::filesystem::path& target, std::span<const uint8_t> bytes);
};
