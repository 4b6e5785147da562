// The output page's frame: what the view calls, loading the page from the
// record, the displays shared by the handlers and the band marking.
#include "OutputDlg.h"
#include "OutputHost.h"

#include <QPainter>

#include "CFStatic.h"
#include "FontStatic.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "SkinFader.h"
#include "TextTable.h"
#include "XPButton.h"

namespace {

const QColor kLabelMarked(255, 0, 0);

}  // namespace

void COutputDlg::SetHost(IOutputHost* pHost, CFStatic* pGraph, CKTV_Data* pData)
{
    // Another model: its bands carry no binding of ours, and the old one
    // may be gone already (each binding guards its fader).
    if (pData != m_pData)
        m_pBoundRecord = nullptr;
    m_pHost = pHost;
    m_pGraph = pGraph;
    m_pData = pData;
}

void COutputDlg::ShowPage(bool bShow)
{
    setVisible(bShow);
}

void COutputDlg::ApplyLanguage()
{
    m_pMode->ApplyLanguage();
    m_pAllBypass->ApplyLanguage();
    for (BandControls& band : m_band)
        band.pBypass->ApplyLanguage();
    ApplyTexts();
    update();
}

void COutputDlg::paintEvent(QPaintEvent*)
{
    QPixmap& pix = m_pixBackground[ByLanguage(0, 1)];
    if (pix.isNull())
        pix = PaintBackground(ByLanguage(0, 1) != 0);
    QPainter painter(this);
    painter.drawPixmap(rect(), pix);
}

CKTV_OutData* COutputDlg::Record() const
{
    return m_pData ? &m_pData->Output(m_nCurOutput) : nullptr;
}

CFilter& COutputDlg::Band(int i) const
{
    return Record()->EQ()[i];
}

void COutputDlg::RefreshPage()
{
    if (!m_pData)
        return;
    const int nOutput = m_pData->State().m_nCurOutput.load();
    m_nCurOutput = nOutput >= 0 && nOutput < kOutputs ? nOutput : 0;
    ShowWholeSet();
    m_nEqMode = Record()->GetEqMode();
    ShowMode();
    UnbindFaders();
    for (int i = 0; i < kBands; ++i) {
        LoadBand(i);
        BindFader(i);
    }
    ClearMarks();
}

void COutputDlg::ShowWholeSet()
{
    m_bWholeSetBypass = Record()->TestAllBypassed();
    m_pAllBypass->SetPressed(m_bWholeSetBypass);
}

void COutputDlg::ShowMode()
{
    m_pMode->SetPressed(m_nEqMode == 1);
    EnableParametricFields(m_nEqMode == 0);
}

void COutputDlg::LoadBand(int i)
{
    BandControls& band = m_band[static_cast<size_t>(i)];
    const CFilter& filter = Band(i);
    band.pSpin[kRowFreq]->SetPos(filter.GetFrequency());
    band.pSpin[kRowQ]->SetPos(filter.GetBandwidthCode());
    ShowGain(i, filter.GetGainCode());
    ShowBypass(i, filter.IsEffectivelyBypassed());
}

// The band's fader follows the band when the model reports a change to it;
// the gain shown respects the bypass display.
void COutputDlg::BindFader(int i)
{
    CKTV_OutData* pRecord = Record();
    CFilter* pFilter = &pRecord->EQ()[i];
    QPointer<CSkinFader> pFader = m_band[static_cast<size_t>(i)].pFader;
    pFilter->AttachFader([pFader, pFilter](int) {
        if (pFader)
            pFader->SetPosInverted(pFilter->IsEffectivelyBypassed() ? kGainCodeZero : pFilter->GetGainCode());
    });
    m_pBoundRecord = pRecord;
}

void COutputDlg::UnbindFaders()
{
    if (!m_pBoundRecord)
        return;
    for (int i = 0; i < kBands; ++i)
        m_pBoundRecord->EQ()[i].AttachFader(nullptr);
    m_pBoundRecord = nullptr;
}

void COutputDlg::Redraw(int nBand)
{
    if (m_pGraph)
        m_pGraph->Redraw(nBand);
    if (m_pHost)
        m_pHost->AfterEdit();
}

void COutputDlg::MarkLabel(int i)
{
    if (m_nMarkedBand == i)
        return;
    if (m_nMarkedBand >= 0)
        m_band[static_cast<size_t>(m_nMarkedBand)].pLabel->SetTextColor(Qt::black);
    m_nMarkedBand = i;
    if (i >= 0)
        m_band[static_cast<size_t>(i)].pLabel->SetTextColor(kLabelMarked);
}

void COutputDlg::Highlight(Row row, int i)
{
    CNumEdit* pField = i >= 0 ? m_band[static_cast<size_t>(i)].pField[row] : nullptr;
    if (m_pHighlighted == pField)
        return;
    if (m_pHighlighted)
        m_pHighlighted->EnableColor(false);
    m_pHighlighted = pField;
    if (pField)
        pField->EnableColor(true);
}

void COutputDlg::ClearMarks()
{
    for (BandControls& band : m_band)
        band.pLabel->SetTextColor(Qt::black);
    m_nMarkedBand = -1;
    Highlight(kRowGain, -1);
}
