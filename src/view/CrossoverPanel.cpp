#include "CrossoverPanel.h"

#include <QComboBox>
#include <QMessageBox>
#include <QSignalBlocker>

#include "CFStatic.h"
#include "ControlName.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "Processor.h"
#include "QM7100View.h"
#include "SkinIds.h"
#include "Strings.h"
#include "XPButton.h"

namespace {
constexpr int kBandHighPass = 31;
constexpr int kBandLowPass = 32;
const char* const kSlopes[] = {"12dB/Oct", "18dB/Oct", "24dB/Oct", "30dB/Oct",
                               "36dB/Oct", "42dB/Oct", "48dB/Oct", "OFF"};
constexpr int kSlopeCount = static_cast<int>(std::size(kSlopes));

bool OnShortList(int nSlope)
{
    return nSlope == 0 || nSlope == 2;  // variant 2 offers 12 and 24 dB/Oct only
}

CFilter& Crossover(CKTV_OutData& out, bool bHighPass)
{
    return bHighPass ? out.EQ().HighPass() : out.EQ().LowPass();
}

// Each item carries the slope it stands for, since the short list skips
// some. A slope the list lacks (a processor set to 18 dB/Oct seen through
// the short list) is shown as an extra item rather than a blank box, so
// that choosing it writes back the same slope.
void FillSlopes(QComboBox* pBox, bool bShort, int nShownSlope)
{
    const QSignalBlocker block(pBox);
    pBox->clear();
    for (int s = 0; s < kSlopeCount; ++s) {
        if (!bShort || OnShortList(s) || s == nShownSlope)
            pBox->addItem(kSlopes[s], s);
    }
    pBox->setCurrentIndex(pBox->findData(nShownSlope));
}

QComboBox* NamedBox(int nId, QWidget* pParent)
{
    auto* pBox = new QComboBox(pParent);
    pBox->setObjectName(ControlName(nId));
    return pBox;
}
}  // namespace

CCrossoverPanel::CCrossoverPanel(CProcessor& processor, CQM7100View& form)
    : QObject(&form), m_processor(processor), m_data(processor.Data()), m_state(processor.State()), m_form(form)
{
}

// ---- construction -------------------------------------------------------------------------

void CCrossoverPanel::CreateControls(int nX, int nY)
{
    m_form.AddGroupBox(kTxtCrossover, QRect(nX, nY, 388, 156));
    m_form.AddLabel(kTxtFrequency, nX + 70, nY + 16, 86);
    m_form.AddLabel(kTxtType, nX + 164, nY + 16, 104);
    m_form.AddLabel(kTxtSlope, nX + 274, nY + 16, 100);
    m_form.AddLabel(kTxtHighPass, nX + 8, nY + 40, 60);
    m_highPass = MakeControls(5500, nX + 70, nY + 38);
    m_form.AddLabel(kTxtLowPass, nX + 8, nY + 72, 60);
    m_lowPass = MakeControls(5510, nX + 70, nY + 70);
    m_pReset = m_form.MakeButton(2228, kSkinReset, nX + 302, nY + 106);
    ConnectControls(m_highPass, true);
    ConnectControls(m_lowPass, false);
    connect(m_pReset, &CXPButton::clicked, this, [this] { OnReset(); });
}

CCrossoverPanel::Controls CCrossoverPanel::MakeControls(int nBaseId, int nX, int nY)
{
    Controls controls;
    controls.pFreq = new CNumEdit(nBaseId, &m_form);
    controls.pFreq->setGeometry(nX, nY, 70, 22);
    controls.pSpin = new CNumSpin(nBaseId + 1, &m_form);
    controls.pSpin->setGeometry(nX + 70, nY, CNumSpin::kWidth, 22);
    controls.pSpin->SetBuddy(controls.pFreq);
    controls.pType = NamedBox(nBaseId + 2, &m_form);
    controls.pType->setGeometry(nX + 94, nY, 104, 22);
    controls.pType->addItems({"Link_Ril", "Bessel", "Butter_W"});
    controls.pSlope = NamedBox(nBaseId + 3, &m_form);
    controls.pSlope->setGeometry(nX + 204, nY, 100, 22);
    return controls;
}

void CCrossoverPanel::ConnectControls(Controls& controls, bool bHighPass)
{
    connect(controls.pFreq, &CNumEdit::Notify, this, [this, bHighPass] { OnFrequency(bHighPass); });
    connect(controls.pSpin, &CNumSpin::Notify, this, [this, bHighPass] { OnFrequency(bHighPass); });
    connect(controls.pType, &QComboBox::activated, this, [this, bHighPass] { OnType(bHighPass); });
    connect(controls.pSlope, &QComboBox::activated, this, [this, bHighPass] { OnSlope(bHighPass); });
}

