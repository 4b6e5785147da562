// The form's side of channel linking: pair and link-all buttons, joining a
// channel to a group, dissolving links.
#include "All_Link_Dlg.h"
#include "CH_Link_Dlg.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "QM7100View.h"
#include "SkinFader.h"
#include "XPButton.h"

bool CQM7100View::IsPairLinked(int nPair) const
{
    return State().m_nLinkGroup[nPair * 2] == State().m_nLinkGroup[nPair * 2 + 1];
}

bool CQM7100View::IsLinkAll() const
{
    return m_pLinkAll->IsPressed();
}

void CQM7100View::ResetLinks()
{
    for (int i = 0; i < kOutputs; ++i) {
        State().SetLinkGroup(i, i);
        if (i != m_nCurChannel)
            m_pTag[i]->SetPressed(false);
    }
    for (CXPButton* pPair : m_pPair)
        pPair->SetPressed(false);
    m_pLinkAll->SetPressed(false);
}

void CQM7100View::OnPairLink(int nPair)
{
    if (IsLinkAll())
        return;
    const int a = nPair * 2;
    const int b = a + 1;
    if (!IsPairLinked(nPair)) {
        CCH_Link_Dlg dlg(nPair, this);
        if (dlg.exec() != QDialog::Accepted)
            return;
        if (dlg.Choice() == 0)
            JoinGroup(b, a);
        else
            JoinGroup(a, b);
        ShowPairLinked(nPair);
        return;
    }
    State().SetLinkGroup(a, a);
    State().SetLinkGroup(b, b);
    m_pPair[nPair]->SetPressed(false);
    for (int k : {a, b})
        if (k != m_nCurChannel)
            m_pTag[k]->SetPressed(false);
}

void CQM7100View::ShowPairLinked(int nPair)
{
    m_pPair[nPair]->SetPressed(true);
    if (m_nCurChannel / 2 == nPair) {
        m_pTag[nPair * 2]->SetPressed(true);
        m_pTag[nPair * 2 + 1]->SetPressed(true);
    }
}

void CQM7100View::OnLinkAll()
{
    if (IsLinkAll()) {
        ResetLinks();
        return;
    }
    CAll_Link_Dlg dlg(this);
    if (dlg.exec() == QDialog::Accepted)
        LinkAllFrom(dlg.Choice());
}

void CQM7100View::LinkAllFrom(int nSource)
{
    for (int k = 0; k < kOutputs; ++k) {
        State().SetLinkGroup(k, nSource);
        if (k != nSource)
            m_data.Output(k).CopyFrom(m_data.Output(nSource));
        m_pSession->WriteOutputBlock(k);
        if (k == m_nCurChannel) {
            RefreshCrossover();
            m_pPage->RefreshPage();
        }
        RefreshChannelFromRecord(k);
    }
    RedrawAll();
    for (CXPButton* pPair : m_pPair)
        pPair->SetPressed(true);
    m_pLinkAll->SetPressed(true);
    for (CXPButton* pTag : m_pTag)
        pTag->SetPressed(true);
}

void CQM7100View::ResendOutputRecord(int nChannel)
{
    const bool bClosesProgress = (nChannel % 2 == 1 && m_pPair[nChannel / 2]->IsPressed()) ||
                                 (nChannel == kOutputs - 1 && IsLinkAll());
    m_pSession->ResendOutputRecord(nChannel, bClosesProgress);
    AfterLinkEvent();
}

void CQM7100View::JoinGroup(int nChannel, int nGroup)
{
    if (State().m_nLinkGroup[nChannel] == nGroup)
        return;
    State().SetLinkGroup(nChannel, nGroup);
    CKTV_OutData& out = m_data.Output(nChannel);
    for (int i = 0; i < kOutputs; ++i)
        if (i != nChannel && State().m_nLinkGroup[i] == nGroup)
            out.CopyFrom(m_data.Output(i));
    m_pSession->WriteOutputBlock(nChannel);
    if (nChannel == m_nCurChannel) {
        RefreshCrossover();
        m_pPage->RefreshPage();
    }
    RefreshChannelFromRecord(nChannel);
    RedrawAll();
}

void CQM7100View::ShowLinks()
{
    bool bAll = true;
    for (int k = 1; k < kOutputs; ++k)
        bAll = bAll && State().m_nLinkGroup[k] == State().m_nLinkGroup[0];
    m_pLinkAll->SetPressed(bAll);
    for (int p = 0; p < 3; ++p)
        m_pPair[p]->SetPressed(IsPairLinked(p));
    for (int k = 0; k < kOutputs; ++k)
        m_pTag[k]->SetPressed(m_nCurChannel >= 0 && State().m_nLinkGroup[k] == State().m_nLinkGroup[m_nCurChannel]);
}

void CQM7100View::RefreshChannelFromRecord(int nChannel)
{
    ShowPolarity(nChannel);
    ShowLevel(nChannel);
}
