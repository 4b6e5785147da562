// Where the payload of a data reply goes. Every copy is limited to its
// target area: a longer payload never spills into the data that follows.
#include <algorithm>
#include <cstring>

#include "DataDefine.h"
#include "Frame.h"
#include "KTVCommand.h"
#include "Notify.h"
#include "ProcessorState.h"

namespace {

constexpr int kPayloadIndex = 11;  // received frames are numbered from the start byte

void CopyLimited(uint8_t* pDest, int nArea, const uint8_t* pSrc, int nLength)
{
    std::memcpy(pDest, pSrc, static_cast<size_t>(std::min(nArea, nLength)));
}

// Lowers a value above the maximum item, then raises one below the minimum.
int LimitToItems(const CProcessorState& state, int nValue, int nMinItem, int nMaxItem)
{
    nValue = std::min(nValue, static_cast<int>(state.m_SysBytes[nMaxItem]));
    return std::max(nValue, static_cast<int>(state.m_SysBytes[nMinItem]));
}

void LimitVolumeWord(const CProcessorState& state, uint8_t* pWord, int nMinItem, int nMaxItem)
{
    PutWord(pWord, LimitToItems(state, static_cast<int16_t>(GetWord(pWord)), nMinItem, nMaxItem));
}

// Names: 13 printable characters, then two spaces; byte 15 keeps its value.
void StoreName(uint8_t* pName, const uint8_t* pPayload, int nLength)
{
    for (int i = 0; i < 15; ++i) {
        const uint8_t nByte = i < nLength ? pPayload[i] : ' ';
        pName[i] = (i >= kNameChars || nByte < 0x20 || nByte > 0x7F) ? ' ' : nByte;
    }
}

void StorePrintable(uint8_t* pDest, int nArea, const uint8_t* pSrc, int nLength)
{
    for (int i = 0; i < std::min(nArea, nLength); ++i)
        pDest[i] = pSrc[i] < 0x20 ? ' ' : pSrc[i];
}

void StoreLock(CProcessorState& state, const uint8_t* pPayload, int nLength)
{
    if (nLength < 1)
        return;
    state.m_LockBlock[0] = pPayload[0];
    state.m_nLockState = pPayload[0];
    std::string strPassword;
    for (int i = 1; i < kLockSize; ++i) {
        const uint8_t nByte = i < nLength ? pPayload[i] : ' ';
        state.m_LockBlock[i] = (nByte < 0x20 || nByte > 0x7F) ? ' ' : nByte;
        strPassword.push_back(static_cast<char>(state.m_LockBlock[i]));
    }
    state.m_strPassword = Trim(strPassword);
}

bool IsSingleByteItem(int nItem)
{
    return nItem == kItemBacklight || (nItem >= 32 && nItem <= 41) || nItem == 48 || nItem == 49;
}

}  // namespace

void CKTVCommand::DispatchData(const uint8_t* pFrame, int nLength)
{
    const int nPayload = nLength - 13;
    if (nPayload <= 0) {
        m_state.m_bDeviceAbnormal = 1;
        m_state.PostNotify(kMsgEmptyReply);
        ResetReceiver();
        return;
    }
    const uint8_t* pPayload = pFrame + kPayloadIndex;
    bool bHandled = false;
    {
        ModelLock lock(m_state.m_csModel);
        if (m_nKind == kKindSystem)
            bHandled = StoreSystemItem(pPayload, nPayload);
        else
            bHandled = StoreBlock(pPayload, nPayload);
    }
    ResetReceiver();
    if (bHandled)
        RemoveHead();
}

