#include "PresetFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <vector>

#include "AtomicFileWriter.h"
#include "ByteReader.h"
#include "DataDefine.h"
#include "KTV_Data.h"

namespace fs = std::filesystem;

namespace {

PresetFileResult Failure(PresetFileError error, const fs::path& path)
{
    PresetFileResult result;
    result.error = error;
    result.path = path;
    return result;
}

// ---- Applying checked containers (under the model lock) ------------------------

// Delays come from outside (a file): the processor takes 0 … 20 ms only.
void PutLimitedDelays(uint8_t* pDest, std::span<const uint8_t> delays)
{
    for (size_t i = 0; i + 1 < delays.size(); i += 2)
        PutWord(pDest + i, std::min(GetWord(delays.data() + i), kDelayMax));
}

void PutDelayTable(CProcessorState& state, std::span<const uint8_t> table)
{
    PutLimitedDelays(state.m_DelayTable, table.first(kDelayPositions * kPositionDelayBytes));
    state.m_DelayTable[kDelaySelectedByte] =
        std::min<uint8_t>(table[kDelaySelectedByte], kDelayPositions - 1);
    state.m_DelayTable[kDelaySelectedByte + 1] = table[kDelaySelectedByte + 1];
}

void LoadModelFromLiveImage(CKTV_Data& data, std::span<const uint8_t> image)
{
    std::memcpy(data.State().m_LiveImage, image.data(), kImageSize);
    data.LoadFromImage(data.State().m_LiveImage, 0);
    data.SetAllMarks(0);
}

void ApplyScene(CKTV_Data& data, const SceneFileView& file, PresetFileResult& result)
{
    ModelLock lock(data.State().m_csModel);
    LoadModelFromLiveImage(data, file.image);
    result.bModelLoaded = true;
}

void ApplyAllScenes(CKTV_Data& data, const AllScenesFileView& file, PresetFileResult& result)
{
    ModelLock lock(data.State().m_csModel);
    for (int n = 1; n <= kSceneEntries; ++n)
        std::memcpy(data.State().SceneEntry(n), file.scenes.data() + static_cast<size_t>(n - 1) * kImageSize, kImageSize);
    if (!file.bCurrent)
        return;
    PutDelayTable(data.State(), file.delayTable);
    LoadModelFromLiveImage(data, file.liveImage);
    result.bModelLoaded = true;
}

void ApplyPosition(CProcessorState& state, const PositionFileView& file, PresetFileResult& result)
{
    ModelLock lock(state.m_csModel);
    PutLimitedDelays(state.m_DelayTable + kPositionDelayBytes * file.nPosition, file.delays);
    result.nPosition = file.nPosition;
}

// ---- Reading and writing files -----------------------------------------------


template <typename Parse, typename Apply>
PresetFileResult LoadBytes(std::span<const uint8_t> bytes, PresetFileError error, Parse parse, Apply apply)
{
    const auto file = parse(bytes);
    if (!file)
        return Failure(error, {});
    PresetFileResult result;
    result.bOk = true;
    apply(*file, result);
    return result;
}

template <typename LoadFn>
PresetFileResult LoadFile(const fs::path& path, size_t nLargest, PresetFileError error, LoadFn load)
{
    const auto bytes = ReadFileBytes(path, nLargest);
    if (!bytes)
        return Failure(error, path);
    PresetFileResult result = load(std::span<const uint8_t>(*bytes));
    result.path = path;
    return result;
}

void AppendTag(std::vector<uint8_t>& bytes, std::string_view tag)
{
    bytes.push_back(static_cast<uint8_t>(tag.size()));
    bytes.insert(bytes.end(), tag.begin(), tag.end());
}

void AppendBytes(std::vector<uint8_t>& bytes, const uint8_t* pData, size_t nBytes)
{
    bytes.insert(bytes.end(), pData, pData + nBytes);
}

PresetFileResult SaveBytes(const fs::path& chosen, std::string_view ext, std::span<const uint8_t> bytes,
                           PresetFileError error)
{
    const fs::path path = WithPresetExtension(chosen, ext);
    // A bare directory would give a hidden file named after the extension.
    std::string strReason;
    if (!chosen.has_filename() || !CAtomicFileWriter::Write(path, bytes, &strReason)) {
        PresetFileResult failed = Failure(error, path);
        failed.strReason = strReason;
        return failed;
    }
    PresetFileResult result;
    result.bOk = true;
    result.path = path;
    return result;
}

}  // namespace

