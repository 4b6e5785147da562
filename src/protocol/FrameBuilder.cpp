#include "FrameBuilder.h"

#include <algorithm>
#include <cstring>

#include "DataDefine.h"
#include "ProcessorState.h"

namespace {

void SetHeader(FrameArea& area, uint8_t nCommand, int nPreset, int nKind, int nChannel, int nGroup,
               int nLink, int nLength)
{
    area.header[kFoCommand] = nCommand;
    area.header[kFoAddress] = kDeviceAddress;
    area.header[kFoPreset] = static_cast<uint8_t>(nPreset);
    area.header[kFoKind] = static_cast<uint8_t>(nKind);
    area.header[kFoChannel] = static_cast<uint8_t>(nChannel);
    area.header[kFoGroup] = static_cast<uint8_t>(nGroup);
    area.header[kFoLink] = static_cast<uint8_t>(nLink);
    area.header[11] = 0;
    PutWord(area.header + kFoLength, nLength);
}

std::unique_ptr<CSendData> Finish(const FrameArea& area, int nPayload)
{
    const int nLength = nPayload + kFrameOverhead;
    auto pData = std::make_unique<CSendData>(nLength);
    FinishFrame(area, pData->Frame(), nLength);
    return pData;
}

// Block of kind k, channel ch inside an image laid out like the live image;
// nullptr for a channel the processor does not have.
uint8_t* BlockInImage(uint8_t* pImage, int nKind, int nChannel, int* pSize)
{
    switch (nKind) {
    case kKindMic:
        *pSize = kInBlockSize;
        return nChannel == 0 ? pImage + kOffMic : nullptr;
    case kKindMusic:
        *pSize = kInBlockSize;
        return nChannel == kMusicChannel ? pImage + kOffMusic : nullptr;
    case kKindEffect:
        *pSize = kEffectBlockSize;
        return pImage + kOffEffect;
    case kKindOutput:
        *pSize = kOutBlockSize;
        return nChannel >= 0 && nChannel < kOutputs ? pImage + kOffOutput + kOutBlockSize * nChannel : nullptr;
    default:
        return nullptr;
    }
}

// Source and length of a system item's write payload; nullptr for items
// the editor never writes this way.
const uint8_t* SysPayload(CProcessorState& state, int nItem, int nPreset, int* pLength, uint8_t* pScratch)
{
    switch (nItem) {
    case kItemSceneName:
    case kItemEffectName: {
        const uint8_t* pName = nullptr;
        if (nPreset == 0)
            pName = state.m_LiveImage + (nItem == kItemSceneName ? kOffSceneName : kOffEffectName);
        else
            pName = nItem == kItemSceneName ? state.SceneEntry(nPreset) : state.EffectProgEntry(nPreset);
        if (!pName)
            return nullptr;
        std::memcpy(pScratch, pName, 15);
        pScratch[15] = 0;
        *pLength = kNameSize;
        return pScratch;
    }
    case kItemControl:
        *pLength = kControlSize;
        return state.m_ControlBlock;
    case kItemInfoText:
        *pLength = kInfoTextSize;
        return state.m_InfoText;
    case kItemLock:
        *pLength = kLockSize;
        return state.m_LockBlock;
    case kItemLowPassLimit:
        PutWord(pScratch, state.m_nLowPassLimit);
        *pLength = 2;
        return pScratch;
    case kItemDefaultSetup:
        *pLength = 2;
        return state.m_DefaultSetup;
    case kItemDelayTable:
        *pLength = kDelayTableSize;
        return state.m_DelayTable;
    case kItemBacklight:
    case 32: case 33: case 34: case 35: case 36: case 37: case 38: case 39:
    case 40: case 41: case 48: case 49:
    case kItemLowPassSwitch:
        *pLength = 1;
        return &state.m_SysBytes[nItem];
    default:
        return nullptr;
    }
}

}  // namespace

uint8_t FrameChecksum(const uint8_t* pFromCommand, int nCount)
{
    uint8_t nSum = 0;
    for (int i = 0; i < nCount; ++i)
        nSum ^= pFromCommand[i];
    return nSum;
}

