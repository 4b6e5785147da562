#include "CtlFileChecks.h"

#include <fstream>

namespace fs = std::filesystem;

int RefuseFile(CtlContext& ctx, PresetFileError error, const fs::path& path, const std::string& strWhy)
{
    return Refuse(ctx, std::string(PresetFileErrorText(error)) + " (" + path.string() +
                           (strWhy.empty() ? "" : ": " + strWhy) + ")");
}

// A file can only be written into an existing folder; knowing that before
// a long read from the processor saves the user the read.
std::string WhyNotWritable(const fs::path& path)
{
    std::error_code ec;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!path.has_filename())
        return "no file name";
    if (!fs::is_directory(folder, ec))
        return "the folder " + folder.string() + " does not exist";
    return {};
}

std::string WhyUnreadable(const fs::path& path, const char* pKind)
{
    std::error_code ec;
    if (!fs::exists(path, ec))
        return "no such file";
    if (fs::is_directory(path, ec))
        return "a folder, not a file";
    if (!std::ifstream(path, std::ios::binary))
        return "cannot be read";
    return std::string("not ") + pKind;
}
