#include "ChannelStrip.h"

#include <algorithm>

#include "KTV_Data.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "Processor.h"
#include "QM7100View.h"
#include "SkinFader.h"
#include "SkinIds.h"
#include "XPButton.h"

namespace {
constexpr int kMaxLevel = 60;   // the level spins' and faders' range
constexpr int kMaxVolume = 70;  // the music volume's
constexpr int kChannelPitch = 120;

int ShownLevel(const CKTV_OutData& out)
{
    // GetLevel() already reads 0 for a level flagged zero.
    return std::clamp(out.GetLevel(), 0, kMaxLevel);
}
}  // namespace

CChannelStrip::CChannelStrip(CProcessor& processor, CQM7100View& form)
    : QObject(&form), m_processor(processor), m_data(processor.Data()), m_state(processor.State()), m_form(form)
{
}

// ---- construction -------------------------------------------------------------------------

void CChannelStrip::CreateControls(int nX, int nY)
{
    m_form.AddGroupBox(kTxtChannels, QRect(nX, nY, 736, 202));
    for (int i = 0; i < kOutputs; ++i)
        CreateChannel(i, nX + 8 + i * kChannelPitch, nY + 18);
    for (int p = 0; p < 3; ++p) {
        m_pPair[p] = m_form.MakeButton(2247 + p, kSkinPairLink + p * kSkinButtonStride,
                                       nX + 98 + p * 2 * kChannelPitch, nY + 178);
        connect(m_pPair[p], &CXPButton::clicked, this, [this, p] { OnPairLink(p); });
    }
    m_pLinkAll = m_form.MakeButton(2250, kSkinLinkAll, nX + 642, nY + 178);
    connect(m_pLinkAll, &CXPButton::clicked, this, [this] { OnLinkAll(); });
    CreateVolume(nX + 742, nY);
}

void CChannelStrip::CreateChannel(int i, int nX, int nY)
{
    m_pSelect[i] = m_form.MakeButton(8900 + i, kSkinChannelSelect + i * kSkinButtonStride, nX, nY);
    m_pTag[i] = m_form.MakeButton(6703 + i, kSkinChannelTag + i * kSkinButtonStride, nX + 70, nY + 3);
    m_pLevelFader[i] = new CSkinFader(8650 + i, &m_form);
    m_pLevelFader[i]->move(nX, nY + 30);
    m_pLevelEdit[i] = new CNumEdit(8630 + i, &m_form);
    m_pLevelEdit[i]->setGeometry(nX + 42, nY + 30, 52, 22);
    m_pLevelSpin[i] = new CNumSpin(8640 + i, &m_form);
    m_pLevelSpin[i]->hide();
    m_pLevelSpin[i]->SetBuddy(m_pLevelEdit[i]);
    m_pMute[i] = m_form.MakeButton(6052 + i, kSkinMute, nX + 42, nY + 56);
    m_pPolarity[i] = m_form.MakeButton(1944 + i, kSkinPolarity, nX + 42, nY + 82);
    m_pLine[i] = m_form.MakeButton(2103 + i, kSkinLine, nX + 42, nY + 108);
    ConnectChannel(i);
}

void CChannelStrip::CreateVolume(int nX, int nY)
{
    m_form.AddGroupBox(kTxtMusicVolume, QRect(nX - 4, nY, 98, 202));
    m_pVolumeFader = new CSkinFader(2227, &m_form);
    m_pVolumeFader->move(nX + 18, nY + 18);
    m_pVolumeEdit = new CNumEdit(2225, &m_form);
    m_pVolumeEdit->setGeometry(nX + 18, nY + 176, 52, 22);
    m_pVolumeSpin = new CNumSpin(2226, &m_form);
    m_pVolumeSpin->hide();
    m_pVolumeSpin->SetBuddy(m_pVolumeEdit);
    connect(m_pVolumeEdit, &CNumEdit::Notify, this, [this] { OnVolumeEdit(); });
    connect(m_pVolumeSpin, &CNumSpin::Notify, this, [this] { OnVolumeEdit(); });
    for (auto signal : {&CSkinFader::Moving, &CSkinFader::Moved})
        connect(m_pVolumeFader, signal, this, [this](int nId, int) { OnFaderMoved(nId); }, Qt::QueuedConnection);
}

void CChannelStrip::ConnectChannel(int i)
{
    auto select = [this, i] {
        if (i != m_form.CurrentChannel())
            m_form.SelectChannel(i);
    };
    connect(m_pSelect[i], &CXPButton::clicked, this, select);
    connect(m_pTag[i], &CXPButton::clicked, this, select);
    connect(m_pMute[i], &CXPButton::clicked, this, [this, i] { OnMute(i); });
    connect(m_pPolarity[i], &CXPButton::clicked, this, [this, i] { OnPolarity(i); });
    connect(m_pLine[i], &CXPButton::clicked, this, [this, i] { OnLine(i); });
    connect(m_pLevelEdit[i], &CNumEdit::Notify, this, [this, i] { OnLevelEdit(i); });
    connect(m_pLevelSpin[i], &CNumSpin::Notify, this, [this, i] { OnLevelEdit(i); });
    for (auto signal : {&CSkinFader::Moving, &CSkinFader::Moved})
        connect(m_pLevelFader[i], signal, this, [this](int nId, int) { OnFaderMoved(nId); }, Qt::QueuedConnection);
}

