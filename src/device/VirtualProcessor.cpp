#include "VirtualProcessor.h"

#include <algorithm>

#include "DataDefine.h"
#include "FirmwareFrames.h"
#include "Frame.h"

namespace {
// Positions in a received frame (numbered from its start byte).
constexpr int kRoCommand = 1;
constexpr int kRoPreset = 3;
constexpr int kRoKind = 4;
constexpr int kRoChannel = 5;
constexpr int kRoGroup = 6;
constexpr int kRoLength = 9;
constexpr int kRoPayload = 11;

bool IsNameItem(int nItem)
{
    return nItem == kItemSceneName || nItem == kItemEffectName;
}

bool IsEvery(int nEvery, int nCount)
{
    return nEvery > 0 && nCount % nEvery == 0;
}
}  // namespace

CVirtualProcessor::CVirtualProcessor()
    : m_assembler([this](const uint8_t* pFrame, int nLength, FrameCheck check) { OnFrame(pFrame, nLength, check); })
{
}

void CVirtualProcessor::SetFaults(const VirtualFaults& faults)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults = faults;
    m_nFaultFrames = 0;
    m_nFaultGoodFrames = 0;
    m_nFaultReplies = 0;
    m_system.SetIdentification(faults.strWrongId.empty() ? CVirtualSystem::kIdentification : faults.strWrongId);
    m_loader.SetRefuseChecksum(faults.bWrongChecksum);
}

void CVirtualProcessor::Vanish()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Unplug();
}

void CVirtualProcessor::Unplug()
{
    m_bVanished = true;
    m_bRestarting = false;
    m_reports.clear();
    m_assembler.Reset();
}

void CVirtualProcessor::Reappear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bRestarting)
        m_loader.Restarted();
    m_bRestarting = false;
    m_bVanished = false;
}

bool CVirtualProcessor::IsVanished() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bVanished && !(m_bRestarting && Clock::now() >= m_restartEnd);
}

void CVirtualProcessor::ResetLink()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // A processor told to restart does so whether or not its answer was read.
    const bool bRestart = std::any_of(m_reports.begin(), m_reports.end(),
                                      [](const PendingReport& report) { return report.bRestartAfter; });
    m_reports.clear();
    m_assembler.Reset();
    if (bRestart)
        BeginRestart(Clock::now());
}

void CVirtualProcessor::Receive(const uint8_t* pData, size_t nCount)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Clock::time_point now = Clock::now();
    EndRestartIfDue(now);
    if (m_bVanished)
        return;
    m_arrival = now;
    // Inside a frame the same bytes could be payload.
    if (!m_assembler.InFrame() && IsHandshakeData(pData, nCount)) {
        m_loader.CountHandshake();
        return;
    }
    m_assembler.Feed(pData, nCount);
    if (m_bUnplugNow) {
        m_bUnplugNow = false;
        Unplug();
        return;
    }
    if (m_bRestartNow) {
        m_bRestartNow = false;
        BeginRestart(now);
    }
}

bool CVirtualProcessor::TakeReport(uint8_t* pReport64, Clock::time_point now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    EndRestartIfDue(now);
    if (m_bVanished || m_reports.empty() || m_reports.front().due > now)
        return false;
    std::copy(m_reports.front().data.begin(), m_reports.front().data.end(), pReport64);
    const bool bRestart = m_reports.front().bRestartAfter;
    m_reports.pop_front();
    if (bRestart)
        BeginRestart(now);
    return true;
}

// ---- Restart into the loader ---------------------------------------------------

void CVirtualProcessor::BeginRestart(Clock::time_point now)
{
    m_bVanished = true;
    m_bRestarting = true;
    m_reports.clear();
    m_assembler.Reset();
    m_restartEnd = m_faults.bNeverReappear ? Clock::time_point::max()
                                           : now + std::chrono::milliseconds(std::max(m_faults.nRestartMs, 0));
}

void CVirtualProcessor::EndRestartIfDue(Clock::time_point now)
{
    if (!m_bRestarting || now < m_restartEnd)
        return;
    m_bRestarting = false;
    m_bVanished = false;
    m_loader.Restarted();
}