void FinishFrame(const FrameArea& area, uint8_t* pFrame, int nLength)
{
    const int nPayload = nLength - kFrameOverhead;
    std::memcpy(pFrame, area.header, kFrameHeaderSize);
    std::memcpy(pFrame + kFrameHeaderSize, area.payload, static_cast<size_t>(nPayload));
    pFrame[nLength - 2] = FrameChecksum(pFrame + kFoCommand, nLength - 2 - kFoCommand);
    pFrame[nLength - 1] = kFrameEnd;
}

bool IsOutputLinked(CProcessorState& state, int nChannel)
{
    return !state.LinkedOutputs(nChannel).empty();
}

std::unique_ptr<CSendData> MakeGroupFrame(CProcessorState& state, int nKind, int nChannel, int nGroup)
{
    if (nKind == kKindLevelRequest)
        return MakeSysReadFrame(kItemLevels, 0);
    ModelLock lock(state.m_csModel);
    int nSize = 0;
    const uint8_t* pBlock = BlockInImage(state.m_LiveImage, nKind, nChannel, &nSize);
    if (!pBlock || nGroup < 0 || kGroupSize * (nGroup + 1) > nSize)
        return nullptr;
    int nLink = 0;
    // The misc group (31) and the groups after the routing group are per
    // channel even when the channel is linked.
    if (nKind == kKindOutput && nGroup != 31 && nGroup < 34)
        nLink = IsOutputLinked(state, nChannel) ? 1 : 0;
    FrameArea area;
    SetHeader(area, kCmdWrite, 0, nKind, nChannel, nGroup, nLink, kGroupSize);
    std::memcpy(area.payload, pBlock + kGroupSize * nGroup, kGroupSize);
    return Finish(area, kGroupSize);
}

std::unique_ptr<CSendData> MakeBlockFrame(CProcessorState& state, int nPreset, int nKind, int nChannel, bool bFromLive,
                                          bool bFromScene)
{
    ModelLock lock(state.m_csModel);
    const uint8_t* pBlock = nullptr;
    int nSize = 0;
    if (nKind == kKindEffect && !bFromLive && !bFromScene) {
        const uint8_t* pProgram = state.EffectProgEntry(nPreset);
        pBlock = pProgram ? pProgram + kNameSize : nullptr;
    } else {
        uint8_t* pImage = bFromLive ? state.m_LiveImage : state.PresetImage(nPreset);
        pBlock = pImage ? BlockInImage(pImage, nKind, nChannel, &nSize) : nullptr;
    }
    if (!pBlock)
        return nullptr;
    const int nPayload = nKind == kKindEffect ? kEffectWriteSize : (nKind == kKindOutput ? kOutBlockSize : kInBlockSize);
    const int nLink = nKind == kKindOutput && IsOutputLinked(state, nChannel) ? 1 : 0;
    if (nKind == kKindOutput && bFromLive)
        state.m_bOutputDataSent = 1;
    FrameArea area;
    SetHeader(area, kCmdWrite, nPreset, nKind, nChannel, 0, nLink, nPayload);
    std::memcpy(area.payload, pBlock, static_cast<size_t>(nPayload));
    return Finish(area, nPayload);
}

std::unique_ptr<CSendData> MakeBlockReadFrame(int nPreset, int nKind, int nChannel, bool bRecall,
                                              bool /*bLibrary: the processor needs no mark for it*/)
{
    const int nMode = (bRecall && nPreset != 0) ? 0 : kModeLibrary;
    FrameArea area;
    SetHeader(area, kCmdRead, nPreset, nKind, nChannel, nMode, 0, kGroupSize);
    return Finish(area, kGroupSize);
}

std::unique_ptr<CSendData> MakeSysFrame(CProcessorState& state, int nItem, int nPreset)
{
    ModelLock lock(state.m_csModel);
    uint8_t scratch[kNameSize] = {};
    int nLength = 0;
    const uint8_t* pSource = SysPayload(state, nItem, nPreset, &nLength, scratch);
    if (!pSource)
        return nullptr;
    FrameArea area;
    SetHeader(area, kCmdWrite, nPreset, kKindSystem, nItem, 0, 0, nLength);
    std::memcpy(area.payload, pSource, static_cast<size_t>(nLength));
    return Finish(area, nLength);
}

std::unique_ptr<CSendData> MakeSysReadFrame(int nItem, int nPreset)
{
    FrameArea area;
    SetHeader(area, kCmdRead, nPreset, kKindSystem, nItem, 0, 0, kGroupSize);
    return Finish(area, kGroupSize);
}
