// The strip's side of channel linking: pair and link-all buttons, joining a
// channel to a group, dissolving links.
#include "All_Link_Dlg.h"
#include "CH_Link_Dlg.h"
#include "ChannelStrip.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "Processor.h"
#include "QM7100View.h"
#include "XPButton.h"

bool CChannelStrip::IsPairLinked(int nPair) const
{
    return m_state.m_nLinkGroup[nPair * 2] == m_state.m_nLinkGroup[nPair * 2 + 1];
}

bool CChannelStrip::IsLinkAll() const
{
    return m_pLinkAll->IsPressed();
}

bool CChannelStrip::ClosesProgress(int nChannel) const
{
    return (nChannel % 2 == 1 && m_pPair[nChannel / 2]->IsPressed()) || (nChannel == kOutputs - 1 && IsLinkAll());
}

void CChannelStrip::ResetLinks()
{
    for (int i = 0; i < kOutputs; ++i) {
        m_state.SetLinkGroup(i, i);
        if (i != m_form.CurrentChannel())
            m_pTag[i]->SetPressed(false);
    }
    for (CXPButton* pPair : m_pPair)
        pPair->SetPressed(false);
    m_pLinkAll->SetPressed(false);
}

void CChannelStrip::OnPairLink(int nPair)
{
    if (IsLinkAll())
        return;
    const int a = nPair * 2;
    const int b = a + 1;
    if (!IsPairLinked(nPair)) {
        CCH_Link_Dlg dlg(nPair, &m_form);
        if (dlg.exec() != QDialog::Accepted)
            return;
        if (dlg.Choice() == 0)
            JoinGroup(b, a);
        else
            JoinGroup(a, b);
        ShowPairLinked(nPair);
        return;
    }
    m_state.SetLinkGroup(a, a);
    m_state.SetLinkGroup(b, b);
    m_pPair[nPair]->SetPressed(false);
    for (int k : {a, b})
        if (k != m_form.CurrentChannel())
            m_pTag[k]->SetPressed(false);
}

void CChannelStrip::ShowPairLinked(int nPair)
{
    m_pPair[nPair]->SetPressed(true);
    if (m_form.CurrentChannel() / 2 == nPair) {
        m_pTag[nPair * 2]->SetPressed(true);
        m_pTag[nPair * 2 + 1]->SetPressed(true);
    }
}

void CChannelStrip::OnLinkAll()
{
    if (IsLinkAll()) {
        ResetLinks();
        return;
    }
    CAll_Link_Dlg dlg(&m_form);
    if (dlg.exec() == QDialog::Accepted)
        LinkAllFrom(dlg.Choice());
}

void CChannelStrip::LinkAllFrom(int nSource)
{
    for (int k = 0; k < kOutputs; ++k) {
        m_state.SetLinkGroup(k, nSource);
        if (k != nSource)
            m_data.Output(k).CopyFrom(m_data.Output(nSource));
        AfterRecordCopied(k);
    }
    m_form.RedrawAll();
    for (CXPButton* pPair : m_pPair)
        pPair->SetPressed(true);
    m_pLinkAll->SetPressed(true);
    for (CXPButton* pTag : m_pTag)
        pTag->SetPressed(true);
}

void CChannelStrip::JoinGroup(int nChannel, int nGroup)
{
    if (m_state.m_nLinkGroup[nChannel] == nGroup)
        return;
    m_state.SetLinkGroup(nChannel, nGroup);
    CKTV_OutData& out = m_data.Output(nChannel);
    for (int i = 0; i < kOutputs; ++i)
        if (i != nChannel && m_state.m_nLinkGroup[i] == nGroup)
            out.CopyFrom(m_data.Output(i));
    AfterRecordCopied(nChannel);
    m_form.RedrawAll();
}

void CChannelStrip::AfterRecordCopied(int nChannel)
{
    m_processor.Session().WriteOutputBlock(nChannel);
    if (nChannel == m_form.CurrentChannel())
        m_form.RefreshSelectedOutput();
    ShowPolarity(nChannel);
    ShowLevel(nChannel);
    m_processor.NoteEdit();
}

void CChannelStrip::ShowLinks()
{
    bool bAll = true;
    for (int k = 1; k < kOutputs; ++k)
        bAll = bAll && m_state.m_nLinkGroup[k] == m_state.m_nLinkGroup[0];
    m_pLinkAll->SetPressed(bAll);
    for (int p = 0; p < 3; ++p)
        m_pPair[p]->SetPressed(IsPairLinked(p));
    const int nCurrent = m_form.CurrentChannel();
    for (int k = 0; k < kOutputs; ++k)
        m_pTag[k]->SetPressed(nCurrent >= 0 && m_state.m_nLinkGroup[k] == m_state.m_nLinkGroup[nCurrent]);
}
