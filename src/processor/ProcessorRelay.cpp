// What another client of the same processor (a frame port) does to this
// one's model: its acknowledged writes are applied as the processor applied
// them, and what they cannot tell is read again.
#include <cstring>

#include "ConfirmedState.h"
#include "Processor.h"
#include "ProcessorState.h"

bool CProcessor::TakeOthersWrite(const uint8_t* pFrame, int nLength)
{
    // The processor's own addressing of a write, on a copy of the live image.
    auto pImages = std::make_unique<CVirtualImages>();
    {
        ModelLock lock(State().m_csModel);
        pImages->SetLive(std::vector<uint8_t>(State().m_LiveImage, State().m_LiveImage + kImageSize));
        if (!ApplyLiveWrite(*pImages, State().m_DelayTable, State().m_ControlBlock, pFrame, nLength))
            return false;
        std::memcpy(State().m_LiveImage, pImages->Live(), kImageSize);
        m_data.LoadFromImage(State().m_LiveImage, 0);
    }
    Publish(ChangeSource::kLink);
    return true;
}

bool CProcessor::ReadAgain()
{
    if (!m_session.IsConnected())
        return false;
    m_session.RequestDeviceInfo(true);
    return m_session.ReadScene(0);
}
