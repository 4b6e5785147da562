// Any bytes can be offered as a scene file (".ZR4C"): checking and loading
// them must never crash or read outside a buffer, the loader must accept
// exactly what the parser accepts, and a refused file must change nothing,
// neither the live image nor the model.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "GlobalData.h"
#include "KTV_Data.h"
#include "PresetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CKTV_Data& data = [] () -> CKTV_Data& {
        static CKTV_Data model;
        return model;
    }();
    const std::span<const uint8_t> bytes(pData, nSize);
    const bool bValid = ParseSceneFile(bytes).has_value();

    data.FillAll();
    const std::vector<uint8_t> before(data.State().m_LiveImage, data.State().m_LiveImage + kImageSize);
    const PresetFileResult result = LoadSceneBytes(data, bytes);
    if (result.bOk != bValid)
        std::abort();
    if (!result.bOk) {
        if (std::memcmp(before.data(), data.State().m_LiveImage, kImageSize) != 0)
            std::abort();
        data.FillAll();  // the model still describes the same image
        if (std::memcmp(before.data(), data.State().m_LiveImage, kImageSize) != 0)
            std::abort();
    }
    return 0;
}