CVirtualProcessor::Clock::time_point CVirtualProcessor::NextReportDue() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reports.empty() ? Clock::time_point::max() : m_reports.front().due;
}

int CVirtualProcessor::MsUntilNextReport(int nMaxMs) const
{
    using namespace std::chrono;
    const Clock::time_point due = NextReportDue();
    if (due == Clock::time_point::max())
        return nMaxMs;
    const auto wait = ceil<milliseconds>(due - Clock::now());
    return static_cast<int>(std::clamp<milliseconds::rep>(wait.count(), 0, nMaxMs));
}

// ---- Frames ------------------------------------------------------------------

void CVirtualProcessor::OnFrame(const uint8_t* pFrame, int nLength, FrameCheck check)
{
    ++m_nFrames;
    ++m_nFaultFrames;
    Record(pFrame, nLength);
    // The frame that finds the cable pulled is lost with it.
    if (m_faults.nUnplugAfter > 0 && m_nFaultFrames == m_faults.nUnplugAfter + 1)
        m_bUnplugNow = true;
    if (m_bUnplugNow)
        return;
    // A silent processor has hung: it neither answers nor applies anything.
    if (m_faults.nSilentAfter > 0 && m_nFaultFrames > m_faults.nSilentAfter)
        return;
    if (check == FrameCheck::Bad) {
        Reply(pFrame, kReplyResend);
        return;
    }
    if (IsEvery(m_faults.nResendEvery, ++m_nFaultGoodFrames)) {
        Reply(pFrame, kReplyResend);
        return;
    }
    Dispatch(pFrame);
}

void CVirtualProcessor::Record(const uint8_t* pFrame, int nLength)
{
    std::vector<uint8_t> frame(static_cast<size_t>(nLength) + 3, kFrameSync);
    std::copy(pFrame, pFrame + nLength, frame.begin() + 3);
    m_received.push_back(std::move(frame));
    if (m_received.size() > kKeptFrames)
        m_received.pop_front();
}

void CVirtualProcessor::Dispatch(const uint8_t* pFrame)
{
    if (pFrame[kRoCommand] == kCmdWrite && pFrame[kRoKind] == kKindSystem &&
        CVirtualLoader::IsLoaderStep(pFrame[kRoChannel])) {
        LoaderWrite(pFrame);
        return;
    }
    switch (pFrame[kRoCommand]) {
    case kCmdWrite:
        Write(pFrame, pFrame + kRoPayload, GetWord(pFrame + kRoLength));
        Reply(pFrame, kReplyAck);
        break;
    case kCmdRead:
        Read(pFrame);
        break;
    default:
        // Nothing an editor sends; acknowledged so its queue moves on.
        Reply(pFrame, kReplyAck);
        break;
    }
}

// A write that addresses nothing is still acknowledged: the editor would
// otherwise repeat it until it gives up on the link.
void CVirtualProcessor::Write(const uint8_t* pFrame, const uint8_t* pPayload, int nLength)
{
    const int nPreset = pFrame[kRoPreset];
    const int nKind = pFrame[kRoKind];
    const int nChannel = pFrame[kRoChannel];
    if (nKind != kKindSystem) {
        if (nLength == kGroupSize)
            m_images.WriteGroup(nPreset, nKind, nChannel, pFrame[kRoGroup], pPayload, nLength);
        else
            m_images.WriteBlock(nPreset, nKind, nChannel, pPayload, nLength);
        return;
    }
    if (IsNameItem(nChannel)) {
        m_images.WriteName(nChannel, nPreset, pPayload, nLength);
        return;
    }
    if (m_system.Write(nChannel, pPayload, nLength) && nChannel == kItemDefaultSetup)
        m_default.assign(m_images.Live(), m_images.Live() + kImageSize);
}

