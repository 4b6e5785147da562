// The listening positions and the delays of the six outputs shown for the
// current one.
#include "DelayTable.h"
#include "GlobalData.h"
#include "LinkSession.h"
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
    if (nPosition < 0 || nPosition > 3 || nPosition == GetCurrentPosition())
        return;
    SetCurrentPosition(nPosition);
    ShowDelays();
    SendSystemItem(kItemDelayTable, 0);
}

void CQM7100View::ApplyPosition(int nPosition)
{
    if (nPosition < 0 || nPosition > 3)
        return;
    SetCurrentPosition(nPosition);
    ShowDelays();
    if (IsConnected())
        g_bDelayPresetChanged = 1;
    SendSystemItem(kItemDelayTable, 0);
}

void CQM7100View::ShowDelays()
{
    const int nPosition = GetCurrentPosition();
    SetCurrentPosition(nPosition);  // a table from the processor may hold more than 3
    for (int i = 0; i < kChannels; ++i)
        m_pDelayLabel[i]->setText(QString::fromStdString(DelayText(GetPositionDelay(nPosition, i), g_nDelayUnit)));
    for (int p = 0; p < 4; ++p)
        m_pPosition[p]->SetPressed(p == nPosition);
    m_pPositionName->setText(PositionName(nPosition));
}

void CQM7100View::SetDelay(int nChannel, int nValue)
{
    const int nPosition = GetCurrentPosition();
    if (nChannel < 0 || nChannel >= kChannels || GetPositionDelay(nPosition, nChannel) == nValue)
        return;
    SetPositionDelay(nPosition, nChannel, nValue);
    m_pDelayLabel[nChannel]->setText(QString::fromStdString(DelayText(GetPositionDelay(nPosition, nChannel), g_nDelayUnit)));
    if (IsConnected())
        g_bDelayPresetChanged = 1;
}

void CQM7100View::OnPosition(int nPosition)
{
    SelectPosition(nPosition);
}
