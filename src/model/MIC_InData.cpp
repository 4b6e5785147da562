#include "MIC_InData.h"

#include "BlockAddress.h"
#include "GlobalData.h"

CMIC_InData::CMIC_InData() : CInputChannel({"Mic 1", 0, 0xFF8133, 40}, kKindMic, kOffMic) {}
