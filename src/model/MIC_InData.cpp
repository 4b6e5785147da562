#include "MIC_InData.h"

#include "BlockAddress.h"
#include "GlobalData.h"

CMIC_InData::CMIC_InData(CProcessorState& state) : CInputChannel(state, {"Mic 1", 0, 0xFF8133, 40}, kKindMic, kOffMic) {}
