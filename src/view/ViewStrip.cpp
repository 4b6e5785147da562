// The strip of six outputs: selection, level, mute, polarity and curve
// visibility, and the music volume.
#include "CFStatic.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "QM7100View.h"
#include "SkinFader.h"
#include "XPButton.h"

namespace {
constexpr int kMaxLevel = 60;   // the level spins' and faders' range

int ShownLevel(const CKTV_OutData& out)
{
    // GetLevel() already reads 0 for a level flagged zero.
    return std::clamp(out.GetLevel(), 0, kMaxLevel);
}
}  // namespace

void CQM7100View::RedrawAll()
{
    m_pGraph->Redraw(-1);
}

void CQM7100View::RefreshStrip(bool bKeepLinks)
{
    CMusic_InData& music = m_data.Music();
    const int nVolume = music.GetVolumeOff() ? 0 : std::clamp(music.GetVolume(), 0, 70);
    m_pVolumeSpin->SetPos(nVolume);
    m_pVolumeFader->SetPosInverted(nVolume);
    for (int i = 0; i < kOutputs; ++i) {
        CKTV_OutData& out = m_data.Output(i);
        m_pMute[i]->SetPressed(out.GetMute() != 0);
        m_pLine[i]->SetPressed(out.IsCurveVisible() != 0);
        ShowPolarity(i);
        ShowLevel(i);
    }
    m_pPage->RefreshPage();
    if (m_nCurChannel >= 0)
        m_pLine[m_nCurChannel]->SetPressed(true);
    if (bKeepLinks)
        ShowLinks();
    else
        ResetLinks();
    if (m_nCurChannel >= 0)
        m_pTag[m_nCurChannel]->SetPressed(true);
    RefreshCrossover();
    RedrawAll();
}

void CQM7100View::SelectChannel(int nChannel)
{
    if ((State().m_nDeviceType != 1 && State().m_nDeviceType != 2) || nChannel < 0 || nChannel >= kOutputs)
        return;
    const int nOld = m_nCurChannel;
    const bool bLinkAll = IsLinkAll();
    if (nOld >= 0) {
        m_pSelect[nOld]->SetPressed(false);
        m_pLine[nOld]->SetPressed(m_data.Output(nOld).IsCurveVisible() != 0);
        if (!bLinkAll) {
            m_pTag[nOld]->SetPressed(false);
            if (IsPairLinked(nOld / 2)) {
                m_pTag[nOld / 2 * 2]->SetPressed(false);
                m_pTag[nOld / 2 * 2 + 1]->SetPressed(false);
            }
        }
    }
    m_nCurChannel = nChannel;
    State().m_nCurOutput = nChannel;
    m_pSelect[nChannel]->SetPressed(true);
    m_pLine[nChannel]->SetPressed(true);
    if (!bLinkAll) {
        m_pTag[nChannel]->SetPressed(true);
        if (IsPairLinked(nChannel / 2))
            m_pTag[nChannel ^ 1]->SetPressed(true);
    }
    m_pGraph->SelectOutputChannel(nChannel);
    m_pGraph->SetMode(CFStatic::kModeOutput);
    m_pPage->SetHost(this, m_pGraph, &m_data);
    m_pPage->RefreshPage();
    m_pPage->ShowPage(true);
    RefreshCrossover();
    RedrawAll();
}

void CQM7100View::ShowLevel(int i)
{
    const int nLevel = ShownLevel(m_data.Output(i));
    m_pLevelSpin[i]->SetPos(nLevel);
    m_pLevelFader[i]->SetPosInverted(nLevel);
}

void CQM7100View::ShowPolarity(int i)
{
    m_pPolarity[i]->SetPressed(m_data.Output(i).GetPolarity() != 0);
}

void CQM7100View::ShowLinkedLevels(int i)
{
    for (int k : State().LinkedOutputs(i))
        ShowLevel(k);
}

void CQM7100View::ShowLinkedPolarity(int i)
{
    for (int k : State().LinkedOutputs(i))
        ShowPolarity(k);
}

void CQM7100View::OnMute(int i)
{
    CKTV_OutData& out = m_data.Output(i);
    out.SetMute(out.GetMute() ? 0 : 1);
    m_pMute[i]->SetPressed(out.GetMute() != 0);
}

void CQM7100View::OnPolarity(int i)
{
    CKTV_OutData& out = m_data.Output(i);
    out.SetPolarity(out.GetPolarity() ? 0 : 1);  // the record shares it with its link group
    ShowPolarity(i);
    ShowLinkedPolarity(i);
}

void CQM7100View::OnLevelEdit(int i)
{
    const int nLevel = m_pLevelSpin[i]->GetPos();
    m_data.Output(i).SetLevel(nLevel);
    m_pLevelFader[i]->SetPosInverted(nLevel);
    ShowLinkedLevels(i);
}

void CQM7100View::OnLevelFader(int i)
{
    const int nLevel = m_pLevelFader[i]->GetPosInverted();
    m_data.Output(i).SetLevel(nLevel);
    m_pLevelSpin[i]->SetPos(nLevel);
    ShowLinkedLevels(i);
}

void CQM7100View::OnFaderMoved(int nId, int)
{
    for (int i = 0; i < kOutputs; ++i)
        if (m_pLevelFader[i]->Id() == nId)
            OnLevelFader(i);
    if (m_pVolumeFader->Id() == nId)
        OnVolumeFader();
}

void CQM7100View::OnLine(int i)
{
    // The selected channel's curve is always drawn.
    if (i == m_nCurChannel)
        return;
    CKTV_OutData& out = m_data.Output(i);
    out.SetCurveVisible(out.IsCurveVisible() ? 0 : 1);
    m_pLine[i]->SetPressed(out.IsCurveVisible() != 0);
    RedrawAll();
}

void CQM7100View::OnVolumeEdit()
{
    const int nVolume = m_pVolumeSpin->GetPos();
    m_data.Music().SetVolume(nVolume);
    m_pVolumeFader->SetPosInverted(nVolume);
}

void CQM7100View::OnVolumeFader()
{
    const int nVolume = m_pVolumeFader->GetPosInverted();
    m_data.Music().SetVolume(nVolume);
    m_pVolumeSpin->SetPos(nVolume);
}
