// The output page's page-wide buttons: the whole-set bypass "ALLBYPASS" and
// the conversion between parametric and graphic equalizer.
#include <QMessageBox>

#include "CFStatic.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "OutputDlg.h"
#include "OutputHost.h"
#include "Strings.h"
#include "XPButton.h"

void COutputDlg::OnAllBypass()
{
    if (!m_pData)
        return;
    CKTV_OutData& record = *Record();
    const bool bRequest = !m_pAllBypass->IsPressed();
    record.SetWholeSetBypass(bRequest);
    // Every band bypassed on its own (all at 0.0 dB, say): there is nothing
    // to restore, so the set stays bypassed without a question.
    if (!bRequest && record.TestAllBypassed()) {
        record.SetWholeSetBypass(true);
        ShowAllBypassButton(true);
        return;
    }
    const bool bState = record.TestAllBypassed();
    if (!AskYesNo(Tr(bState ? kTxtByPassAllEq : kTxtRestoreAllEq))) {
        record.SetWholeSetBypass(!bState);
        ShowAllBypassButton(!bState);
        return;
    }
    ShowAllBands();
    ApplyWholeSetToGroup(bState);
    ShowAllBypassButton(bState);
    Redraw(-1);
}

void COutputDlg::ShowAllBypassButton(bool bPressed)
{
    m_bWholeSetBypass = bPressed;
    m_pAllBypass->SetPressed(bPressed);
}

void COutputDlg::ShowAllBands()
{
    for (int i = 0; i < kBands; ++i) {
        const CFilter& filter = Band(i);
        ShowGain(i, filter.GetGainCode());
        ShowBypass(i, filter.IsEffectivelyBypassed());
    }
}

// The whole-set bypass sets no change marks: each output of the group
// travels as a whole record instead.
void COutputDlg::ApplyWholeSetToGroup(bool bState)
{
    const int s = m_nCurOutput;
    for (int k = 0; k < kOutputs; ++k) {
        if (m_pData->State().m_nLinkGroup[k] != m_pData->State().m_nLinkGroup[s])
            continue;
        if (k != s && m_pData->State().m_pLinkOutput[k])
            m_pData->State().m_pLinkOutput[k]->SetWholeSetBypass(bState);
        if (m_pHost)
            m_pHost->ResendOutputRecord(k);
    }
}

void COutputDlg::OnMode()
{
    if (!m_pData)
        return;
    const int nMode = m_pMode->IsPressed() ? 0 : 1;
    // The processor's mode names: English in both languages.
    if (!AskOkCancel(Tr(nMode == 1 ? kTxtToGraphicQuestion : kTxtToParametricQuestion)))
        return;
    m_nEqMode = nMode;
    ShowMode();
    Record()->SetEqMode(nMode);
    if (nMode == 1) {
        if (m_pHost)
            m_pHost->ResetEqualizers();
        RefreshPage();
    }
    Redraw(-1);
}

void COutputDlg::EnableParametricFields(bool bEnable)
{
    for (BandControls& band : m_band) {
        for (const Row row : {kRowFreq, kRowQ}) {
            band.pField[row]->setEnabled(bEnable);
            band.pSpin[row]->setEnabled(bEnable);
        }
    }
}

bool COutputDlg::AskYesNo(const QString& strQuestion)
{
    return QMessageBox::question(this, Tr(kTxtAppTitle), strQuestion, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes)
           == QMessageBox::Yes;
}

bool COutputDlg::AskOkCancel(const QString& strQuestion)
{
    return QMessageBox::question(this, Tr(kTxtAppTitle), strQuestion, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok)
           == QMessageBox::Ok;
}
