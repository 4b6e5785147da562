// Band handlers of the output page: frequency, Q and gain fields with their
// spins, the faders, the bypass buttons and band drags on the graph. Each
// edit goes to the band of the selected output and to the same band of
// every output linked with it.
#include "FontStatic.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "SkinFader.h"
#include "XPButton.h"

namespace {

// Band index of a field or its spin, or −1.
int BandOf(int nId, int nEditBase, int nSpinBase)
{
    for (const int nBase : {nEditBase, nSpinBase})
        if (nId >= nBase && nId < nBase + COutputDlg::kBands)
            return nId - nBase;
    return -1;
}

}  // namespace

template <typename Fn>
void COutputDlg::ForLinkedBands(int i, Fn fn)
{
    for (int k : m_pData->State().LinkedOutputs(m_nCurOutput))
        if (m_pData->State().m_pLinkOutput[k])
            fn(m_pData->State().m_pLinkOutput[k]->EQ()[i]);
}

void COutputDlg::OnFrequency(int nId)
{
    const int i = BandOf(nId, kIdFreqEdit, kIdFreqSpin);
    if (!m_pData || i < 0)
        return;
    m_nCurBand = i;
    m_nFrequency = m_band[static_cast<size_t>(i)].pSpin[kRowFreq]->GetPos();
    Band(i).SetFrequency(m_nFrequency, true);
    ForLinkedBands(i, [this](CFilter& band) { band.SetFrequency(m_nFrequency, true); });
    Redraw(i);
    MarkLabel(i);
    Highlight(kRowFreq, i);
}

void COutputDlg::OnQ(int nId)
{
    const int i = BandOf(nId, kIdQEdit, kIdQSpin);
    if (!m_pData || i < 0)
        return;
    m_nCurBand = i;
    m_nBandwidthCode = m_band[static_cast<size_t>(i)].pSpin[kRowQ]->GetPos();
    Band(i).SetBandwidthCode(m_nBandwidthCode);
    ForLinkedBands(i, [this](CFilter& band) { band.SetBandwidthCode(m_nBandwidthCode); });
    Redraw(i);
    MarkLabel(i);
    Highlight(kRowQ, i);
}

// A typed gain leaves the red label where it was: only the fader and the
// bypass button move the mark.
void COutputDlg::OnGain(int nId)
{
    const int i = BandOf(nId, kIdGainEdit, kIdGainSpin);
    if (!m_pData || i < 0)
        return;
    m_nGainCode = m_band[static_cast<size_t>(i)].pSpin[kRowGain]->GetPos();
    m_band[static_cast<size_t>(i)].pFader->SetPosInverted(m_nGainCode);
    GainEdited(i);
    Highlight(kRowGain, i);
}

void COutputDlg::OnFader(int nId, int nPos, bool bMoving)
{
    const int i = nId - kIdFader;
    if (!m_pData || i < 0 || i >= kBands || IsFocusReport(i, nPos, bMoving))
        return;
    BandControls& band = m_band[static_cast<size_t>(i)];
    m_nGainCode = band.pFader->GetPosInverted();
    band.pSpin[kRowGain]->SetPos(m_nGainCode);
    GainEdited(i);
    MarkLabel(i);
    Highlight(kRowGain, i);
}

// A fader reports its position when it gains the focus. Taking that as an
// edit would store 0.0 dB over the kept gain of a bypassed band (its fader
// shows the centre), so the report of the focused fader at the position it
// had then is dropped; its next report is an edit again.
bool COutputDlg::IsFocusReport(int i, int nPos, bool bMoving)
{
    if (i != m_nFocusFader)
        return false;
    m_nFocusFader = -1;
    return bMoving && nPos == m_nFocusPos;
}

void COutputDlg::GainEdited(int i)
{
    m_nCurBand = i;
    CFilter& filter = Band(i);
    filter.SetGainCode(m_nGainCode);
    m_bBandBypass = filter.IsEffectivelyBypassed();
    ShowBypass(i, m_bBandBypass);
    ForLinkedBands(i, [this](CFilter& band) { band.SetGainCode(m_nGainCode); });
    ShowWholeSet();
    Redraw(i);
}

void COutputDlg::OnBypass(int i)
{
    if (!m_pData || i < 0 || i >= kBands)
        return;
    m_nCurBand = i;
    BandControls& band = m_band[static_cast<size_t>(i)];
    CFilter& filter = Band(i);
    filter.SetBypass(band.pBypass->IsPressed() ? 0 : 1);
    // A band at exactly 0.0 dB refuses to leave the bypass: show what it is.
    m_bBandBypass = filter.IsEffectivelyBypassed();
    if (m_bBandBypass) {
        ShowBypass(i, true);
    } else {
        ShowGain(i, filter.GetGainCode());
        band.pBypass->SetPressed(false);
    }
    const int nState = m_bBandBypass ? 1 : 0;
    ForLinkedBands(i, [nState](CFilter& linked) { linked.SetBypass(nState); });
    ShowWholeSet();
    Redraw(i);
    MarkLabel(i);
    Highlight(kRowGain, i);
}

// The linked bands take the band's stored gain and then its bypass, so they
// keep the same gain behind the bypass as the band itself.
void COutputDlg::BandEdited(int nBand)
{
    if (!m_pData || nBand < 0 || nBand >= kBands)
        return;
    m_nCurBand = nBand;
    const CFilter& filter = Band(nBand);
    m_nFrequency = filter.GetFrequency();
    m_nBandwidthCode = filter.GetBandwidthCode();
    m_nGainCode = filter.GetGainCode();
    m_bBandBypass = filter.IsEffectivelyBypassed();
    LoadBand(nBand);
    ForLinkedBands(nBand, [this](CFilter& band) {
        band.SetFrequency(m_nFrequency, true);
        band.SetBandwidthCode(m_nBandwidthCode);
        band.SetGainCode(m_nGainCode);
        if (m_bBandBypass)
            band.SetBypass(1);
    });
    Redraw(-1);
    ShowWholeSet();
    MarkLabel(nBand);
    Highlight(kRowGain, nBand);
}

// The kept gain does not change: the band only shows 0.0 dB while bypassed.
void COutputDlg::ShowBypass(int i, bool bBypassed)
{
    m_band[static_cast<size_t>(i)].pBypass->SetPressed(bBypassed);
    if (bBypassed)
        ShowGain(i, kGainCodeZero);
}

void COutputDlg::ShowGain(int i, int nCode)
{
    BandControls& band = m_band[static_cast<size_t>(i)];
    band.pSpin[kRowGain]->SetPos(nCode);
    band.pFader->SetPosInverted(nCode);
}