bool CKTVCommand::StoreBlock(const uint8_t* pPayload, int nLength)
{
    const int p = m_nPreset;
    const bool bLibrary = m_nMode == kModeLibrary;
    switch (m_nKind) {
    case kKindMic:
    case kKindMusic: {
        const bool bMic = m_nKind == kKindMic;
        // There is one microphone and one music block: a reply for another
        // channel number must not land in the neighbouring block.
        if (bMic && m_nItem != 0)
            return true;
        uint8_t* pImage = (bLibrary && p != 0) ? m_state.SceneEntry(p) : m_state.m_LiveImage;
        if (!pImage)
            return true;
        uint8_t* pBlock = pImage + (bMic ? kOffMic : kOffMusic);
        CopyLimited(pBlock, kInBlockSize, pPayload, nLength);
        if (!bLibrary)
            LimitVolumeWord(m_state, pBlock + 78, bMic ? 35 : 39, bMic ? 34 : 38);
        return true;
    }
    case kKindEffect: {
        uint8_t* pBlock = m_state.m_LiveImage + kOffEffect;
        if (bLibrary && p != 0) {
            uint8_t* pProgram = p <= kSceneEntries ? m_state.SceneEntry(p) : m_state.EffectProgEntry(p);
            const int nOffset = p <= kSceneEntries ? kOffEffect : kNameSize;
            pBlock = pProgram ? pProgram + nOffset : nullptr;
        }
        if (!pBlock)
            return true;
        CopyLimited(pBlock, kEffectBlockSize, pPayload, nLength);
        if (bLibrary && p == 0)
            pBlock[139] = static_cast<uint8_t>(LimitToItems(m_state, pBlock[139], 37, 36));
        if (bLibrary && p == kEffectProgLast)
            m_state.PostNotify(kMsgAllEffectsRead, kEffectProgLast);
        if (!bLibrary && p > kSceneEntries)
            m_state.PostNotify(kMsgEffectRecalled, p);
        return true;
    }
    case kKindOutput: {
        const int ch = m_nItem;
        uint8_t* pImage = (bLibrary && p != 0) ? m_state.SceneEntry(p) : m_state.m_LiveImage;
        if (!pImage || ch < 0 || ch >= kOutputs)
            return true;
        CopyLimited(pImage + kOffOutput + kOutBlockSize * ch, kOutBlockSize, pPayload, nLength);
        if (ch == kOutputs - 1) {
            if (!bLibrary)
                m_state.PostNotify(kMsgLiveReadDone, p);
            else if (p == 10)
                m_state.PostNotify(kMsgAllScenesRead, 10);
            else if (p == 0)
                m_state.PostNotify(kMsgLiveReadDone, 0);
        }
        return true;
    }
    default:
        return false;
    }
}

bool CKTVCommand::StoreSystemItem(const uint8_t* pPayload, int nLength)
{
    const int nItem = m_nItem;
    const int p = m_nPreset;
    if (nItem == kItemSceneName || nItem == kItemEffectName) {
        uint8_t* pName = nullptr;
        if (p == 0)
            pName = m_state.m_LiveImage + (nItem == kItemSceneName ? kOffSceneName : kOffEffectName);
        else
            pName = nItem == kItemSceneName ? m_state.SceneEntry(p) : m_state.EffectProgEntry(p);
        if (pName)
            StoreName(pName, pPayload, nLength);
    } else if (nItem == kItemControl) {
        CopyLimited(m_state.m_ControlBlock, kControlSize, pPayload, nLength);
    } else if (nItem == kItemLevels) {
        const int nCount = std::min(nLength - 2, kLevelEntries);
        for (int i = 0; i < nCount; ++i)
            m_state.m_nLevelTable[i] = pPayload[i];
        m_state.PostNotify(kMsgLevels);
    } else if (nItem == kItemIdent) {
        std::memset(m_state.m_IdString, 0, kIdSize);
        CopyLimited(m_state.m_IdString, kIdSize, pPayload, nLength);
        m_state.PostNotify(kMsgIdentification);
    } else if (nItem == kItemInfoText) {
        StorePrintable(m_state.m_InfoText, kInfoTextSize, pPayload, nLength);
    } else if (nItem == kItemLock) {
        StoreLock(m_state, pPayload, nLength);
    } else if (IsSingleByteItem(nItem)) {
        m_state.m_SysBytes[nItem] = pPayload[0];
    } else if (nItem == kItemLowPassLimit) {
        if (nLength >= 2)
            m_state.m_nLowPassLimit = GetWord(pPayload);
    } else if (nItem == kItemLowPassSwitch) {
        if (nLength >= 2)
            m_state.m_SysBytes[nItem] = pPayload[1];
        m_state.PostNotify(kMsgDelayTable);
    } else if (nItem == kItemVariant) {
        m_state.PostNotify(kMsgVariant, pPayload[0]);
    } else if (nItem == kItemDelayTable) {
        CopyLimited(m_state.m_DelayTable, kDelayTableSize, pPayload, nLength);
        m_state.PostNotify(kMsgDelayTable);
    }
    return true;  // unknown items are ignored, and still answer the request
}
