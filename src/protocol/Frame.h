// The command frame, in one place.
//
// Frame of payload length L, n = L + 16 bytes, little-endian numbers:
//   0  sync 5C 5C 5C         3  start EE
//   4  command               5  device address (the editor always sends 1)
//   6  preset (0 live, 1 … 20 scene programs, 21 … 40 effect programs)
//   7  block kind            8  channel (kinds 1 … 4) or system item (kind 9)
//   9  group (group write) or mode (block read request), else 0
//   10 link flag (output frames of a linked channel)   11 reserved 0
//   12 payload length L (16 bits)   14 payload
//   14 + L  checksum: XOR of bytes 4 … 13 + L        15 + L  end AA
// Received frames are numbered from the start byte: command at 1, payload
// length at 9, payload from 11.
#pragma once

#include <cstdint>

#include "BlockAddress.h"

constexpr uint8_t kFrameSync = 0x5C;
constexpr uint8_t kFrameStart = 0xEE;
constexpr uint8_t kFrameEnd = 0xAA;
constexpr int kFrameHeaderSize = 14;
constexpr int kFrameOverhead = 16;        // header, checksum, end
constexpr int kFrameMaxPayload = 302;

// Offsets in a frame as sent.
constexpr int kFoCommand = 4;
constexpr int kFoAddress = 5;
constexpr int kFoPreset = 6;
constexpr int kFoKind = 7;
constexpr int kFoChannel = 8;
constexpr int kFoGroup = 9;
constexpr int kFoLink = 10;
constexpr int kFoLength = 12;
constexpr int kFoPayload = 14;

enum FrameCommand : uint8_t {
    kCmdWrite = 0xA1,
    kCmdRead = 0xA2,
    kReplyAck = 0x51,     // 'Q'
    kReplyResend = 0x52,  // 'R'
    kReplyData = 0x53,    // 'S'
};

// Not a block: asks MakeGroupFrame for the level-meter read.
constexpr int kKindLevelRequest = 7;

constexpr uint8_t kDeviceAddress = 1;
constexpr uint8_t kModeLibrary = 0x77;  // block read without recall
