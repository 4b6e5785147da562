// The selected output: the strip, the crossover panel, the graph and the
// equalizer page follow it.
#include "CFStatic.h"
#include "ChannelStrip.h"
#include "CrossoverPanel.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "OutputDlg.h"
#include "QM7100View.h"

void CQM7100View::RedrawAll()
{
    m_pGraph->Redraw(-1);
}

void CQM7100View::RefreshStrip(bool bKeepLinks)
{
    m_pStrip->Refresh(bKeepLinks);
    m_pPage->RefreshPage();
    m_pCrossover->Refresh();
    RedrawAll();
}

void CQM7100View::RefreshSelectedOutput()
{
    m_pCrossover->Refresh();
    m_pPage->RefreshPage();
}

void CQM7100View::SelectChannel(int nChannel)
{
    if ((State().m_nDeviceType != 1 && State().m_nDeviceType != 2) || nChannel < 0 || nChannel >= kOutputs)
        return;
    m_pStrip->ShowSelection(m_nCurChannel, nChannel);
    m_nCurChannel = nChannel;
    State().m_nCurOutput = nChannel;
    m_pGraph->SelectOutputChannel(nChannel);
    m_pGraph->SetMode(CFStatic::kModeOutput);
    m_pPage->SetHost(this, m_pGraph, &m_data);
    m_pPage->RefreshPage();
    m_pPage->ShowPage(true);
    m_pCrossover->Refresh();
    RedrawAll();
}

void CQM7100View::ResendOutputRecord(int nChannel)
{
    m_pSession->ResendOutputRecord(nChannel, m_pStrip->ClosesProgress(nChannel));
    AfterLinkEvent();
}