void CCrossoverPanel::SetUpControls()
{
    for (Controls* pControls : {&m_highPass, &m_lowPass}) {
        pControls->pFreq->SetKind(8);
        pControls->pSpin->SetRange(20, 20000);
    }
    ApplySlopeList();
}

QWidget* CCrossoverPanel::LastControl() const
{
    return m_lowPass.pSlope;
}

// ---- showing the model ------------------------------------------------------------------------

void CCrossoverPanel::ApplySlopeList()
{
    if (m_state.m_nDeviceType != 1 && m_state.m_nDeviceType != 2)
        return;
    m_bShortSlopes = m_state.m_nDeviceType == 2;
    for (QComboBox* pBox : {m_highPass.pSlope, m_lowPass.pSlope})
        FillSlopes(pBox, m_bShortSlopes, pBox->currentData().isValid() ? pBox->currentData().toInt() : -1);
}

void CCrossoverPanel::Refresh()
{
    const int nChannel = m_form.CurrentChannel();
    if (nChannel < 0)
        return;
    for (const bool bHighPass : {true, false}) {
        const CFilter& filter = Crossover(m_data.Output(nChannel), bHighPass);
        const Controls& controls = Of(bHighPass);
        const QSignalBlocker typeBlock(controls.pType);
        controls.pType->setCurrentIndex(filter.GetFilterType());
        FillSlopes(controls.pSlope, m_bShortSlopes, filter.GetSlope());
        controls.pSpin->SetPos(filter.GetFrequency());
    }
}

void CCrossoverPanel::FollowGraph(bool bHighPass)
{
    Of(bHighPass).pSpin->SetPos(Crossover(m_data.Output(m_form.CurrentChannel()), bHighPass).GetFrequency());
    CopyFrequencyToLinked(bHighPass);
}

// ---- edits ------------------------------------------------------------------------------------

void CCrossoverPanel::OnFrequency(bool bHighPass)
{
    // The high-pass filter never goes above the low-pass one.
    int nFreq = Of(bHighPass).pSpin->GetPos();
    const int nOther = Of(!bHighPass).pSpin->GetPos();
    if (bHighPass ? nFreq > nOther : nFreq < nOther) {
        nFreq = nOther;
        Of(bHighPass).pSpin->SetPos(nFreq);
    }
    Crossover(m_data.Output(m_form.CurrentChannel()), bHighPass).SetFrequency(nFreq, true);
    CopyFrequencyToLinked(bHighPass);
    Redraw(bHighPass);
}

void CCrossoverPanel::CopyFrequencyToLinked(bool bHighPass)
{
    const int nChannel = m_form.CurrentChannel();
    const int nFreq = Crossover(m_data.Output(nChannel), bHighPass).GetFrequency();
    for (int k : m_state.LinkedOutputs(nChannel))
        Crossover(m_data.Output(k), bHighPass).SetFrequency(nFreq, true);
}

void CCrossoverPanel::Edit(bool bHighPass, const std::function<void(CFilter&)>& edit)
{
    const int nChannel = m_form.CurrentChannel();
    edit(Crossover(m_data.Output(nChannel), bHighPass));
    for (int k : m_state.LinkedOutputs(nChannel))
        edit(Crossover(m_data.Output(k), bHighPass));
}

void CCrossoverPanel::OnType(bool bHighPass)
{
    const int nType = Of(bHighPass).pType->currentIndex();
    if (nType < 0)
        return;
    Edit(bHighPass, [nType](CFilter& filter) { filter.SetFilterType(nType, true); });
    Redraw(bHighPass);
}

void CCrossoverPanel::OnSlope(bool bHighPass)
{
    const QVariant slope = Of(bHighPass).pSlope->currentData();
    if (!slope.isValid())
        return;
    const int nSlope = slope.toInt();
    Edit(bHighPass, [nSlope](CFilter& filter) { filter.SetSlope(nSlope, true); });
    Redraw(bHighPass);
}

void CCrossoverPanel::Redraw(bool bHighPass)
{
    m_form.Graph()->Redraw(bHighPass ? kBandHighPass : kBandLowPass);
    m_processor.NoteEdit();
}

void CCrossoverPanel::OnReset()
{
    if (QMessageBox::question(&m_form, Tr(kTxtAppTitle), Tr(kTxtResetEqQuestion),
                              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    m_form.ResetEqualizers();
}
