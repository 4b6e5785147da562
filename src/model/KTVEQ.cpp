#include "KTVEQ.h"

#include "GlobalData.h"

namespace {

struct EqSetShape {
    const int* pFreq;
    int nBands;
    int nCrossoverGroup;
    int nFilterType;
    int nSlope;
    bool bTwoSlope;
};

EqSetShape ShapeOf(EqSetType type)
{
    switch (type) {
    case EqSetType::Input:
        return {g_nInputBandFreq.data(), kInputBands, 10, kButterworth, 0, true};
    case EqSetType::Effect:
        return {g_nEffectBandFreq.data(), kEffectBands, 15, kButterworth, 2, false};
    case EqSetType::Output:
    default:
        return {g_nGraphicFreq.data(), kGraphicBands, 32, kLinkwitzRiley, 2, false};
    }
}

int FrequencyOf(const CFilter& band, CKTVEQ::Freq freq)
{
    return freq == CKTVEQ::Freq::Target ? band.GetFrequency() : band.GetSentFrequency();
}

}  // namespace

CKTVEQ::CKTVEQ(CProcessorState* pState, EqSetType type, int nRangeCode)
{
    const EqSetShape shape = ShapeOf(type);
    m_bands.resize(static_cast<size_t>(shape.nBands + 2));
    for (CFilter& band : m_bands)
        band.AttachState(pState);
    for (int i = 0; i < shape.nBands; ++i) {
        CFilter& band = m_bands[static_cast<size_t>(i)];
        band.SetGroupIndex(i);
        band.SetFrequency(shape.pFreq[i], false);
    }
    if (type == EqSetType::Input) {
        m_bands.front().SetShelfMode(1);           // low shelf, 6 dB/oct
        m_bands[kInputBands - 1].SetShelfMode(3);  // high shelf, 6 dB/oct
    }
    const int nKinds[2] = {kHighPass, kLowPass};
    const int nFreqs[2] = {kMinFreq, kMaxFreq};
    for (int j = 0; j < 2; ++j) {
        CFilter& filter = m_bands[static_cast<size_t>(shape.nBands + j)];
        filter.SetEqBand(false);
        filter.SetTwoSlope(shape.bTwoSlope);
        filter.SetGroupIndex(shape.nCrossoverGroup);
        filter.SetRangeCode(nRangeCode);
        filter.SetKind(nKinds[j]);
        filter.SetFrequency(nFreqs[j], false);
        filter.SetFilterType(shape.nFilterType, false);
        filter.SetSlope(shape.nSlope, false);
    }
    SetAllMarks(0);
}

void CKTVEQ::PackGroup(int nBand, uint8_t* pGroup, Freq freq) const
{
    const CFilter& band = (*this)[nBand];
    PutWord(pGroup, FrequencyOf(band, freq));
    const int nGainCode = band.IsEffectivelyBypassed() ? kGainCodeZero : band.GetGainCode();
    PutWord(pGroup + 2, nGainCode + kGainWireOffset);
    PutWord(pGroup + 4, band.GetBandwidthCode());
    pGroup[6] = static_cast<uint8_t>(band.GetSlope());
    pGroup[7] = static_cast<uint8_t>(band.GetKind());
}

void CKTVEQ::ParseGroup(int nBand, const uint8_t* pGroup)
{
    (*this)[nBand].LoadGroup(GetWord(pGroup + 2) - kGainWireOffset, GetWord(pGroup + 4), pGroup[6], pGroup[7],
                             GetWord(pGroup));
}

void CKTVEQ::PackCrossover(uint8_t* pGroup, Freq freq) const
{
    const CFilter* pFilters[2] = {&HighPass(), &LowPass()};
    for (int j = 0; j < 2; ++j) {
        uint8_t* p = pGroup + 4 * j;
        PutWord(p, FrequencyOf(*pFilters[j], freq));
        p[2] = static_cast<uint8_t>(pFilters[j]->GetFilterType());
        p[3] = static_cast<uint8_t>(pFilters[j]->GetSlope());
    }
}

void CKTVEQ::ParseCrossover(const uint8_t* pGroup)
{
    CFilter* pFilters[2] = {&HighPass(), &LowPass()};
    for (int j = 0; j < 2; ++j) {
        const uint8_t* p = pGroup + 4 * j;
        pFilters[j]->LoadCrossover(GetWord(p), p[2], p[3]);
    }
}

void CKTVEQ::SetAllMarks(int nMark)
{
    for (CFilter& band : m_bands)
        band.SetChangeMark(nMark);
}

void CKTVEQ::SettleFrequencies()
{
    for (CFilter& band : m_bands)
        band.SettleFrequency();
}

void CKTVEQ::SetWholeSetBypass(bool bOn)
{
    for (CFilter& band : m_bands)
        band.SetWholeSetBypass(bOn);
}

bool CKTVEQ::AllBypassed() const
{
    for (const CFilter& band : m_bands) {
        if (!band.IsEffectivelyBypassed())
            return false;
    }
    return true;
}

void CKTVEQ::SetGraphic(bool bGraphic)
{
    for (int i = 0; i < BandCount(); ++i)
        m_bands[static_cast<size_t>(i)].SetGraphic(bGraphic);
}

void CKTVEQ::SetPlotRect(int nWidth, int nHeight)
{
    m_nPlotW = nWidth;
    m_nPlotH = nHeight;
    for (int i = 0; i < kAxisPoints; ++i) {
        m_ptCurve[i] = {FreqToCol(g_dFreqAxis[i], nWidth) + kPlotOffsetX, nHeight / 2};
        m_ptCurveF[i].x = FreqToColF(g_dFreqAxis[i], nWidth) + kPlotOffsetX;
    }
    for (CFilter& band : m_bands)
        band.SetPlotRect(nWidth, nHeight);
}

void CKTVEQ::SumResponses()
{
    for (int i = 0; i < kAxisPoints; ++i) {
        double dSum = 0.0;
        for (const CFilter& band : m_bands)
            dSum += band.Response()[i];
        m_ptCurve[i].y = DbToRow(dSum, m_nPlotH) + kPlotOffsetY;
        m_ptCurveF[i].y = DbToRowF(dSum, m_nPlotH) + kPlotOffsetY;
    }
}
