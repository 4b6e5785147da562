#include "Filter.h"

#include <algorithm>

#include "ProcessorState.h"

namespace {

// The model lock of the filter's processor; none for a filter outside one.
class FilterLock {
public:
    explicit FilterLock(CProcessorState* pState)
    {
        if (pState)
            m_lock = std::unique_lock<std::recursive_mutex>(pState->m_csModel);
    }

private:
    std::unique_lock<std::recursive_mutex> m_lock;
};

}  // namespace

CFilter::CFilter() = default;

bool CFilter::IsOnline() const
{
    return m_pState && m_pState->m_bOnline.load();
}

int CFilter::GetSentFrequency() const
{
    FilterLock lock(m_pState);
    return m_nSentFreq;
}

int CFilter::GetChangeMark() const
{
    FilterLock lock(m_pState);
    return m_nChangeMark;
}

void CFilter::SetChangeMark(int nMark)
{
    FilterLock lock(m_pState);
    m_nChangeMark = nMark;
}

void CFilter::MarkChanged()
{
    m_nChangeMark = IsOnline();
}

// A user change reaches the processor an octave at a time: the sent
// frequency follows at once unless the target is twice as high or more, in
// which case the change scanner steps it up (StepFrequency). Offline the
// processor is not listening, so an equalizer band simply takes the value.
void CFilter::StoreUserFrequency(int nFreq)
{
    m_nFreq = nFreq;
    if (m_bEqBand && !IsOnline())
        m_nSentFreq = nFreq;
    const int nSent = m_nSentFreq == 0 ? kMinFreq : m_nSentFreq;
    if (nFreq / nSent < 2)
        m_nSentFreq = nFreq;
}

void CFilter::SetFrequency(int nFreq, bool bUser)
{
    nFreq = std::clamp(nFreq, kMinFreq, kMaxFreq);
    {
        FilterLock lock(m_pState);
        if (bUser) {
            StoreUserFrequency(nFreq);
            MarkChanged();
        } else {
            m_nFreq = nFreq;
            m_nSentFreq = nFreq;
        }
    }
    if (!m_bEqBand && m_onFrequency)
        m_onFrequency(nFreq);
    Layout();
    Recompute();
}

void CFilter::SetGainCode(int nCode)
{
    {
        FilterLock lock(m_pState);
        m_dGain = CodeToGain(std::clamp(nCode, 0, kGainCodeMax));
        if (m_dGain == 0.0) {
            m_bBypass = 1;
        } else {
            m_bBypass = 0;
            m_bAllBypass = 0;
        }
        MarkChanged();
    }
    if (m_bEqBand) {
        LayoutEqBand();
        LayoutHandles();
    }
    Recompute();
}

void CFilter::SetBandwidthCode(int nCode)
{
    {
        FilterLock lock(m_pState);
        m_dBandwidth = CodeToBandwidth(std::clamp(nCode, 0, kBandwidthCodeMax));
        MarkChanged();
    }
    if (m_bEqBand)
        LayoutHandles();
    Recompute();
}

void CFilter::StoreCurveField(int& nField, int nValue, bool bMark)
{
    {
        FilterLock lock(m_pState);
        nField = nValue;
        if (bMark)
            MarkChanged();
    }
    Recompute();
}

void CFilter::SetSlope(int nSlope, bool bUser)
{
    StoreCurveField(m_nSlope, nSlope, bUser);
}

void CFilter::SetFilterType(int nType, bool bUser)
{
    StoreCurveField(m_nFilterType, nType, bUser);
}

void CFilter::SetKind(int nKind)
{
    {
        FilterLock lock(m_pState);
        m_nKind = nKind;
        if (nKind == kLowPass)
            m_nSentFreq = kMaxFreq;
        MarkChanged();
    }
    Recompute();
}

void CFilter::SetShelfMode(int nMode)
{
    if (nMode < 0 || nMode > 4)
        return;
    {
        FilterLock lock(m_pState);
        if (nMode == 0) {
            m_nKind = kPeaking;
        } else {
            m_nKind = nMode <= 2 ? kLowShelf : kHighShelf;
            m_nSlope = (nMode - 1) % 2;
            // The processor's shelves hinge at 2 kHz: a low shelf lives below
            // it, a high shelf above it.
            if ((m_nKind == kLowShelf && m_nFreq > 2000) || (m_nKind == kHighShelf && m_nFreq < 2000))
                StoreUserFrequency(2000);
        }
        MarkChanged();
    }
    LayoutEqBand();
    LayoutHandles();
    Recompute();
}

void CFilter::SetBypass(int nRequest)
{
    {
        FilterLock lock(m_pState);
        if (m_bAllBypass) {
            m_bAllBypass = 0;
            if (m_dGain == 0.0)
                return;
        } else if (nRequest == m_bBypass || m_dGain == 0.0) {
            return;
        }
        m_bBypass = nRequest;
        MarkChanged();
    }
    Layout();
    Recompute();
}

