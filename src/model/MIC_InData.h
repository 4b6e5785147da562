// The microphone channel (block kind 1, channel 0).
#pragma once

#include "InputChannel.h"

class CMIC_InData : public CInputChannel {
public:
    explicit CMIC_InData(CProcessorState& state);
};
