// The listening-position delays: 4 positions × 6 outputs of 16-bit delays
// in 1/48 ms (0 … 960, at most 20 ms), then the current position, all in
// a processor's m_DelayTable. User-interface thread; takes the model lock
// itself.
#pragma once

#include <string>

class CProcessorState;

constexpr int kMaxDelayCode = 960;   // 20 ms
constexpr int kDelayUnitMs = 0;
constexpr int kDelayUnitInch = 1;
constexpr int kDelayUnitCm = 2;

extern int g_nDelayUnit;             // unit of every delay shown: ms, inches or cm

int GetPositionDelay(CProcessorState& state, int nPosition, int nChannel);
void SetPositionDelay(CProcessorState& state, int nPosition, int nChannel, int nCode);
// The stored position, limited to 0 … 3.
int GetCurrentPosition(CProcessorState& state);
void SetCurrentPosition(CProcessorState& state, int nPosition);
// "%0.3fms", "%0.2fINCH" or "%0.2fcm" of sound travel at 0.346 m per ms.
std::string DelayText(int nCode, int nUnit);
