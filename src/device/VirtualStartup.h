// Factory contents of the virtual processor's settings memory: flat
// equalizers, open crossovers, unity output levels, no delay, blank names
// (15 spaces and a zero byte).
//
// Threads: pure functions on the caller's buffers.
#pragma once

#include <cstdint>

// A 2184-byte image laid out like the live image.
void FillStartupImage(uint8_t* pImage);
// A 168-byte effect program: name, then the effect block.
void FillStartupEffectProgram(uint8_t* pProgram);
