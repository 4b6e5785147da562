// The PC preset files: one scene (".ZR4C"), all scenes (".ZR4AC") and the
// delays of one listening position (".Mode_C"). A tag is one length byte and
// its characters without terminator; everything after it is raw bytes:
//
//   scene             "ZR470_File"     live image (2184)
//   all scenes        "ZR471_ALLFile"  scene store entries 1 … 20 (20 × 2184),
//                                      live image (2184), delay table (50)
//   all scenes, older "ZR470_ALLFile"  scene store entries 1 … 20 (read only)
//   position          "Mode_File"      position p (0 … 3), six delays of p (12)
//
// A file must have exactly its container's length: a short file and one with
// bytes after the container are refused alike, since neither was written by
// this program and there is no telling what the extra or missing bytes meant.
// Delays above 20 ms are limited to 20 ms and an all-scenes file's current
// position to 0 … 3 as they are applied; a position file naming a position
// outside 0 … 3 is refused, it has no place to go.
//
// Nothing changes until a file has been read and checked completely; a
// refused file leaves the model, the live image, the scene store and the
// delay table as they were. Every failure returns its kind, the path and
// the system's reason; wording and showing it is the caller's job.
//
// Threads: user-interface thread. Loading takes the model lock only to apply a
// checked file; the caller holds the comm lock around the load and the commands
// it then queues, so the link never sends a half-loaded model. Saving takes
// the model lock only to bring the live image up to date and copy the data; the
// file is written after the lock is released.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>
#include <span>
#include <string>
#include <string_view>

#include "DataDefine.h"
#include "GlobalData.h"
#include "TextTable.h"

class CKTV_Data;

constexpr std::string_view kSceneFileExt = ".ZR4C";
constexpr std::string_view kAllScenesFileExt = ".ZR4AC";
constexpr std::string_view kPositionFileExt = ".Mode_C";

constexpr std::string_view kSceneFileTag = "ZR470_File";
constexpr std::string_view kAllScenesFileTag = "ZR471_ALLFile";
constexpr std::string_view kOldAllScenesFileTag = "ZR470_ALLFile";
constexpr std::string_view kPositionFileTag = "Mode_File";

constexpr size_t kPositionDelayBytes = kOutputs * 2;
constexpr size_t kSceneStoreBytes = static_cast<size_t>(kSceneEntries) * kImageSize;
constexpr size_t kSceneFileSize = 1 + kSceneFileTag.size() + kImageSize;
constexpr size_t kAllScenesFileSize =
    1 + kAllScenesFileTag.size() + kSceneStoreBytes + kImageSize + kDelayTableSize;
constexpr size_t kOldAllScenesFileSize = 1 + kOldAllScenesFileTag.size() + kSceneStoreBytes;
constexpr size_t kPositionFileSize = 1 + kPositionFileTag.size() + 1 + kPositionDelayBytes;

// A scene name taken from a file title has at most this many characters.
constexpr size_t kSceneTitleMax = kNameChars;

enum class PresetFileError {
    None,
    SaveScene,      // "Save MusicFile Error!"
    ReadScene,      // "Read MusicFile  Error"
    SaveAllScenes,  // "save all MusicFile Error!"
    ReadAllScenes,  // "Read all MusicFile Error"
    SavePosition,   // "Save Mode File Error!"
    ReadPosition,   // "Read Mode File  Error"
};
// The message from the text table, in the language given or of the moment.
const char* PresetFileErrorText(PresetFileError error, Language language = CurrentLanguage());

// ---- Checked containers: views into the caller's buffer ----------------------

struct SceneFileView {
    std::span<const uint8_t> image;       // kImageSize
};

struct AllScenesFileView {
    std::span<const uint8_t> scenes;      // entries 1 … 20 back to back
    bool bCurrent = false;                // false: the older container, scenes only
    std::span<const uint8_t> liveImage;   // kImageSize when bCurrent, else empty
    std::span<const uint8_t> delayTable;  // kDelayTableSize when bCurrent, else empty
};

