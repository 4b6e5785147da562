// Any bytes can be offered as a listening-position file (".Mode_C"): the
// loader must accept exactly what the parser accepts, a refused file must
// leave the delay table alone, and an accepted one may change only the six
// delays of its own position, each within 0 … 20 ms.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "DataDefine.h"
#include "KTV_Data.h"
#include "PresetFile.h"

namespace {

bool OnlyPositionChanged(const uint8_t* pTable, const uint8_t* pBefore, int nPosition)
{
    const size_t nFirst = kPositionDelayBytes * static_cast<size_t>(nPosition);
    for (size_t i = 0; i < kDelayTableSize; ++i) {
        const bool bOwn = i >= nFirst && i < nFirst + kPositionDelayBytes;
        if (!bOwn && pBefore[i] != pTable[i])
            return false;
        if (bOwn && i % 2 == 0 && GetWord(pTable + i) > kDelayMax)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CKTV_Data data;
    const uint8_t* pTable = data.State().m_DelayTable;
    const std::span<const uint8_t> bytes(pData, nSize);
    const auto parsed = ParsePositionFile(bytes);

    uint8_t before[kDelayTableSize];
    std::memcpy(before, pTable, sizeof before);
    const PresetFileResult result = LoadPositionBytes(data, bytes);
    if (result.bOk != parsed.has_value())
        std::abort();
    if (!result.bOk && std::memcmp(before, pTable, sizeof before) != 0)
        std::abort();
    if (result.bOk && (result.nPosition != parsed->nPosition || !OnlyPositionChanged(pTable, before, result.nPosition)))
        std::abort();
    return 0;
}
