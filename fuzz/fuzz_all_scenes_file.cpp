// Any bytes can be offered as an all-scenes file (".ZR4AC"). Each input is
// tried twice: as it is, which mostly exercises the checks, and shaped into a
// container of the right length (first byte: current or older tag, the rest
// the contents), so the loading path is reached even with short inputs. The
// loader must accept exactly what the parser accepts; a refused file changes
// nothing; an accepted one fills the store with its entries, and the older
// container leaves the live image, the delay table and the model alone.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "DataDefine.h"
#include "FuzzImage.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "PresetFile.h"

namespace {

struct Areas {
    std::vector<uint8_t> live;
    std::vector<uint8_t> store;
    std::vector<uint8_t> delays;
    bool operator==(const Areas&) const = default;
};

// With the live image brought up to date, so that a change of the model
// shows as a change of the image.
Areas Capture(CKTV_Data& data)
{
    data.FillAll();
    return {std::vector<uint8_t>(data.State().m_LiveImage, data.State().m_LiveImage + kImageSize),
            std::vector<uint8_t>(data.State().SceneEntry(1), data.State().SceneEntry(1) + kSceneStoreBytes),
            std::vector<uint8_t>(data.State().m_DelayTable, data.State().m_DelayTable + kDelayTableSize)};
}

bool DelayTableInRange(CKTV_Data& data)
{
    for (int i = 0; i < kDelayPositions * kOutputs; ++i) {
        if (GetWord(data.State().m_DelayTable + 2 * i) > kDelayMax)
            return false;
    }
    return data.State().m_DelayTable[kDelaySelectedByte] < kDelayPositions;
}

void Check(CKTV_Data& data, std::span<const uint8_t> bytes)
{
    const auto parsed = ParseAllScenesFile(bytes);
    const Areas before = Capture(data);
    const PresetFileResult result = LoadAllScenesBytes(data, bytes);
    if (result.bOk != parsed.has_value())
        std::abort();
    if (!result.bOk) {
        if (!(Capture(data) == before))
            std::abort();
        return;
    }
    if (std::memcmp(data.State().SceneEntry(1), parsed->scenes.data(), kSceneStoreBytes) != 0)
        std::abort();
    if (result.bModelLoaded != parsed->bCurrent || (parsed->bCurrent && !DelayTableInRange(data)))
        std::abort();
    const Areas after = Capture(data);
    if (!parsed->bCurrent && (after.live != before.live || after.delays != before.delays))
        std::abort();
}

// The input goes where it is interpreted: one part of the live image (byte
// 1 picks it, see FuzzImage.h) and then the delay table of a current
// container (the stored entries are only copied), the entries of an older
// one.
std::vector<uint8_t> Shaped(const uint8_t* pData, size_t nSize)
{
    const bool bCurrent = nSize == 0 || pData[0] % 2 == 0;
    const std::string_view tag = bCurrent ? kAllScenesFileTag : kOldAllScenesFileTag;
    std::vector<uint8_t> file(bCurrent ? kAllScenesFileSize : kOldAllScenesFileSize, 0);
    file[0] = static_cast<uint8_t>(tag.size());
    std::memcpy(file.data() + 1, tag.data(), tag.size());
    const size_t nStart = 1 + tag.size();
    if (!bCurrent) {
        if (nSize > 1)
            std::memcpy(file.data() + nStart, pData + 1, std::min(nSize - 1, file.size() - nStart));
        return file;
    }
    if (nSize < 2)
        return file;
    uint8_t* pLive = file.data() + nStart + kSceneStoreBytes;
    fuzzimage::FillPart(pLive, pData[1], pData + 2, nSize - 2);
    const size_t nPart = static_cast<size_t>(fuzzimage::PartOf(pData[1]).nSize);
    if (nSize - 2 > nPart)
        std::memcpy(pLive + kImageSize, pData + 2 + nPart, std::min(nSize - 2 - nPart, static_cast<size_t>(kDelayTableSize)));
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CKTV_Data& data = [] () -> CKTV_Data& {
        static CKTV_Data model;
        return model;
    }();
    Check(data, std::span<const uint8_t>(pData, nSize));
    const std::vector<uint8_t> shaped = Shaped(pData, nSize);
    Check(data, shaped);
    return 0;
}
