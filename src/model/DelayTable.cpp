#include "DelayTable.h"

#include <algorithm>

#include "DataDefine.h"
#include "ProcessorState.h"
#include "TextFormat.h"

int g_nDelayUnit = kDelayUnitMs;

namespace {
constexpr int kBytesPerPosition = kOutputs * 2;
constexpr double kMetresPerMs = 0.346;
constexpr double kFeetPerMetre = 3.28;
constexpr double kInchesPerFoot = 12.0;

bool Valid(int nPosition, int nChannel)
{
    return nPosition >= 0 && nPosition < kDelayPositions && nChannel >= 0 && nChannel < kOutputs;
}
}  // namespace

int GetPositionDelay(CProcessorState& state, int nPosition, int nChannel)
{
    if (!Valid(nPosition, nChannel))
        return 0;
    ModelLock lock(state.m_csModel);
    return GetWord(state.m_DelayTable + nPosition * kBytesPerPosition + nChannel * 2);
}

void SetPositionDelay(CProcessorState& state, int nPosition, int nChannel, int nCode)
{
    if (!Valid(nPosition, nChannel))
        return;
    ModelLock lock(state.m_csModel);
    PutWord(state.m_DelayTable + nPosition * kBytesPerPosition + nChannel * 2, std::clamp(nCode, 0, kMaxDelayCode));
}

int GetCurrentPosition(CProcessorState& state)
{
    ModelLock lock(state.m_csModel);
    return std::min<int>(state.m_DelayTable[kDelaySelectedByte], kDelayPositions - 1);
}

void SetCurrentPosition(CProcessorState& state, int nPosition)
{
    ModelLock lock(state.m_csModel);
    state.m_DelayTable[kDelaySelectedByte] = static_cast<uint8_t>(std::clamp(nPosition, 0, kDelayPositions - 1));
}

std::string DelayText(int nCode, int nUnit)
{
    const double dMs = nCode / 48.0;
    switch (nUnit) {
    case kDelayUnitInch:
        return StrFormat("%0.2fINCH", dMs * kMetresPerMs * kFeetPerMetre * kInchesPerFoot);
    case kDelayUnitCm:
        return StrFormat("%0.2fcm", dMs * kMetresPerMs * 100.0);
    default:
        return StrFormat("%0.3fms", dMs);
    }
}
