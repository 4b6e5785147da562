// The equalizer set of one channel: its bands in group order followed by the
// high-pass and the low-pass filter, the packing of their parameter groups
// and the sum of their responses.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Filter.h"
#include "Geometry.h"

enum class EqSetType { Input, Effect, Output };

class CKTVEQ {
public:
    // nRangeCode: the graph's crossover range code of this channel.
    // pState: the processor whose model the bands belong to.
    CKTVEQ(CProcessorState* pState, EqSetType type, int nRangeCode);
    CKTVEQ(const CKTVEQ&) = delete;
    CKTVEQ& operator=(const CKTVEQ&) = delete;

    int GetSize() const { return static_cast<int>(m_bands.size()); }
    int BandCount() const { return GetSize() - 2; }  // equalizer bands only
    CFilter& operator[](int i) { return m_bands[static_cast<size_t>(i)]; }
    const CFilter& operator[](int i) const { return m_bands[static_cast<size_t>(i)]; }
    CFilter& HighPass() { return m_bands[m_bands.size() - 2]; }
    CFilter& LowPass() { return m_bands.back(); }
    const CFilter& HighPass() const { return m_bands[m_bands.size() - 2]; }
    const CFilter& LowPass() const { return m_bands.back(); }

    // Parameter groups; callers hold the model lock while the image is shared.
    // A group write carries the sent frequency (a frequency change travels
    // an octave at a time); what is kept or written whole (files, scene
    // stores, block writes) carries the target frequency.
    enum class Freq { Sent, Target };
    void PackGroup(int nBand, uint8_t* pGroup, Freq freq) const;
    void ParseGroup(int nBand, const uint8_t* pGroup);
    void PackCrossover(uint8_t* pGroup, Freq freq) const;
    void ParseCrossover(const uint8_t* pGroup);
    void SettleFrequencies();

    void SetAllMarks(int nMark);
    void SetWholeSetBypass(bool bOn);
    bool AllBypassed() const;
    void SetGraphic(bool bGraphic);

    void SetPlotRect(int nWidth, int nHeight);
    void SumResponses();
    const std::array<BandPoint, kAxisPoints>& Curve() const { return m_ptCurve; }
    const std::array<BandPointF, kAxisPoints>& CurveF() const { return m_ptCurveF; }

private:
    std::vector<CFilter> m_bands;
    int m_nPlotW = 0;
    int m_nPlotH = 0;
    std::array<BandPoint, kAxisPoints> m_ptCurve{};
    std::array<BandPointF, kAxisPoints> m_ptCurveF{};
};
