// How the image is addressed: its blocks by kind and channel, the system
// items, and one part of it (a parameter group or a system item). The frames
// carry these numbers, but they name the data, so they live with the model.
#pragma once

#include <cstdint>

enum BlockKind : uint8_t {
    kKindMic = 1,
    kKindEffect = 2,
    kKindMusic = 3,
    kKindOutput = 4,
    kKindSystem = 9,
};

constexpr int kMusicChannel = 2;

enum SystemItem : int {
    kItemSceneName = 0,
    kItemEffectName = 1,
    kItemControl = 2,
    kItemLevels = 3,
    kItemIdent = 4,
    kItemInfoText = 16,
    kItemLock = 18,
    kItemBacklight = 20,
    kItemLowPassLimit = 50,
    kItemLowPassSwitch = 51,
    kItemVariant = 52,
    kItemDefaultSetup = 53,
    kItemDelayTable = 64,
};

// Group nGroup of a block's channel, or (kind kKindSystem) system item nItem
// of the live state.
struct BlockAddress {
    int nKind = 0;
    int nChannel = 0;
    int nGroup = 0;
    int nItem = 0;

    static BlockAddress Group(int nKind, int nChannel, int nGroup) { return {nKind, nChannel, nGroup, 0}; }
    static BlockAddress System(int nItem) { return {kKindSystem, 0, 0, nItem}; }
    bool IsSystemItem() const { return nKind == kKindSystem; }
};