// An empty data reply makes the editor ask for a firmware update, so a read
// of something this processor does not have is only acknowledged.
void CVirtualProcessor::Read(const uint8_t* pFrame)
{
    const int nPreset = pFrame[kRoPreset];
    const int nKind = pFrame[kRoKind];
    const int nChannel = pFrame[kRoChannel];
    std::vector<uint8_t> payload;
    bool bKnown = false;
    if (nKind != kKindSystem) {
        bKnown = m_images.ReadBlock(nPreset, nKind, nChannel, pFrame[kRoGroup], &payload);
    } else if (nChannel == m_faults.nEmptyReplyItem) {
        Reply(pFrame, kReplyData);
        return;
    } else if (IsNameItem(nChannel)) {
        bKnown = m_images.ReadName(nChannel, nPreset, &payload);
    } else {
        bKnown = m_system.Read(nChannel, &payload);
    }
    if (bKnown)
        Reply(pFrame, kReplyData, payload);
    else
        Reply(pFrame, kReplyAck);
}

void CVirtualProcessor::LoaderWrite(const uint8_t* pFrame)
{
    const int nStep = pFrame[kRoChannel];
    // A loader hung on this step: it neither programs nor answers.
    if (nStep == m_faults.nNoReplyStep)
        return;
    switch (m_loader.Write(nStep, pFrame + kRoPayload, GetWord(pFrame + kRoLength))) {
    case CVirtualLoader::Answer::Ack:
        Reply(pFrame, kReplyAck);
        break;
    case CVirtualLoader::Answer::Resend:
        Reply(pFrame, kReplyResend);
        break;
    case CVirtualLoader::Answer::AckDspDone: {
        std::array<uint8_t, kRoPayload> request{};
        std::copy(pFrame, pFrame + kRoPayload, request.begin());
        request[kRoChannel] = kStepDspDone;
        Reply(request.data(), kReplyAck);
        break;
    }
    case CVirtualLoader::Answer::AckRestart:
        if (Reply(pFrame, kReplyAck))
            m_reports.back().bRestartAfter = true;
        else
            m_bRestartNow = true;
        break;
    }
}

bool CVirtualProcessor::Reply(const uint8_t* pRequest, uint8_t nCommand, const std::vector<uint8_t>& payload)
{
    ++m_nFaultReplies;
    if (IsEvery(m_faults.nDropEvery, m_nFaultReplies))
        return false;
    std::vector<uint8_t> frame = MakeReplyFrame(pRequest, nCommand, payload);
    if (IsEvery(m_faults.nCorruptEvery, m_nFaultReplies))
        SpoilChecksum(&frame);
    const Clock::time_point due = m_arrival + std::chrono::milliseconds(m_faults.nDelayMs);
    for (const Report64& report : CutIntoReports(frame))
        m_reports.push_back({report, due});
    return true;
}

// ---- State -------------------------------------------------------------------

std::vector<uint8_t> CVirtualProcessor::LiveImage() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_images.Live(), m_images.Live() + kImageSize};
}

std::vector<uint8_t> CVirtualProcessor::SceneProgram(int n) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const uint8_t* p = m_images.Scene(n);
    return p ? std::vector<uint8_t>(p, p + kImageSize) : std::vector<uint8_t>{};
}

std::vector<uint8_t> CVirtualProcessor::EffectProgram(int n) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const uint8_t* p = m_images.EffectProgram(n);
    return p ? std::vector<uint8_t>(p, p + kEffectProgSize) : std::vector<uint8_t>{};
}

std::vector<uint8_t> CVirtualProcessor::DelayTable() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_system.DelayTable();
}

int CVirtualProcessor::SystemByte(int nItem) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_system.Value(nItem);
}

int CVirtualProcessor::FramesReceived() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nFrames;
}

std::vector<std::vector<uint8_t>> CVirtualProcessor::ReceivedFrames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_received.begin(), m_received.end()};
}

void CVirtualProcessor::ClearReceivedFrames()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_received.clear();
}

std::vector<uint8_t> CVirtualProcessor::DefaultSettings() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_default;
}

CVirtualLoader CVirtualProcessor::Loader() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_loader;
}

void CVirtualProcessor::SetSceneProgram(int n, const std::vector<uint8_t>& image)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_images.SetScene(n, image);
}

void CVirtualProcessor::SetLiveImage(const std::vector<uint8_t>& image)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_images.SetLive(image);
}

void CVirtualProcessor::SetLevels(const std::array<int, 12>& levels)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_system.SetLevels(levels);
}

void CVirtualProcessor::SetVariant(int nVariant)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_system.SetVariant(nVariant);
}
