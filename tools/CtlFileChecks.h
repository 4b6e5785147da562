// Why a file named on the command line cannot be read or written, asked
// before any long work, and the refusal line that says so.
//
// Threads: the command's thread.
#pragma once

#include <filesystem>
#include <string>

#include "CtlContext.h"
#include "PresetFile.h"

// "Read MusicFile  Error (PATH: WHY)"; returns kExitFailed.
int RefuseFile(CtlContext& ctx, PresetFileError error, const std::filesystem::path& path, const std::string& strWhy = {});
// Empty when the file can be written: a file name in an existing folder.
std::string WhyNotWritable(const std::filesystem::path& path);
// Why a file could not be read or is not the container wanted ("not " + pKind).
std::string WhyUnreadable(const std::filesystem::path& path, const char* pKind);