const char* PresetFileErrorText(PresetFileError error, Language language)
{
    // In the order of PresetFileError, after None.
    constexpr TextId kTexts[] = {kTxtSaveSceneError,     kTxtReadSceneError,    kTxtSaveAllScenesError,
                                 kTxtReadAllScenesError, kTxtSavePositionError, kTxtReadPositionError};
    if (error == PresetFileError::None)
        return "";
    return TextIn(language, kTexts[static_cast<int>(error) - 1]);
}

// ---- Parsers ---------------------------------------------------------------------

std::optional<SceneFileView> ParseSceneFile(std::span<const uint8_t> bytes)
{
    CByteReader reader(bytes);
    if (!reader.ReadTag(kSceneFileTag))
        return std::nullopt;
    const auto image = reader.Take(kImageSize);
    if (!image || !reader.AtEnd())
        return std::nullopt;
    return SceneFileView{*image};
}

std::optional<AllScenesFileView> ParseAllScenesFile(std::span<const uint8_t> bytes)
{
    CByteReader reader(bytes);
    AllScenesFileView file;
    file.bCurrent = reader.ReadTag(kAllScenesFileTag);
    if (!file.bCurrent && !reader.ReadTag(kOldAllScenesFileTag))
        return std::nullopt;
    const auto scenes = reader.Take(kSceneStoreBytes);
    if (!scenes)
        return std::nullopt;
    file.scenes = *scenes;
    if (file.bCurrent) {
        const auto live = reader.Take(kImageSize);
        const auto delays = reader.Take(kDelayTableSize);
        if (!live || !delays)
            return std::nullopt;
        file.liveImage = *live;
        file.delayTable = *delays;
    }
    if (!reader.AtEnd())
        return std::nullopt;
    return file;
}

std::optional<PositionFileView> ParsePositionFile(std::span<const uint8_t> bytes)
{
    CByteReader reader(bytes);
    if (!reader.ReadTag(kPositionFileTag))
        return std::nullopt;
    const auto position = reader.ReadByte();
    const auto delays = reader.Take(kPositionDelayBytes);
    if (!position || *position >= kDelayPositions || !delays || !reader.AtEnd())
        return std::nullopt;
    return PositionFileView{*position, *delays};
}

// ---- Loading -----------------------------------------------------------------------

PresetFileResult LoadSceneBytes(CKTV_Data& data, std::span<const uint8_t> bytes)
{
    return LoadBytes(bytes, PresetFileError::ReadScene, ParseSceneFile,
                     [&data](const SceneFileView& file, PresetFileResult& result) { ApplyScene(data, file, result); });
}

PresetFileResult LoadSceneFile(CKTV_Data& data, const fs::path& path)
{
    return LoadFile(path, kSceneFileSize, PresetFileError::ReadScene,
                    [&data](std::span<const uint8_t> bytes) { return LoadSceneBytes(data, bytes); });
}

PresetFileResult LoadAllScenesBytes(CKTV_Data& data, std::span<const uint8_t> bytes)
{
    return LoadBytes(bytes, PresetFileError::ReadAllScenes, ParseAllScenesFile,
                     [&data](const AllScenesFileView& file, PresetFileResult& result) {
                         ApplyAllScenes(data, file, result);
                     });
}

PresetFileResult LoadAllScenesFile(CKTV_Data& data, const fs::path& path)
{
    return LoadFile(path, kAllScenesFileSize, PresetFileError::ReadAllScenes,
                    [&data](std::span<const uint8_t> bytes) { return LoadAllScenesBytes(data, bytes); });
}