struct PositionFileView {
    int nPosition = 0;                    // 0 … 3
    std::span<const uint8_t> delays;      // six 16-bit little-endian delays
};

// Pure: nothing but the bytes is looked at. Nothing when the length or the
// tag does not match (or, for a position file, the position is not 0 … 3).
std::optional<SceneFileView> ParseSceneFile(std::span<const uint8_t> bytes);
std::optional<AllScenesFileView> ParseAllScenesFile(std::span<const uint8_t> bytes);
std::optional<PositionFileView> ParsePositionFile(std::span<const uint8_t> bytes);

// ---- Load and save -------------------------------------------------------------

struct PresetFileResult {
    bool bOk = false;
    PresetFileError error = PresetFileError::None;  // what failed when bOk is false
    std::string strReason;         // a failed save: the system's reason ("Is a directory"), if any
    std::filesystem::path path;    // the file read, or written (extension appended)
    int nPosition = -1;            // position load: the position p that took the delays
    bool bModelLoaded = false;     // load: the model was loaded from the new live image
};

// Scene: the image becomes the live image, the whole model is loaded from it
// and every change mark is cleared. The caller then sets the scene name from
// SceneTitle(path), writes scene 0 and refreshes the form.
PresetFileResult LoadSceneBytes(CKTV_Data& data, std::span<const uint8_t> bytes);
PresetFileResult LoadSceneFile(CKTV_Data& data, const std::filesystem::path& path);

// All scenes: store entries 1 … 20; the current container also sets the live
// image and the delay table, loads the model and clears every change mark.
// The older container leaves the model, its marks, the live image and the
// delay table alone (bModelLoaded false). The caller then writes all scenes
// and shows the position, its delays and the scene name.
PresetFileResult LoadAllScenesBytes(CKTV_Data& data, std::span<const uint8_t> bytes);
PresetFileResult LoadAllScenesFile(CKTV_Data& data, const std::filesystem::path& path);

// Position: the six delays become position p's entries of the delay table;
// the current position (byte 48) is left to the caller, who selects p.
PresetFileResult LoadPositionBytes(CKTV_Data& data, std::span<const uint8_t> bytes);
PresetFileResult LoadPositionFile(CKTV_Data& data, const std::filesystem::path& path);

// The containers as the saves below write them: a scene file around a live
// image, and the model's live settings as a scene or all-scenes file.
std::vector<uint8_t> SceneFileBytes(std::span<const uint8_t> image);
std::vector<uint8_t> SceneFileBytes(CKTV_Data& data);
std::vector<uint8_t> AllScenesFileBytes(CKTV_Data& data);

// Each save appends its extension when the file name does not end in it,
// brings the live image up to date from the model where the container holds
// it, and replaces the file atomically: a failed save keeps the old file.
PresetFileResult SaveSceneFile(CKTV_Data& data, const std::filesystem::path& path);
PresetFileResult SaveAllScenesFile(CKTV_Data& data, const std::filesystem::path& path);
// The current position (limited to 0 … 3) and its six delays.
PresetFileResult SavePositionFile(CKTV_Data& data, const std::filesystem::path& path);

// ---- Names -----------------------------------------------------------------------

// Whether the file name ends in the extension, in any case: "x.zr4c" is a
// scene file.
bool HasPresetExtension(const std::filesystem::path& path, std::string_view ext);
// The path with the extension appended unless it has it already.
std::filesystem::path WithPresetExtension(const std::filesystem::path& path, std::string_view ext);
// The file name without directory and extension, cut to kSceneTitleMax
// bytes without splitting a UTF-8 character, so it fits the name field.
std::string SceneTitle(const std::filesystem::path& path);

// The whole file, or nothing when it cannot be read. At most one byte more
// than nLargest is read: enough to see that a file is too long without
// taking a huge file into memory.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path, size_t nLargest);
