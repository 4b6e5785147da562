#include "GlobalData.h"

#include <algorithm>
#include <cstring>

#include "DataDefine.h"
#include "Notify.h"

std::recursive_mutex g_csModel;

std::atomic<int> g_bChinese{0};
std::atomic<int> g_nDeviceType{1};
std::atomic<int> g_bOnline{0};
std::atomic<int> g_nCurOutput{0};

uint8_t g_LiveImage[kImageSize];
uint8_t g_SceneStore[kSceneEntries][kImageSize];
uint8_t g_EffectStore[kEffectProgLast - kEffectProgFirst + 1][kEffectProgSize];

uint8_t g_SysBytes[256];
uint8_t g_ControlBlock[kControlSize];
uint8_t g_LockBlock[kLockSize];
int g_nLockState = 0;
std::string g_strPassword;
uint8_t g_InfoText[kInfoTextSize];
uint8_t g_IdString[kIdSize];
int g_nLowPassLimit = 500;
uint8_t g_DefaultSetup[2];
uint8_t g_DelayTable[kDelayTableSize];
int g_nLevelTable[kLevelEntries];
int g_nSysReadList[kSysReadListSize];

int g_nLinkGroup[kOutputs] = {0, 1, 2, 3, 4, 5};
CKTV_OutData* g_pLinkOutput[kOutputs] = {};

std::atomic<int> g_bDelayPresetChanged{0};
std::atomic<int> g_bSceneNameChanged{0};
std::atomic<int> g_bOutputDataSent{0};
std::atomic<int> g_bDeviceAbnormal{0};

std::atomic<INotifySink*> g_pNotifySink{nullptr};

uint8_t* SceneEntry(int nEntry)
{
    if (nEntry < 1 || nEntry > kSceneEntries)
        return nullptr;
    return g_SceneStore[nEntry - 1];
}

uint8_t* EffectProgEntry(int nEntry)
{
    if (nEntry < kEffectProgFirst || nEntry > kEffectProgLast)
        return nullptr;
    return g_EffectStore[nEntry - kEffectProgFirst];
}

uint8_t* PresetImage(int nPreset)
{
    return nPreset == 0 ? g_LiveImage : SceneEntry(nPreset);
}

namespace {

void DefaultLiveImage()
{
    std::memset(g_LiveImage, 0, sizeof g_LiveImage);
    WriteFlatBandGroups(g_LiveImage + kOffEffect, 8);
    WriteFlatBandGroups(g_LiveImage + kOffMic, 9);
    WriteFlatBandGroups(g_LiveImage + kOffMusic, 9);
    for (int i = 0; i < kOutputs; ++i)
        WriteFlatBandGroups(g_LiveImage + kOffOutput + kOutBlockSize * i, 9);
}

void DefaultStores()
{
    std::memset(g_SceneStore, 0, sizeof g_SceneStore);
    for (auto& entry : g_SceneStore) {
        std::memset(entry + kOffSceneName, ' ', 15);
        std::memset(entry + kOffEffectName, ' ', 16);
    }
    std::memset(g_EffectStore, 0, sizeof g_EffectStore);
}

void DefaultSystemItems()
{
    std::memset(g_SysBytes, 0, sizeof g_SysBytes);
    const int nItems[] = {32, 33, 34, 35, 36, 37, 38, 39};
    const int nValues[] = {100, 10, 90, 40, 100, 40, 90, 40};
    for (int i = 0; i < 8; ++i)
        g_SysBytes[nItems[i]] = static_cast<uint8_t>(nValues[i]);
    std::memset(g_ControlBlock, 0, sizeof g_ControlBlock);
    std::memset(g_LockBlock, 0, sizeof g_LockBlock);
    g_nLockState = 0;
    g_strPassword.clear();
    std::memset(g_InfoText, ' ', sizeof g_InfoText);
    std::memset(g_IdString, 0, sizeof g_IdString);
    g_nLowPassLimit = 500;
    std::memset(g_DefaultSetup, 0, sizeof g_DefaultSetup);
    std::memset(g_DelayTable, 0, sizeof g_DelayTable);
    std::fill(std::begin(g_nLevelTable), std::end(g_nLevelTable), 0);
    const int nReadList[kSysReadListSize] = {1, 0, 2, 3, 16, 18, 18, 20, 34, 35, 36, 37, 38, 39, 64, 4};
    std::copy(std::begin(nReadList), std::end(nReadList), g_nSysReadList);
}

}  // namespace

void InitGlobalDefaults()
{
    ModelLock lock(g_csModel);
    DefaultLiveImage();
    DefaultStores();
    DefaultSystemItems();
    g_bOnline = 0;
    g_nCurOutput = 0;
    g_bDelayPresetChanged = 0;
    g_bSceneNameChanged = 0;
    g_bOutputDataSent = 0;
    g_bDeviceAbnormal = 0;
}

void SetLinkGroup(int nChannel, int nGroup)
{
    if (nChannel < 0 || nChannel >= kOutputs)
        return;
    ModelLock lock(g_csModel);
    g_nLinkGroup[nChannel] = nGroup;
}

std::vector<int> LinkedOutputs(int nChannel)
{
    std::vector<int> linked;
    if (nChannel < 0 || nChannel >= kOutputs)
        return linked;
    for (int k = 0; k < kOutputs; ++k)
        if (k != nChannel && g_nLinkGroup[k] == g_nLinkGroup[nChannel])
            linked.push_back(k);
    return linked;
}
