// One equalizer band or crossover filter: its values, the octave stepping of
// the frequency that is sent, its change mark, its response at the axis
// points and its layout on the response graph.
//
// Threads: setters run on the user-interface thread; StepFrequency and the
// change mark are also used by the change scanner on the link thread. Every
// field the scanner reads or writes is stored under its processor's model lock; the response
// and the layout are touched by the user-interface thread only.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "BandMath.h"
#include "DataDefine.h"
#include "Geometry.h"

class CProcessorState;

enum FilterKind : int { kPeaking = 0, kLowShelf = 1, kHighShelf = 2, kHighPass = 3, kLowPass = 4 };
enum FilterType : int { kLinkwitzRiley = 0, kBessel = 1, kButterworth = 2 };

constexpr int kAreaPoints = kAxisPoints + 2;

class CFilter {
public:
    CFilter();

    // ---- values -------------------------------------------------------------
    int GetKind() const { return m_nKind; }
    int GetFrequency() const { return m_nFreq; }
    int GetSentFrequency() const;
    double GetGain() const { return m_dGain; }
    int GetGainCode() const { return GainToCode(m_dGain); }
    double GetBandwidth() const { return m_dBandwidth; }
    int GetBandwidthCode() const { return BandwidthToCode(m_dBandwidth); }
    int GetFilterType() const { return m_nFilterType; }
    int GetSlope() const { return m_nSlope; }
    int GetOwnBypass() const { return m_bBypass; }
    bool IsEffectivelyBypassed() const { return m_bAllBypass ? true : m_bBypass != 0; }
    int GetChangeMark() const;
    int GetRangeCode() const { return m_nRangeCode; }
    int GetGroupIndex() const { return m_nGroup; }
    bool IsEqBand() const { return m_bEqBand != 0; }
    bool IsTwoSlope() const { return m_bTwoSlope != 0; }
    bool IsGraphic() const { return m_bGraphic != 0; }

    // ---- setters (each recomputes the response) -------------------------------
    // bUser: a change made by the user, which is stepped an octave at a time
    // and marked for sending; without it frequency and sent frequency move
    // together and nothing is marked.
    void SetFrequency(int nFreq, bool bUser);
    void SetGainCode(int nCode);
    void SetBandwidthCode(int nCode);
    void SetSlope(int nSlope, bool bUser);
    void SetFilterType(int nType, bool bUser);
    void SetKind(int nKind);
    // 0 peaking; 1, 2 low shelf 6/12 dB/oct; 3, 4 high shelf 6/12 dB/oct.
    void SetShelfMode(int nMode);
    void SetBypass(int nRequest);
    void SetWholeSetBypass(bool bOn);
    // Moves the sent frequency one octave towards the target; see the .cpp.
    void StepFrequency(int nMark);
    // The processor has been given the target whole (a block write): the
    // sent frequency catches up without stepping.
    void SettleFrequency();
    void ResetBand(int nFreq);
    void CopyValues(const CFilter& other);
    // Takes a band's parameter group as loaded from an image: the values the
    // gain, bandwidth, slope and kind setters would store, with a single
    // recompute. The image is what the processor (or a file) holds, so the
    // sent frequency is the loaded one and nothing is marked.
    void LoadGroup(int nGainCode, int nBandwidthCode, int nSlope, int nKind, int nFreq);
    // Takes a crossover filter's part of the crossover group (no mark).
    void LoadCrossover(int nFreq, int nType, int nSlope);
    void SetChangeMark(int nMark);

    // Every value the user can change, in codes, so that a step of the edit
    // history keeps a bypassed band's gain and the set bypass it returns to.
    struct Values {
        int nKind, nFreq, nGainCode, nBypass, nAllBypass, nSavedAllBypass, nBandwidthCode, nFilterType, nSlope;
    };
    static constexpr int kValueCount = 9;
    Values GetValues() const;
    // Takes the values as one user edit: marked, and a frequency change
    // stepped an octave at a time as any edit's.
    void RestoreValues(const Values& values);

