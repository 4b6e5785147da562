// The equalizers on the form: the graph's band notifications, the
// equalizer reset of the selected output, and the music input's filter
// kinds for the processor's variant.
#include "CFStatic.h"
#include "CrossoverPanel.h"
#include "DataDefine.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "OutputDlg.h"
#include "Processor.h"
#include "QM7100View.h"

namespace {
constexpr int kBandHighPass = 31;
constexpr int kBandLowPass = 32;
}  // namespace

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

void CQM7100View::OnGraphBand(int nBand, int nSource)
{
    // A notification still on its way from a channel selected before is
    // not this channel's edit.
    if (m_nCurChannel < 0 || nSource != CFStatic::kSourceOutput + m_nCurChannel)
        return;
    if (nBand == kBandHighPass || nBand == kBandLowPass)
        m_pCrossover->FollowGraph(nBand == kBandHighPass);
    else if (nBand >= 0 && nBand < kBandHighPass)
        m_pPage->BandEdited(nBand);
    RedrawAll();
    m_processor.NoteEdit();
}

void CQM7100View::AfterEdit()
{
    NoteEdit();
}

void CQM7100View::NoteEdit()
{
    m_processor.NoteEdit();
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
    m_processor.NoteEdit();
}
