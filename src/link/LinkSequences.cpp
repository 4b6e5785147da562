// The fixed command sequences. Each is queued as one batch under the comm
// lock, every frame tagged with the transfer counter so the answers move the
// progress display, the last one marked so its answer closes it.
#include <cstring>

#include "ChangeScanner.h"
#include "Frame.h"
#include "FrameBuilder.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "LinkTexts.h"
#include "LiveSnapshot.h"
#include "ProcessorState.h"

namespace {
constexpr int kOffMuteInBlock = 248;
constexpr int kMiscGroup = 31;
}  // namespace

void CLinkSession::QueueBatch(std::unique_ptr<CSendData> pFrame, bool bAdvance)
{
    if (!pFrame)
        return;
    pFrame->m_bBatch = 1;
    pFrame->m_nProgressTag = m_nTransferCounter;
    m_cmd.AddSendData(std::move(pFrame));
    if (bAdvance)
        ++m_nTransferCounter;
}

void CLinkSession::StartProgress()
{
    m_cmd.m_nProgressPos = 0;
    m_bTransferRunning = 1;
}

void CLinkSession::RequestDeviceInfo(bool bAll)
{
    CommLock lock(m_state.m_csComm);
    if (!bAll) {
        m_cmd.AddSendData(MakeSysReadFrame(kItemIdent, 0));
        return;
    }
    QueueBatch(MakeSysReadFrame(kItemVariant, 0));
    for (int p = 1; p <= kScenePrograms; ++p)
        QueueBatch(MakeSysReadFrame(kItemSceneName, p));
    for (int i = 0; i < kSysReadListSize - 1; ++i)
        QueueBatch(MakeSysReadFrame(m_state.m_nSysReadList[i], 0));
}

bool CLinkSession::ReadScene(int nPreset)
{
    m_state.m_bOnline = 0;
    if (!m_bConnected) {
        ShowLinkFailure();
        return false;
    }
    CommLock lock(m_state.m_csComm);
    if (nPreset != 0)
        m_nTransferCounter = 0;  // a connect read continues after the identification reads
    QueueBatch(MakeBlockReadFrame(nPreset, kKindMusic, kMusicChannel, true, true));
    for (int k = 0; k < kOutputs; ++k) {
        auto pFrame = MakeBlockReadFrame(nPreset, kKindOutput, k, true, true);
        const bool bLast = k == kOutputs - 1;
        pFrame->m_bEndOfRead = bLast ? 1 : 0;
        QueueBatch(std::move(pFrame), !bLast);
    }
    StartProgress();
    return true;
}

// Outputs are muted around a scene write so the room never hears a half
// written scene; the processor gets group 31 with the mute byte cleared
// first and the remembered one afterwards.
void CLinkSession::QueueMuteBracket(bool bStart, bool bEndMark)
{
    for (int k = 0; k < kOutputs; ++k) {
        uint8_t* pMute = m_state.m_LiveImage + kOffOutput + kOutBlockSize * k + kOffMuteInBlock;
        {
            ModelLock lock(m_state.m_csModel);
            if (bStart) {
                m_savedMute[k] = *pMute;
                *pMute = 0;
            } else {
                *pMute = m_savedMute[k];
            }
        }
        auto pFrame = MakeGroupFrame(m_state, kKindOutput, k, kMiscGroup);
        pFrame->m_bEndOfWrite = (bEndMark && k == kOutputs - 1) ? 1 : 0;
        QueueBatch(std::move(pFrame));
    }
}

// An edit still marked travels in the scene's blocks. Sent again after
// them, it would count as an edit made after the store and blank the name
// just stored. The microphone and effect records are not in a scene: their
// edits stay marked.
void CLinkSession::FillSceneFromModel()
{
    m_data.FillAll();
    auto forget = [](CChannelRecord& record) {
        record.SettleFrequencies();
        record.SetAllMarks(0);
    };
    forget(m_data.Music());
    for (int k = 0; k < kOutputs; ++k)
        forget(m_data.Output(k));
}

bool CLinkSession::WriteScene(int nPreset, bool bFromModel)
{
    if (!m_bConnected) {
        if (nPreset != 0)
            ShowLinkFailure();
        return false;
    }
    CommLock lock(m_state.m_csComm);
    m_nTransferCounter = 0;
    if (bFromModel)
        FillSceneFromModel();
    else
        QueueMuteBracket(true, false);
    QueueBatch(MakeSysFrame(m_state, kItemSceneName, nPreset));
    QueueBatch(MakeBlockFrame(m_state, nPreset, kKindMusic, kMusicChannel, true, false));
    for (int k = 0; k < kOutputs; ++k) {
        auto pFrame = MakeBlockFrame(m_state, nPreset, kKindOutput, k, true, false);
        const bool bLast = k == kOutputs - 1;
        pFrame->m_bEndOfWrite = bLast ? 1 : 0;
        QueueBatch(std::move(pFrame), !bLast);
    }
    if (!bFromModel)
        QueueMuteBracket(false, true);
    // The processor now holds a whole scene under this name: the name must
    // not be blanked as after a single edit.
    m_state.m_bOutputDataSent = 0;
    StartProgress();
    return true;
}

