#include "PushSettings.h"

#include "DataDefine.h"
#include "GlobalData.h"
#include "PresetFile.h"
#include "Processor.h"

namespace fs = std::filesystem;

namespace {

// The delays of the four positions and the position chosen; the spare
// byte after them carries nothing.
constexpr size_t kDelayBytesCompared = kDelaySelectedByte + 1;

std::vector<uint8_t> Slice(std::span<const uint8_t> bytes, size_t nOffset, size_t nSize)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(nOffset),
            bytes.begin() + static_cast<std::ptrdiff_t>(nOffset + nSize)};
}

// A name as the processor keeps it, whatever field it came in.
std::vector<uint8_t> NameBytes(const std::string& strName)
{
    uint8_t field[kNameSize] = {};
    CopyFixed(field, kNameSize, strName.substr(0, kNameChars));
    const std::string strKept = BytesToName(field, kNameSize);
    return {strKept.begin(), strKept.end()};
}

void AddImage(Settings& parts, const std::string& strPrefix, std::span<const uint8_t> image)
{
    parts.push_back({strPrefix + "music block", Slice(image, kOffMusic, kInBlockSize)});
    for (int k = 0; k < kOutputs; ++k)
        parts.push_back({strPrefix + "output " + std::to_string(k + 1),
                         Slice(image, static_cast<size_t>(kOffOutput + k * kOutBlockSize), kOutBlockSize)});
}

void AddPrograms(Settings& parts, const AllScenesFileView& view, bool bLiveScene)
{
    for (int p = 1; p <= kScenePrograms; ++p) {
        const auto entry = view.scenes.subspan(static_cast<size_t>(p - 1) * kImageSize, kImageSize);
        const std::string strPrefix = "program " + std::to_string(p) + " ";
        parts.push_back({strPrefix + "name", NameBytes(BytesToName(entry.data(), kNameSize))});
        AddImage(parts, strPrefix, entry);
    }
    if (bLiveScene)
        parts.push_back({"delay table", Slice(view.delayTable, 0, kDelayBytesCompared)});
}

// The parts of a checked container's bytes, its live scene named strSceneName.
Settings SettingsOf(const PushFile& file, std::span<const uint8_t> bytes, const std::string& strSceneName)
{
    Settings parts;
    if (!file.bAllScenes) {
        parts.push_back({"scene name", NameBytes(strSceneName)});
        AddImage(parts, "", ParseSceneFile(bytes)->image);
        return parts;
    }
    const AllScenesFileView view = *ParseAllScenesFile(bytes);
    if (file.bLiveScene) {
        parts.push_back({"scene name", NameBytes(strSceneName)});
        AddImage(parts, "", view.liveImage);
    }
    AddPrograms(parts, view, file.bLiveScene);
    return parts;
}

// Whether the bytes are the file the name says; what its live scene is.
bool TakeLiveScene(std::span<const uint8_t> bytes, const fs::path& path, PushFile* pFile)
{
    if (!pFile->bAllScenes) {
        pFile->strSceneName = SceneTitle(path);  // as loading the file in the editor names it
        return ParseSceneFile(bytes).has_value();
    }
    const std::optional<AllScenesFileView> view = ParseAllScenesFile(bytes);
    if (!view)
        return false;
    pFile->bLiveScene = view->bCurrent;
    if (view->bCurrent)
        pFile->strSceneName = BytesToName(view->liveImage.data() + kOffSceneName, kNameSize);
    return true;
}

}  // namespace

std::optional<PushFile> ReadPushFile(const fs::path& path, std::string* pError)
{
    PushFile file;
    file.bAllScenes = HasPresetExtension(path, kAllScenesFileExt);
    if (!file.bAllScenes && !HasPresetExtension(path, kSceneFileExt)) {
        *pError = path.string() + " is neither a scene file (.ZR4C) nor an all-scenes file (.ZR4AC)";
        return std::nullopt;
    }
    const PresetFileError error = file.bAllScenes ? PresetFileError::ReadAllScenes : PresetFileError::ReadScene;
    auto bytes = ReadFileBytes(path, file.bAllScenes ? kAllScenesFileSize : kSceneFileSize);
    if (!bytes || !TakeLiveScene(*bytes, path, &file)) {
        *pError = std::string(PresetFileErrorText(error)) + " " + path.string() +
                  (bytes ? ": not such a file" : ": cannot read it");
        return std::nullopt;
    }
    file.bytes = std::move(*bytes);
    return file;
}

Settings FileSettings(const PushFile& file)
{
    return SettingsOf(file, file.bytes, file.strSceneName);
}

Settings ProcessorSettings(const PushFile& file, CProcessor& processor)
{
    CKTV_Data& data = processor.Data();
    const std::vector<uint8_t> bytes = file.bAllScenes ? AllScenesFileBytes(data) : SceneFileBytes(data);
    return SettingsOf(file, bytes, processor.SceneName());
}

std::string FirstDifference(const Settings& a, const Settings& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].bytes != b[i].bytes)
            return a[i].strName;
    }
    return a.size() == b.size() ? "" : "the parts compared";
}
