// What a push compares: every setting a preset file carries, in named parts,
// taken alike from the file and from a processor that was read back.
//
//   scene file       the scene name (as loading the file names it), the
//                    music block, the six output blocks
//   all-scenes file  the same of its live scene, programs 1 … 10 (name,
//                    music block, output blocks) and the delay table
//
// Threads: the thread that owns the processor.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CProcessor;

struct SettingsPart {
    std::string strName;  // "output 3", "program 2 name" …
    std::vector<uint8_t> bytes;
};
using Settings = std::vector<SettingsPart>;

// A checked preset file to push.
struct PushFile {
    bool bAllScenes = false;
    bool bLiveScene = true;  // an older all-scenes file carries programs only
    std::vector<uint8_t> bytes;
    std::string strSceneName;  // the live scene's name once the file is loaded
};

// The file at path, checked; nothing with *pError when it is none.
std::optional<PushFile> ReadPushFile(const std::filesystem::path& path, std::string* pError);
Settings FileSettings(const PushFile& file);
// The same parts of what the processor's model holds (after a full read,
// and for an all-scenes file a read of every program).
Settings ProcessorSettings(const PushFile& file, CProcessor& processor);
// The name of the first part that differs; empty when none does.
std::string FirstDifference(const Settings& a, const Settings& b);