PresetFileResult LoadPositionBytes(CKTV_Data& data, std::span<const uint8_t> bytes)
{
    return LoadBytes(bytes, PresetFileError::ReadPosition, ParsePositionFile,
                     [&data](const PositionFileView& file, PresetFileResult& result) {
                         ApplyPosition(data.State(), file, result);
                     });
}

PresetFileResult LoadPositionFile(CKTV_Data& data, const fs::path& path)
{
    return LoadFile(path, kPositionFileSize, PresetFileError::ReadPosition,
                    [&data](std::span<const uint8_t> bytes) { return LoadPositionBytes(data, bytes); });
}

// ---- Saving ------------------------------------------------------------------------

std::vector<uint8_t> SceneFileBytes(std::span<const uint8_t> image)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(kSceneFileSize);
    AppendTag(bytes, kSceneFileTag);
    AppendBytes(bytes, image.data(), image.size());
    return bytes;
}

std::vector<uint8_t> SceneFileBytes(CKTV_Data& data)
{
    ModelLock lock(data.State().m_csModel);
    data.FillAll();
    return SceneFileBytes(data.State().m_LiveImage);
}

std::vector<uint8_t> AllScenesFileBytes(CKTV_Data& data)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(kAllScenesFileSize);
    AppendTag(bytes, kAllScenesFileTag);
    ModelLock lock(data.State().m_csModel);
    data.FillAll();
    for (int n = 1; n <= kSceneEntries; ++n)
        AppendBytes(bytes, data.State().SceneEntry(n), kImageSize);
    AppendBytes(bytes, data.State().m_LiveImage, kImageSize);
    AppendBytes(bytes, data.State().m_DelayTable, kDelayTableSize);
    return bytes;
}

PresetFileResult SaveSceneFile(CKTV_Data& data, const fs::path& path)
{
    return SaveBytes(path, kSceneFileExt, SceneFileBytes(data), PresetFileError::SaveScene);
}

PresetFileResult SaveAllScenesFile(CKTV_Data& data, const fs::path& path)
{
    const std::vector<uint8_t> bytes = AllScenesFileBytes(data);
    return SaveBytes(path, kAllScenesFileExt, bytes, PresetFileError::SaveAllScenes);
}

PresetFileResult SavePositionFile(CKTV_Data& data, const fs::path& path)
{
    std::vector<uint8_t> bytes;
    AppendTag(bytes, kPositionFileTag);
    {
        ModelLock lock(data.State().m_csModel);
        // The processor may report any byte here; only 0 … 3 address the table.
        const uint8_t nPosition = std::min<uint8_t>(data.State().m_DelayTable[kDelaySelectedByte], kDelayPositions - 1);
        bytes.push_back(nPosition);
        AppendBytes(bytes, data.State().m_DelayTable + kPositionDelayBytes * nPosition, kPositionDelayBytes);
    }
    return SaveBytes(path, kPositionFileExt, bytes, PresetFileError::SavePosition);
}

// ---- Names ---------------------------------------------------------------------------

bool HasPresetExtension(const fs::path& path, std::string_view ext)
{
    const std::string strName = path.filename().string();
    const auto sameLetter = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    return strName.size() > ext.size() && std::equal(ext.begin(), ext.end(), strName.end() - ext.size(), sameLetter);
}

fs::path WithPresetExtension(const fs::path& path, std::string_view ext)
{
    if (HasPresetExtension(path, ext))
        return path;
    fs::path extended = path;
    extended += std::string(ext);
    return extended;
}

std::string SceneTitle(const fs::path& path)
{
    std::string strTitle = path.stem().string();
    if (strTitle.size() <= kSceneTitleMax)
        return strTitle;
    size_t nCut = kSceneTitleMax;
    while (nCut > 0 && (static_cast<uint8_t>(strTitle[nCut]) & 0xC0) == 0x80)
        --nCut;
    strTitle.resize(nCut);
    return strTitle;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const fs::path& path, size_t nLargest)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<uint8_t> bytes(nLargest + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return std::nullopt;
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}
