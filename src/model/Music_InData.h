// The music channel (block kind 3, addressed as channel 2).
#pragma once

#include "InputChannel.h"

class CMusic_InData : public CInputChannel {
public:
    explicit CMusic_InData(CProcessorState& state);
};
