#include "Music_InData.h"

#include "BlockAddress.h"
#include "GlobalData.h"

// The music block has no feedback or auxiliary switch: both stay 0.
CMusic_InData::CMusic_InData(CProcessorState& state) : CInputChannel(state, {"Music 1", kMusicChannel, 0x3678ED, 60}, kKindMusic, kOffMusic)
{
    m_nAuxSwitch = 0;
}