void CFilter::SetWholeSetBypass(bool bOn)
{
    {
        FilterLock lock(m_pState);
        if (bOn) {
            m_bSavedAllBypass = m_bAllBypass;
            m_bAllBypass = 1;
        } else {
            m_bAllBypass = m_bSavedAllBypass;
        }
    }
    if (!m_bBypass) {
        Layout();
        Recompute();
    }
}

void CFilter::StepFrequency(int nMark)
{
    FilterLock lock(m_pState);
    if (m_nFreq == m_nSentFreq) {
        m_nChangeMark = nMark;
        return;
    }
    const int nSent = m_nSentFreq == 0 ? kMinFreq : m_nSentFreq;
    if (m_nFreq / nSent >= 2)
        m_nSentFreq = nSent * 2;
    else if (m_nFreq < nSent)
        m_nSentFreq = std::max(nSent / 2, m_nFreq);  // never below the target
    else
        m_nSentFreq = m_nFreq;
    m_nChangeMark = 1;
}

void CFilter::SettleFrequency()
{
    FilterLock lock(m_pState);
    m_nSentFreq = m_nFreq;
}

void CFilter::ResetBand(int nFreq)
{
    {
        FilterLock lock(m_pState);
        m_nFreq = nFreq;
        m_nSentFreq = nFreq;
        m_dBandwidth = 0.2;
    }
    LayoutHandles();
    LayoutEqBand();
    {
        FilterLock lock(m_pState);
        m_dGain = 0.0;
        m_bBypass = 1;
    }
    LayoutEqBand();
    Recompute();
}

void CFilter::CopyValues(const CFilter& other)
{
    if (&other == this)
        return;
    {
        FilterLock lock(m_pState);
        m_nKind = other.m_nKind;
        m_nFreq = other.m_nFreq;
        m_nSentFreq = other.m_nFreq;
        m_dGain = other.m_dGain;
        m_bBypass = other.m_bBypass;
        m_bAllBypass = other.m_bAllBypass;
        m_dBandwidth = other.m_dBandwidth;
        m_nFilterType = other.m_nFilterType;
        m_nSlope = other.m_nSlope;
    }
    Layout();
    Recompute();
}

void CFilter::LoadGroup(int nGainCode, int nBandwidthCode, int nSlope, int nKind, int nFreq)
{
    {
        FilterLock lock(m_pState);
        m_dGain = CodeToGain(std::clamp(nGainCode, 0, kGainCodeMax));
        if (m_dGain == 0.0) {
            m_bBypass = 1;
        } else {
            m_bBypass = 0;
            m_bAllBypass = 0;
        }
        m_dBandwidth = CodeToBandwidth(std::clamp(nBandwidthCode, 0, kBandwidthCodeMax));
        m_nSlope = nSlope;
        m_nKind = nKind;
        m_nFreq = std::clamp(nFreq, kMinFreq, kMaxFreq);
        m_nSentFreq = m_nFreq;
        m_nChangeMark = 0;
    }
    Layout();
    Recompute();
}

void CFilter::LoadCrossover(int nFreq, int nType, int nSlope)
{
    nFreq = std::clamp(nFreq, kMinFreq, kMaxFreq);
    {
        FilterLock lock(m_pState);
        m_nFreq = nFreq;
        m_nSentFreq = nFreq;
        m_nFilterType = nType;
        m_nSlope = nSlope;
        m_nChangeMark = 0;
    }
    if (!m_bEqBand && m_onFrequency)
        m_onFrequency(nFreq);
    Layout();
    Recompute();
}

CFilter::Values CFilter::GetValues() const
{
    FilterLock lock(m_pState);
    return {m_nKind,      m_nFreq,           GetGainCode(), m_bBypass, m_bAllBypass, m_bSavedAllBypass,
            GetBandwidthCode(), m_nFilterType, m_nSlope};
}

void CFilter::RestoreValues(const Values& values)
{
    {
        FilterLock lock(m_pState);
        m_nKind = values.nKind;
        StoreUserFrequency(std::clamp(values.nFreq, kMinFreq, kMaxFreq));
        m_dGain = CodeToGain(std::clamp(values.nGainCode, 0, kGainCodeMax));
        m_bBypass = values.nBypass;
        m_bAllBypass = values.nAllBypass;
        m_bSavedAllBypass = values.nSavedAllBypass;
        m_dBandwidth = CodeToBandwidth(std::clamp(values.nBandwidthCode, 0, kBandwidthCodeMax));
        m_nFilterType = values.nFilterType;
        m_nSlope = values.nSlope;
        MarkChanged();
    }
    if (!m_bEqBand && m_onFrequency)
        m_onFrequency(m_nFreq);
    Layout();
    Recompute();
}