bool CLinkSession::ReadAllScenes()
{
    if (!m_bConnected) {
        ShowMessage(UnConnectionText());
        return false;
    }
    CommLock lock(m_state.m_csComm);
    m_nTransferCounter = 0;
    for (int p = 1; p <= kScenePrograms; ++p) {
        QueueBatch(MakeBlockReadFrame(p, kKindMusic, kMusicChannel, false, true));
        for (int k = 0; k < kOutputs; ++k) {
            auto pFrame = MakeBlockReadFrame(p, kKindOutput, k, false, true);
            pFrame->m_bEndOfRead = (p == kScenePrograms && k == kOutputs - 1) ? 1 : 0;
            QueueBatch(std::move(pFrame));
        }
    }
    StartProgress();
    return true;
}

bool CLinkSession::WriteAllScenes()
{
    if (!m_bConnected)
        return false;
    CommLock lock(m_state.m_csComm);
    m_nTransferCounter = 0;
    QueueMuteBracket(true, false);
    for (int k = 0; k < kOutputs; ++k)
        QueueBatch(MakeBlockFrame(m_state, 0, kKindOutput, k, true, false));
    m_cmd.AddSendData(MakeSysFrame(m_state, kItemDelayTable, 0));
    QueueMuteBracket(false, false);
    for (int p = 1; p <= kScenePrograms; ++p) {
        QueueBatch(MakeSysFrame(m_state, kItemSceneName, p));
        QueueBatch(MakeBlockFrame(m_state, p, kKindMusic, kMusicChannel, false, true));
        for (int k = 0; k < kOutputs; ++k) {
            auto pFrame = MakeBlockFrame(m_state, p, kKindOutput, k, false, true);
            pFrame->m_bEndOfWrite = (p == kScenePrograms && k == kOutputs - 1) ? 1 : 0;
            QueueBatch(std::move(pFrame));
        }
    }
    m_state.m_bOutputDataSent = 0;
    StartProgress();
    return true;
}

void CLinkSession::ResendOutputRecord(int nChannel, bool bSingleProgress)
{
    if (!m_bConnected || nChannel < 0 || nChannel >= kOutputs)
        return;
    CommLock lock(m_state.m_csComm);
    CKTV_OutData& out = m_data.Output(nChannel);
    const int nMute = out.GetMute();
    auto queueMute = [&](int nValue) {
        out.SetMute(nValue);
        out.SetMiscMark(0);
        m_cmd.AddSendData(RecordGroupFrame(out, CKTV_OutData::kGroupMisc));
    };
    queueMute(0);
    out.FillAll();
    out.SettleFrequencies();
    auto pBlock = MakeBlockFrame(m_state, 0, kKindOutput, nChannel, true, false);
    if (bSingleProgress) {
        pBlock->m_bSingleProgress = 1;
        m_bTransferRunning = 1;
    }
    m_cmd.AddSendData(std::move(pBlock));
    queueMute(nMute);
}

void CLinkSession::WriteOutputBlock(int nChannel)
{
    if (!m_bConnected || nChannel < 0 || nChannel >= kOutputs)
        return;
    CommLock lock(m_state.m_csComm);
    m_data.Output(nChannel).FillAll();
    m_data.Output(nChannel).SettleFrequencies();
    m_cmd.AddSendData(MakeBlockFrame(m_state, 0, kKindOutput, nChannel, true, false));
}

void CLinkSession::SendSystemItem(int nItem, int nPreset)
{
    if (!m_bConnected)
        return;
    CommLock lock(m_state.m_csComm);
    m_cmd.AddSendData(MakeSysFrame(m_state, nItem, nPreset));
}

bool CLinkSession::RestoreLiveState(const CLiveSnapshot& state)
{
    CommLock lock(m_state.m_csComm);  // the link never sends a half-restored scene
    const CLiveSnapshot::Applied applied = state.ApplyTo(m_data);
    state.ApplySceneName(m_state);
    if (!m_bConnected)
        return false;
    // The scene's blocks carry what the marks would send again.
    FillSceneFromModel();
    WriteScene(0, false);
    if (applied.bControlChanged)
        SendSystemItem(kItemControl, 0);
    return true;
}
