// Process-wide data areas that mirror the processor: the live image, the
// scene and effect-program stores, the system tables and the flags shared
// by the model, the receiver and the change scanner.
//
// Threads: the user-interface thread edits the model, the link thread scans
// it and stores replies. Everything here is read and written under
// g_csModel (ModelLock), which is held only for short in-memory work and
// never across device I/O. The flags that are read without the lock are
// atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class CKTV_OutData;

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

// ---- Shared state ------------------------------------------------------------

extern std::recursive_mutex g_csModel;
using ModelLock = std::lock_guard<std::recursive_mutex>;

extern std::atomic<int> g_bChinese;     // language of every user-visible text
extern std::atomic<int> g_nDeviceType;  // device variant 1 or 2
extern std::atomic<int> g_bOnline;      // full read done: setters mark changes for sending
extern std::atomic<int> g_nCurOutput;   // selected output 0 … 5

extern uint8_t g_LiveImage[kImageSize];
extern uint8_t g_SceneStore[kSceneEntries][kImageSize];
extern uint8_t g_EffectStore[kEffectProgLast - kEffectProgFirst + 1][kEffectProgSize];

// Single-byte system items, indexed by item code.
extern uint8_t g_SysBytes[256];
extern uint8_t g_ControlBlock[kControlSize];
extern uint8_t g_LockBlock[kLockSize];
extern int g_nLockState;
extern std::string g_strPassword;
extern uint8_t g_InfoText[kInfoTextSize];
extern uint8_t g_IdString[kIdSize];
extern int g_nLowPassLimit;
extern uint8_t g_DefaultSetup[2];
extern uint8_t g_DelayTable[kDelayTableSize];
extern int g_nLevelTable[kLevelEntries];
extern int g_nSysReadList[kSysReadListSize];

// Link groups: outputs with equal numbers are edited together.
extern int g_nLinkGroup[kOutputs];
extern CKTV_OutData* g_pLinkOutput[kOutputs];
// The user-interface thread changes a link under g_csModel, because the link
// thread reads the groups when it flags a frame as linked.
void SetLinkGroup(int nChannel, int nGroup);
// The other outputs in nChannel's link group, in channel order (the link
// thread calls it under g_csModel).
std::vector<int> LinkedOutputs(int nChannel);

extern std::atomic<int> g_bDelayPresetChanged;
extern std::atomic<int> g_bSceneNameChanged;
extern std::atomic<int> g_bOutputDataSent;
extern std::atomic<int> g_bDeviceAbnormal;

// Scene store entry n (1 … 20) or nullptr; effect-program entry n (21 … 40)
// or nullptr. Callers must not index the stores themselves.
uint8_t* SceneEntry(int nEntry);
uint8_t* EffectProgEntry(int nEntry);
// The image a preset number addresses: the live image for 0, else the
// scene store entry; nullptr outside 0 … 20.
uint8_t* PresetImage(int nPreset);

// Start-up contents of every area above (run once before the view exists;
// tests run it before each case).
void InitGlobalDefaults();