void CChannelStrip::SetUpControls()
{
    for (int i = 0; i < kOutputs; ++i) {
        CQM7100View::SetLevelField(m_pLevelEdit[i]);
        m_pLevelSpin[i]->SetRange(0, kMaxLevel);
        m_pLevelFader[i]->SetBitmapChannel(kSkinLevelChannel, kSkinLevelChannelActive, false);
        m_pLevelFader[i]->SetBitmapThumb(kSkinLevelThumb, kSkinLevelThumbActive, true);
        m_pLevelFader[i]->SetRange(0, kMaxLevel);
        m_pLevelFader[i]->SetMargin(21, 1, 1, 2);
    }
    CQM7100View::SetLevelField(m_pVolumeEdit);
    m_pVolumeSpin->SetRange(0, kMaxVolume);
    m_pVolumeFader->SetBitmapChannel(kSkinVolumeChannel, kSkinVolumeChannel, false);
    m_pVolumeFader->SetBitmapThumb(kSkinVolumeThumb, kSkinVolumeThumb, true);
    m_pVolumeFader->SetRange(0, kMaxVolume);
    m_pVolumeFader->SetMargin(30, 1, 1, 2);
}

// ---- showing the model ------------------------------------------------------------------------

void CChannelStrip::Refresh(bool bKeepLinks)
{
    ShowVolume();
    for (int i = 0; i < kOutputs; ++i) {
        ShowMute(i);
        m_pLine[i]->SetPressed(m_data.Output(i).IsCurveVisible() != 0);
        ShowPolarity(i);
        ShowLevel(i);
    }
    const int nCurrent = m_form.CurrentChannel();
    if (nCurrent >= 0)
        m_pLine[nCurrent]->SetPressed(true);
    if (bKeepLinks)
        ShowLinks();
    else
        ResetLinks();
    if (nCurrent >= 0)
        m_pTag[nCurrent]->SetPressed(true);
}

void CChannelStrip::ShowSelection(int nOld, int nNew)
{
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
    m_pSelect[nNew]->SetPressed(true);
    m_pLine[nNew]->SetPressed(true);
    if (!bLinkAll) {
        m_pTag[nNew]->SetPressed(true);
        if (IsPairLinked(nNew / 2))
            m_pTag[nNew ^ 1]->SetPressed(true);
    }
}

void CChannelStrip::ShowLevel(int i)
{
    const int nLevel = ShownLevel(m_data.Output(i));
    m_pLevelSpin[i]->SetPos(nLevel);
    m_pLevelFader[i]->SetPosInverted(nLevel);
}

void CChannelStrip::ShowVolume()
{
    CMusic_InData& music = m_data.Music();
    const int nVolume = music.GetVolumeOff() ? 0 : std::clamp(music.GetVolume(), 0, kMaxVolume);
    m_pVolumeSpin->SetPos(nVolume);
    m_pVolumeFader->SetPosInverted(nVolume);
}

void CChannelStrip::ShowMute(int i)
{
    m_pMute[i]->SetPressed(m_data.Output(i).GetMute() != 0);
}

void CChannelStrip::ShowPolarity(int i)
{
    m_pPolarity[i]->SetPressed(m_data.Output(i).GetPolarity() != 0);
}

void CChannelStrip::ShowLinkedLevels(int i)
{
    for (int k : m_state.LinkedOutputs(i))
        ShowLevel(k);
}

void CChannelStrip::ShowLinkedPolarity(int i)
{
    for (int k : m_state.LinkedOutputs(i))
        ShowPolarity(k);
}

// ---- edits ------------------------------------------------------------------------------------

void CChannelStrip::OnMute(int i)
{
    CKTV_OutData& out = m_data.Output(i);
    out.SetMute(out.GetMute() ? 0 : 1);
    ShowMute(i);
    m_processor.NoteEdit();
}

void CChannelStrip::OnPolarity(int i)
{
    CKTV_OutData& out = m_data.Output(i);
    out.SetPolarity(out.GetPolarity() ? 0 : 1);  // the record shares it with its link group
    ShowPolarity(i);
    ShowLinkedPolarity(i);
    m_processor.NoteEdit();
}

void CChannelStrip::OnLevelEdit(int i)
{
    const int nLevel = m_pLevelSpin[i]->GetPos();
    m_data.Output(i).SetLevel(nLevel);
    m_pLevelFader[i]->SetPosInverted(nLevel);
    ShowLinkedLevels(i);
    m_processor.NoteEdit();
}

void CChannelStrip::OnLevelFader(int i)
{
    const int nLevel = m_pLevelFader[i]->GetPosInverted();
    m_data.Output(i).SetLevel(nLevel);
    m_pLevelSpin[i]->SetPos(nLevel);
    ShowLinkedLevels(i);
    m_processor.NoteEdit();
}

void CChannelStrip::OnFaderMoved(int nId)
{
    for (int i = 0; i < kOutputs; ++i)
        if (m_pLevelFader[i]->Id() == nId)
            OnLevelFader(i);
    if (m_pVolumeFader->Id() == nId)
        OnVolumeFader();
}

void CChannelStrip::OnLine(int i)
{
    // The selected channel's curve is always drawn.
    if (i == m_form.CurrentChannel())
        return;
    CKTV_OutData& out = m_data.Output(i);
    out.SetCurveVisible(out.IsCurveVisible() ? 0 : 1);
    m_pLine[i]->SetPressed(out.IsCurveVisible() != 0);
    m_form.RedrawAll();
}

void CChannelStrip::OnVolumeEdit()
{
    const int nVolume = m_pVolumeSpin->GetPos();
    m_data.Music().SetVolume(nVolume);
    m_pVolumeFader->SetPosInverted(nVolume);
    m_processor.NoteEdit();
}

void CChannelStrip::OnVolumeFader()
{
    const int nVolume = m_pVolumeFader->GetPosInverted();
    m_data.Music().SetVolume(nVolume);
    m_pVolumeSpin->SetPos(nVolume);
    m_processor.NoteEdit();
}
