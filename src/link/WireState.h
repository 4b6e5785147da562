// The settings an edit can change, laid out as the processor holds them:
// the live image, then the delay table, then the control block. The same
// layout serves for what the model holds and for what the processor has
// acknowledged, so comparing the two tells which edits are still unconfirmed.
//
// A part is what one frame rewrites at the least: one 8-byte group of the
// image, the whole delay table, or the whole control block.
//
// Threads: pure functions; WireStateOfModel takes the model lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "GlobalData.h"

class CKTV_Data;

using WireState = std::vector<uint8_t>;

constexpr int kWireDelayOffset = kImageSize;
constexpr int kWireControlOffset = kWireDelayOffset + kDelayTableSize;
constexpr int kWireSize = kWireControlOffset + kControlSize;
constexpr int kWireImageParts = kImageSize / kGroupSize;
constexpr int kWireParts = kWireImageParts + 2;

struct WirePart {
    int nOffset = 0;
    int nSize = 0;
};
WirePart WirePartAt(int nPart);

// The live settings as the model would have the processor hold them once
// every marked edit has gone out (frequencies at their targets). Only what
// an edit of the model changes is filled in: the music and output blocks,
// the delay table and the control block; the names the link itself
// rewrites, and the blocks nothing edits, stay zero.
WireState WireStateOfModel(CKTV_Data& data);
