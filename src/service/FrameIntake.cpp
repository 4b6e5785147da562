#include "FrameIntake.h"

#include <utility>

#include "FirmwareFrames.h"
#include "Frame.h"
#include "TcpListen.h"
#include "VirtualLoader.h"

namespace {
// Positions in a received frame (numbered from its start byte).
constexpr int kRoCommand = 1;
constexpr int kRoKind = 4;
constexpr int kRoChannel = 5;
constexpr int kSyncBytes = 3;

bool IsFirmwareStep(const uint8_t* pFrame)
{
    return pFrame[kRoCommand] == kCmdWrite && pFrame[kRoKind] == kKindSystem &&
           CVirtualLoader::IsLoaderStep(pFrame[kRoChannel]);
}
}  // namespace

CFrameIntake::CFrameIntake()
    : m_assembler([this](const uint8_t* pFrame, int nLength, FrameCheck check) { OnFrame(pFrame, nLength, check); })
{
}

bool CFrameIntake::Take(const uint8_t* pRecord)
{
    // Inside a frame the same bytes could be payload.
    if (!m_assembler.InFrame() && IsHandshakeData(pRecord, kRecordSize))
        return true;
    m_assembler.Feed(pRecord, kRecordSize);
    return m_frames.size() <= kMaxWaiting;
}

void CFrameIntake::OnFrame(const uint8_t* pFrame, int nLength, FrameCheck check)
{
    if (check == FrameCheck::Bad) {
        for (const Report64& report : CutIntoReports(MakeReplyFrame(pFrame, kReplyResend, {})))
            m_answers.push_back(report);
        return;
    }
    const uint8_t nCommand = pFrame[kRoCommand];
    if ((nCommand != kCmdWrite && nCommand != kCmdRead) || IsFirmwareStep(pFrame))
        return;
    std::vector<uint8_t> frame(static_cast<size_t>(nLength) + kSyncBytes, kFrameSync);
    std::copy(pFrame, pFrame + nLength, frame.begin() + kSyncBytes);
    m_frames.push_back(std::move(frame));
}

bool CFrameIntake::NextFrame(std::vector<uint8_t>* pFrame)
{
    if (m_frames.empty())
        return false;
    *pFrame = std::move(m_frames.front());
    m_frames.pop_front();
    return true;
}

std::vector<Report64> CFrameIntake::TakeAnswers()
{
    return std::exchange(m_answers, {});
}

void CFrameIntake::Reset()
{
    m_assembler.Reset();
    m_frames.clear();
    m_answers.clear();
}