    // ---- construction of a set ------------------------------------------------
    // The processor whose model the band belongs to. A filter outside any
    // (a test's, a copy for a curve) is not shared: it takes no lock and is
    // never marked for sending.
    void AttachState(CProcessorState* pState) { m_pState = pState; }
    void SetGroupIndex(int nGroup) { m_nGroup = nGroup; }
    void SetRangeCode(int nCode) { m_nRangeCode = nCode; }
    void SetEqBand(bool bEqBand) { m_bEqBand = bEqBand ? 1 : 0; }
    void SetTwoSlope(bool bTwoSlope) { m_bTwoSlope = bTwoSlope ? 1 : 0; }
    void SetGraphic(bool bGraphic) { m_bGraphic = bGraphic ? 1 : 0; }
    // A fader that follows the band: a crossover filter's frequency, or an
    // equalizer band's gain step while it is dragged on the graph (or none).
    void AttachFader(std::function<void(int)> onFrequency) { m_onFrequency = std::move(onFrequency); }
    // The graph hands an equalizer band's new gain step to its fader.
    void GiveFader(int nGainCode) const
    {
        if (m_bEqBand && m_onFrequency)
            m_onFrequency(nGainCode);
    }

    // ---- graph ----------------------------------------------------------------
    void SetPlotRect(int nWidth, int nHeight);
    void Recompute();
    // The digital sections the response is computed from (none when flat);
    // phase and group delay come from the same sections.
    SectionList Sections() const;
    void Layout();            // the layout that fits the band (equalizer band or crossover)
    void LayoutEqBand();
    void LayoutHandles();
    void LayoutCrossover();
    int PlotWidth() const { return m_nPlotW; }
    int PlotHeight() const { return m_nPlotH; }
    const std::array<double, kAxisPoints>& Response() const { return m_dResponse; }
    const std::array<BandPoint, kAreaPoints>& AreaPolygon() const { return m_ptArea; }
    const BandRect& MarkerRect() const { return m_rcMarker; }
    const BandRect& LeftHandleRect() const { return m_rcLeftHandle; }
    const BandRect& RightHandleRect() const { return m_rcRightHandle; }
    const BandRect& TextRect() const { return m_rcText; }
    const std::string& Label() const { return m_strLabel; }

    // ---- texts ----------------------------------------------------------------
    std::string FrequencyText() const;
    std::string GainText() const;
    std::string BandwidthText() const;
    std::string QText() const;
    std::string FilterTypeText() const;
    std::string ShelfSlopeText() const;
    std::string CrossoverSlopeText() const;
    std::string KindText() const;
    std::string Describe();

    // Drag state of the response graph: the grab point and six flags.
    BandPoint m_ptGrab;
    std::array<int, 6> m_nDragFlags{};

private:
    bool IsOnline() const;
    void StoreUserFrequency(int nFreq);
    // Stores a value the response depends on, marks it when asked, recomputes.
    void StoreCurveField(int& nField, int nValue, bool bMark);
    void MarkChanged();
    void UpdateAreaRows();

    std::array<double, kAxisPoints> m_dResponse{};
    std::array<BandPoint, kAreaPoints> m_ptArea{};
    BandRect m_rcMarker, m_rcLeftHandle, m_rcRightHandle, m_rcText;
    std::string m_strLabel;
    std::function<void(int)> m_onFrequency;

    int m_nKind = kPeaking;
    int m_nFreq = 1000;
    int m_nSentFreq = 20;
    int m_nRangeCode = 0;
    double m_dGain = 0.0;
    int m_bBypass = 1;
    int m_bAllBypass = 0;
    int m_bSavedAllBypass = 0;
    double m_dBandwidth = 0.2;
    int m_nFilterType = kLinkwitzRiley;
    int m_nSlope = 2;
    int m_nGroup = 0;
    int m_nPlotW = 0;
    int m_nPlotH = 0;
    int m_bEqBand = 1;
    int m_nChangeMark = 0;
    int m_bTwoSlope = 0;
    int m_bGraphic = 1;
    CProcessorState* m_pState = nullptr;
};
