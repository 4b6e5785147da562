#include "KTV_Routes.h"

namespace {
struct OutputDefaults {
    const char* pName;
    uint32_t nColour;
    int nRangeCode;
};
constexpr OutputDefaults kOutputDefaults[kOutputs] = {
    {"FL", 0x804000, 9},     {"FR", 0xFF0000, 8}, {"SL", 0xFF7F27, 7},
    {"SR", 0xFFB400, 9},     {"Center", 0x00FF00, 8}, {"ULF", 0x0000FF, 7},
};
}  // namespace

CKTV_OutRoute::CKTV_OutRoute(CProcessorState& state)
{
    for (int i = 0; i < kOutputs; ++i) {
        const OutputDefaults& d = kOutputDefaults[i];
        m_outputs[static_cast<size_t>(i)] = std::make_unique<CKTV_OutData>(state, i, d.pName, d.nColour, d.nRangeCode);
    }
}
