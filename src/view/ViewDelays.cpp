// The listening positions and the delays of the six outputs shown for the
// current one.
#include "DelayTable.h"
#include "LinkSession.h"
#include "ProcessorState.h"
#include "QM7100View.h"
#include "Strings.h"
#include "TransparentStatic.h"
#include "XPButton.h"

namespace {
constexpr int kItemDelayTable = 64;

QString PositionName(int nPosition)
{
    // The doubled ampersand shows as one: the label treats a single one as
    // a mnemonic marker.
    static const TextId kNames[] = {kTxtPositionLF, kTxtPositionCF, kTxtPositionRF, kTxtPositionCR};
    return Tr(kNames[nPosition]);
}
}  // namespace

void CQM7100View::SelectPosition(int nPosition)
{
    if (nPosition < 0 || nPosition > 3 || nPosition == GetCurrentPosition(State()))
        return;
    SetCurrentPosition(State(), nPosition);
    ShowDelays();
    SendSystemItem(kItemDelayTable, 0);
}

void CQM7100View::ApplyPosition(int nPosition)
{
    if (nPosition < 0 || nPosition > 3)
        return;
    SetCurrentPosition(State(), nPosition);
    ShowDelays();
    if (IsConnected())
        State().m_bDelayPresetChanged = 1;
    SendSystemItem(kItemDelayTable, 0);
}

void CQM7100View::ShowDelays()
{
    const int nPosition = GetCurrentPosition(State());
    SetCurrentPosition(State(), nPosition);  // a table from the processor may hold more than 3
    for (int i = 0; i < kOutputs; ++i)
        m_pDelayLabel[i]->setText(QString::fromStdString(DelayText(GetPositionDelay(State(), nPosition, i), g_nDelayUnit)));
    for (int p = 0; p < 4; ++p)
        m_pPosition[p]->SetPressed(p == nPosition);
    m_pPositionName->setText(PositionName(nPosition));
}

void CQM7100View::SetDelay(int nChannel, int nValue)
{
    const int nPosition = GetCurrentPosition(State());
    if (nChannel < 0 || nChannel >= kOutputs || GetPositionDelay(State(), nPosition, nChannel) == nValue)
        return;
    SetPositionDelay(State(), nPosition, nChannel, nValue);
    m_pDelayLabel[nChannel]->setText(QString::fromStdString(DelayText(GetPositionDelay(State(), nPosition, nChannel), g_nDelayUnit)));
    if (IsConnected())
        State().m_bDelayPresetChanged = 1;
    NoteEdit();
}

void CQM7100View::OnPosition(int nPosition)
{
    SelectPosition(nPosition);
}
