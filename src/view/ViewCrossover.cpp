// The crossover of the selected output (high-pass never above low-pass),
// the equalizer reset, and the graph's band notifications.
#include <QComboBox>
#include <QMessageBox>
#include <QSignalBlocker>

#include "CFStatic.h"
#include "DataDefine.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "QM7100View.h"
#include "Strings.h"

namespace {
constexpr int kBandHighPass = 31;
constexpr int kBandLowPass = 32;
const char* const kSlopes[] = {"12dB/Oct", "18dB/Oct", "24dB/Oct", "30dB/Oct",
                               "36dB/Oct", "42dB/Oct", "48dB/Oct", "OFF"};
constexpr int kSlopeCount = static_cast<int>(std::size(kSlopes));

bool OnShortList(int nSlope)
{
    return nSlope == 0 || nSlope == 2;  // variant 2 offers 12 and 24 dB/Oct only
}

CFilter& Crossover(CKTV_OutData& out, bool bHighPass)
{
    return bHighPass ? out.EQ().HighPass() : out.EQ().LowPass();
}

// Each item carries the slope it stands for, since the short list skips
// some. A slope the list lacks (a processor set to 18 dB/Oct seen through
// the short list) is shown as an extra item rather than a blank box, so
// that choosing it writes back the same slope.
void FillSlopes(QComboBox* pBox, bool bShort, int nShownSlope)
{
    const QSignalBlocker block(pBox);
    pBox->clear();
    for (int s = 0; s < kSlopeCount; ++s) {
        if (!bShort || OnShortList(s) || s == nShownSlope)
            pBox->addItem(kSlopes[s], s);
    }
    pBox->setCurrentIndex(pBox->findData(nShownSlope));
}

void ShowCrossover(const CrossoverControls& controls, const CFilter& filter, bool bShortSlopes)
{
    const QSignalBlocker typeBlock(controls.pType);
    controls.pType->setCurrentIndex(filter.GetFilterType());
    FillSlopes(controls.pSlope, bShortSlopes, filter.GetSlope());
    controls.pSpin->SetPos(filter.GetFrequency());
}
}  // namespace

void CQM7100View::ApplySlopeList()
{
    if (State().m_nDeviceType != 1 && State().m_nDeviceType != 2)
        return;
    m_bShortSlopes = State().m_nDeviceType == 2;
    for (QComboBox* pBox : {m_highPass.pSlope, m_lowPass.pSlope})
        FillSlopes(pBox, m_bShortSlopes, pBox->currentData().isValid() ? pBox->currentData().toInt() : -1);
}

// Filter 6 of the music input is a peaking band on variant 1 and a high
// shelf on variant 2; filter 8 is variant 1's high shelf.
void CQM7100View::ApplyMusicFilterKinds()
{
    CKTVEQ& eq = m_data.Music().EQ();
    if (State().m_nDeviceType == 1) {
        eq[6].SetKind(kPeaking);
        eq[8].SetKind(kHighShelf);
    } else if (State().m_nDeviceType == 2) {
        eq[6].SetKind(kHighShelf);
    }
}

void CQM7100View::RefreshCrossover()
{
    if (m_nCurChannel < 0)
        return;
    CKTV_OutData& out = m_data.Output(m_nCurChannel);
    ShowCrossover(m_highPass, out.EQ().HighPass(), m_bShortSlopes);
    ShowCrossover(m_lowPass, out.EQ().LowPass(), m_bShortSlopes);
}

void CQM7100View::OnHighPassFreq()
{
    int nFreq = m_highPass.pSpin->GetPos();
    const int nLowPass = m_lowPass.pSpin->GetPos();
    if (nFreq > nLowPass) {
        nFreq = nLowPass;
        m_highPass.pSpin->SetPos(nFreq);
    }
    m_data.Output(m_nCurChannel).EQ().HighPass().SetFrequency(nFreq, true);
    CopyCrossoverToLinked(true);
    m_pGraph->Redraw(kBandHighPass);
}

void CQM7100View::OnLowPassFreq()
{
    int nFreq = m_lowPass.pSpin->GetPos();
    const int nHighPass = m_highPass.pSpin->GetPos();
    if (nFreq < nHighPass) {
        nFreq = nHighPass;
        m_lowPass.pSpin->SetPos(nFreq);
    }
    m_data.Output(m_nCurChannel).EQ().LowPass().SetFrequency(nFreq, true);
    CopyCrossoverToLinked(false);
    m_pGraph->Redraw(kBandLowPass);
}

void CQM7100View::CopyCrossoverToLinked(bool bHighPass)
{
    const CFilter& source = Crossover(m_data.Output(m_nCurChannel), bHighPass);
    const int nFreq = source.GetFrequency();
    for (int k : State().LinkedOutputs(m_nCurChannel))
        Crossover(m_data.Output(k), bHighPass).SetFrequency(nFreq, true);
}

void CQM7100View::EditCrossover(bool bHighPass, const std::function<void(CFilter&)>& edit)
{
    edit(Crossover(m_data.Output(m_nCurChannel), bHighPass));
    for (int k : State().LinkedOutputs(m_nCurChannel))
        edit(Crossover(m_data.Output(k), bHighPass));
}

void CQM7100View::OnCrossoverType(bool bHighPass)
{
    const int nType = (bHighPass ? m_highPass : m_lowPass).pType->currentIndex();
    if (nType < 0)
        return;
    EditCrossover(bHighPass, [nType](CFilter& filter) { filter.SetFilterType(nType, true); });
    m_pGraph->Redraw(bHighPass ? kBandHighPass : kBandLowPass);
}

void CQM7100View::OnCrossoverSlope(bool bHighPass)
{
    const QVariant slope = (bHighPass ? m_highPass : m_lowPass).pSlope->currentData();
    if (!slope.isValid())
        return;
    const int nSlope = slope.toInt();
    EditCrossover(bHighPass, [nSlope](CFilter& filter) { filter.SetSlope(nSlope, true); });
    m_pGraph->Redraw(bHighPass ? kBandHighPass : kBandLowPass);
}

void CQM7100View::OnGraphBand(int nBand, int nSource)
{
    // A notification still on its way from a channel selected before is
    // not this channel's edit.
    if (m_nCurChannel < 0 || nSource != CFStatic::kSourceOutput + m_nCurChannel)
        return;
    if (nBand == kBandHighPass || nBand == kBandLowPass) {
        const bool bHighPass = nBand == kBandHighPass;
        CrossoverControls& controls = bHighPass ? m_highPass : m_lowPass;
        controls.pSpin->SetPos(Crossover(m_data.Output(m_nCurChannel), bHighPass).GetFrequency());
        CopyCrossoverToLinked(bHighPass);
    } else if (nBand >= 0 && nBand < kBandHighPass) {
        m_pPage->BandEdited(nBand);
    }
    RedrawAll();
}

void CQM7100View::OnReset()
{
    if (QMessageBox::question(this, Tr(kTxtAppTitle), Tr(kTxtResetEqQuestion),
                              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    ResetEqualizers();
}

void CQM7100View::ResetEqualizers()
{
    if (m_nCurChannel < 0)
        return;
    auto reset = [this](int k) {
        m_data.Output(k).ResetEqBands();
        m_pSession->WriteOutputBlock(k);
    };
    reset(m_nCurChannel);
    for (int k : State().LinkedOutputs(m_nCurChannel))
        reset(k);
    m_pPage->RefreshPage();
    RedrawAll();
}
