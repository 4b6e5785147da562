// The layout of the processor's memory areas, which every processor shares,
// and the program's language. The areas themselves belong to each
// processor: see CProcessorState.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

// ---- Image layout ----------------------------------------------------------

constexpr int kImageSize = 2184;
constexpr int kNameSize = 16;
constexpr int kOffSceneName = 0;
constexpr int kOffEffectName = 16;
constexpr int kOffEffect = 32;
constexpr int kEffectBlockSize = 152;  // 19 groups
constexpr int kEffectWriteSize = 96;   // only the first 12 groups travel in a block write
constexpr int kOffMic = 184;
constexpr int kOffMusic = 296;
constexpr int kInBlockSize = 112;      // microphone and music: 14 groups
constexpr int kOffOutput = 408;
constexpr int kOutBlockSize = 296;     // 37 groups
constexpr int kOutputs = 6;
constexpr int kGroupSize = 8;

constexpr int kSceneEntries = 20;      // scene store 1 … 20
constexpr int kEffectProgFirst = 21;   // effect-program store 21 … 40
constexpr int kEffectProgLast = 40;
constexpr int kEffectProgSize = 168;   // name (16) + effect block (152)

constexpr int kControlSize = 4;
constexpr int kLockSize = 7;
constexpr int kInfoTextSize = 40;
constexpr int kIdSize = 11;
constexpr int kDelayTableSize = 50;    // 4 positions × 6 outputs × 16 bits, position, spare
constexpr int kDelayPositions = 4;
constexpr int kDelaySelectedByte = 48;
constexpr int kLevelEntries = 12;      // entries 4 … 9 are the six output levels
constexpr int kSysReadListSize = 16;

// ---- Shared settings ---------------------------------------------------------

// Every processor's model is guarded by its own lock of this kind (see
// CProcessorState); held only for short in-memory work.
using ModelLock = std::lock_guard<std::recursive_mutex>;

// The language of every user-visible text: a setting of the program, shared
// by every processor it talks to.
extern std::atomic<int> g_bChinese;
