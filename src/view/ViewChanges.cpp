// The form as a subscriber of the processor's changes: whatever made a
// change (an edit, a recall, a file load, the full read, or the link), the
// form shows it where it is shown. The processor tells it on the
// user-interface thread, inside the call or the notification that made the
// change, so no event crosses from the link thread to a widget.
#include <QLineEdit>

#include "ChannelStrip.h"
#include "ProgramDlg.h"
#include "Processor.h"
#include "QM7100View.h"

void CQM7100View::OnChange(const ChangeEvent& event)
{
    if (!m_pStrip)
        return;  // told before the controls exist
    // The form's own controls already show their edits; anything the
    // selected output's page or crossover shows is shown again otherwise.
    const bool bOwnEdit = event.source == ChangeSource::kEdit;
    switch (event.kind) {
    case ChangeKind::kOutputLevel:
        m_pStrip->ShowLevel(event.nOutput);
        break;
    case ChangeKind::kOutputMute:
        m_pStrip->ShowMute(event.nOutput);
        break;
    case ChangeKind::kOutputPolarity:
        m_pStrip->ShowPolarity(event.nOutput);
        break;
    case ChangeKind::kBand:
    case ChangeKind::kCrossover:
        if (!bOwnEdit && event.nOutput == m_nCurChannel)
            RefreshSelectedOutput();
        if (!bOwnEdit)
            RedrawAll();
        break;
    case ChangeKind::kDelays:
        ShowDelays();
        break;
    case ChangeKind::kSystem:
        m_pStrip->ShowVolume();
        break;
    case ChangeKind::kProgramNames:
        if (CProgramDlg* pDialog = ProgramDialog())
            pDialog->ShowNames();
        break;
    case ChangeKind::kSceneName:
        m_pSceneName->setText(QString::fromStdString(m_processor.SceneName()));
        break;
    case ChangeKind::kConnection:
        AfterLinkEvent();
        break;
    }
}
