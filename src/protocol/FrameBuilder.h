// Builders of the frames the editor sends. Each returns a new command object
// for the caller to queue, or nullptr when the arguments address nothing
// (an unknown item, a channel or group outside its block, a missing store
// entry). Payloads are read from a processor's byte images, under its model lock.
#pragma once

#include <cstdint>
#include <memory>

#include "Frame.h"
#include "SendData.h"

class CProcessorState;

// Header and payload of a frame under construction. Each builder has its
// own, so frames may be built from any thread.
struct FrameArea {
    uint8_t header[kFrameHeaderSize] = {kFrameSync, kFrameSync, kFrameSync, kFrameStart};
    uint8_t payload[kFrameMaxPayload] = {};
};

// Write one parameter group of the live image; kind 7 builds the
// level-meter read instead.
std::unique_ptr<CSendData> MakeGroupFrame(CProcessorState& state, int nKind, int nChannel, int nGroup);
// Write a whole block of preset p from the live image, a scene store entry
// or (kind 2 with both flags clear) an effect-program store entry.
std::unique_ptr<CSendData> MakeBlockFrame(CProcessorState& state, int nPreset, int nKind, int nChannel,
                                          bool bFromLive, bool bFromScene);
std::unique_ptr<CSendData> MakeBlockReadFrame(int nPreset, int nKind, int nChannel, bool bRecall,
                                              bool bLibrary);
std::unique_ptr<CSendData> MakeSysFrame(CProcessorState& state, int nItem, int nPreset);
std::unique_ptr<CSendData> MakeSysReadFrame(int nItem, int nPreset);
// Copies header and payload into the frame and closes it with checksum and
// end byte.
void FinishFrame(const FrameArea& area, uint8_t* pFrame, int nLength);

// True when another output carries the same link-group number as ch.
bool IsOutputLinked(CProcessorState& state, int nChannel);
// XOR of the bytes between the sync run and the checksum.
uint8_t FrameChecksum(const uint8_t* pFromCommand, int nCount);
