// The system settings window (template 108, Arial 10: dialog units of
// 2 × 2 px) and what each of its controls changes.
#include "CurSYSDlg.h"

#include <QComboBox>
#include <algorithm>

#include "AppGlobals.h"
#include "BlockAddress.h"
#include "CommitKeys.h"
#include "ControlName.h"
#include "DialogUnits.h"
#include "FontStatic.h"
#include "FormDialog.h"
#include "FormHost.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "Processor.h"
#include "SxGroupBox.h"

namespace {

constexpr int kWidthDlu = 387;
constexpr int kHeightDlu = 214;
constexpr int kFontPx = 13;               // Arial 10
constexpr int kGroupWidthDlu = 79;
constexpr int kGroupHeightDlu = 72;
constexpr int kFieldLeftDlu = 18;         // inside a group
constexpr int kFieldWidthDlu = 43;        // field and spin together
constexpr int kRowHeightDlu = 12;
constexpr int kRowsDlu[] = {12, 26, 40, 54};  // threshold, attack, release, mix
constexpr int kGateMaxChars = 8;
constexpr int kListDropDlu = 134;

// Group boxes CH1 … CH6: three columns of two, as the template has them.
constexpr int kGroupAt[kOutputs][2] = {{39, 35}, {39, 128}, {166, 35}, {166, 127}, {297, 35}, {297, 126}};

const QStringList& SourceItems()
{
    static const QStringList items {"Main", "AUX", "High", "Bluetooth"};
    return items;
}

const QStringList& ReleaseItems()
{
    static const QStringList items {"Atk * 2", "Atk * 4", "Atk * 6", "Atk * 8", "Atk * 16", "Atk * 32"};
    return items;
}

const QStringList& MixItems()
{
    static const QStringList items {"L", "R", "L+R"};
    return items;
}

const CDialogUnits& Units()
{
    return kSystemUnits;
}

}  // namespace

CCurSYSDlg::CCurSYSDlg(CKTV_Data& data, IFormHost& host, QWidget* pParent)
    : QDialog(pParent, kFixedDialogFrame),
      m_data(data), m_host(host)
{
    setObjectName(QStringLiteral("ctl108"));
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, g_brushDialog);
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(ArialFont(kFontPx));
    setWindowTitle(Tr(kTxtSystem));
    CreateHeader();
    for (int i = 0; i < kOutputs; ++i)
        CreateGroup(i, kGroupAt[i][0], kGroupAt[i][1]);
    CreateRowLabels(kGroupAt[0][1], kIdRowLabel);
    CreateRowLabels(kGroupAt[1][1], kIdRowLabel + 4);
    SetUpFields();
    LoadValues();
    CCommitKeys::Install(*this);
    setFixedSize(Units().X(kWidthDlu), Units().Y(kHeightDlu));
}

// ---- layout ---------------------------------------------------------------------------

void CCurSYSDlg::AddLabel(int nId, const QString& strText, const QRect& rect)
{
    auto* pLabel = new CFontStatic(nId, strText, this);
    pLabel->SetFontStyle(kFontPx, Qt::black, CFontStatic::kAlignLeft);
    pLabel->setGeometry(rect);
}

CNumSpin* CCurSYSDlg::AddNumber(int nEditId, int nSpinId, const QRect& rect, CNumEdit*& pEdit)
{
    pEdit = new CNumEdit(nEditId, this);
    pEdit->setGeometry(rect.adjusted(0, 0, -CNumSpin::kWidth, 0));
    auto* pSpin = new CNumSpin(nSpinId, this);
    pSpin->setGeometry(rect.right() + 1 - CNumSpin::kWidth, rect.top(), CNumSpin::kWidth, rect.height());
    pSpin->SetBuddy(pEdit);
    return pSpin;
}

QComboBox* CCurSYSDlg::AddList(int nId, const QRect& rect, const QStringList& items)
{
    auto* pList = new QComboBox(this);
    pList->setObjectName(ControlName(nId));
    pList->setGeometry(rect);
    pList->addItems(items);
    pList->setMaxVisibleItems(std::max(1, Units().Y(kListDropDlu) / rect.height()));
    return pList;
}

void CCurSYSDlg::CreateHeader()
{
    AddLabel(-1, Tr(kTxtSource), Units().Rect(42, 7, 42, 8));
    m_pSource = AddList(kIdSource, Units().Rect(39, 18, 48, kRowHeightDlu), SourceItems());
    connect(m_pSource, &QComboBox::activated, this, &CCurSYSDlg::OnSource);
    AddLabel(-1, Tr(kTxtNoiseGate), Units().Rect(300, 7, 42, 8));
    m_pGateSpin = AddNumber(kIdGate, kIdGateSpin, Units().Rect(297, 18, 48, kRowHeightDlu), m_pGate);
    connect(m_pGate, &CNumEdit::Notify, this, &CCurSYSDlg::OnNoiseGate);
    connect(m_pGateSpin, &CNumSpin::Notify, this, &CCurSYSDlg::OnNoiseGate);
}

void CCurSYSDlg::CreateGroup(int i, int nX, int nY)
{
    auto* pBox = new CSxGroupBox(kIdGroup + i, Tr(kTxtLimiterMix).arg(i + 1), this);
    pBox->setGeometry(Units().Rect(nX, nY, kGroupWidthDlu, kGroupHeightDlu));
    pBox->lower();  // beneath the fields laid over it
    auto row = [&](int r) { return Units().Rect(nX + kFieldLeftDlu, nY + kRowsDlu[r], kFieldWidthDlu, kRowHeightDlu); };
    Limiter& limiter = m_limiter[i];
    limiter.pThresholdSpin = AddNumber(kIdThreshold + i, kIdThresholdSpin + i, row(0), limiter.pThreshold);
    limiter.pAttackSpin = AddNumber(kIdAttack + i, kIdAttackSpin + i, row(1), limiter.pAttack);
    limiter.pRelease = AddList(kIdRelease + i, row(2), ReleaseItems());
    limiter.pMix = AddList(kIdMix + i, row(3), MixItems());

    auto threshold = [this, i] {
        OnLimiterField(i, &Limiter::pThresholdSpin, &CKTV_OutData::SetThreshold, &CKTV_OutData::GetThreshold);
    };
    auto attack = [this, i] {
        OnLimiterField(i, &Limiter::pAttackSpin, &CKTV_OutData::SetAttack, &CKTV_OutData::GetAttack);
    };
    connect(limiter.pThreshold, &CNumEdit::Notify, this, threshold);
    connect(limiter.pThresholdSpin, &CNumSpin::Notify, this, threshold);
    connect(limiter.pAttack, &CNumEdit::Notify, this, attack);
    connect(limiter.pAttackSpin, &CNumSpin::Notify, this, attack);
    connect(limiter.pRelease, &QComboBox::activated, this, [this, i] { OnRelease(i); });
    connect(limiter.pMix, &QComboBox::activated, this, [this, i] { OnMix(i); });
}

// The rows' names stand once, left of the first column of groups.
void CCurSYSDlg::CreateRowLabels(int nGroupY, int nFirstId)
{
    static constexpr TextId kRows[] = {kTxtThresholdRow, kTxtAttackRow, kTxtReleaseRow, kTxtMixRow};
    for (int r = 0; r < 4; ++r)
        AddLabel(nFirstId + r, Tr(kRows[r]), Units().Rect(8, nGroupY + kRowsDlu[r] + 2, 28, 8));
}

void CCurSYSDlg::SetUpFields()
{
    m_pGateSpin->SetRange(0, 100);
    m_pGate->SetStep(1.0);
    m_pGate->SetOffset(120.0);
    m_pGate->SetKind(CNumKinds::kGateDbu);
    m_pGate->setMaxLength(kGateMaxChars);
    for (Limiter& limiter : m_limiter) {
        limiter.pThresholdSpin->SetRange(0, 360);
        limiter.pThreshold->SetStep(0.1);
        limiter.pThreshold->SetOffset(30.0);
        limiter.pThreshold->SetKind(CNumKinds::kThresholdDbu);
        limiter.pAttackSpin->SetRange(0, 106);
        limiter.pAttack->SetKind(CNumKinds::kAttack);
    }
}

// ---- values ---------------------------------------------------------------------------

int CCurSYSDlg::MixIndex(const CKTV_OutData& output)
{
    const bool bLeftOff = output.GetLeftOff() != 0;
    const bool bRightOff = output.GetRightOff() != 0;
    if (bLeftOff == bRightOff)
        return bLeftOff ? -1 : kMixBoth;  // both sides off: no entry fits
    return bRightOff ? kMixLeft : kMixRight;
}

void CCurSYSDlg::LoadValues()
{
    const int nSource = m_host.Processor().Source();
    m_pSource->setCurrentIndex(nSource < SourceItems().size() ? nSource : -1);
    m_pGateSpin->SetPos(m_data.Music().GetNoiseGate());
    for (int i = 0; i < kOutputs; ++i) {
        const CKTV_OutData& output = m_data.Output(i);
        m_limiter[i].pThresholdSpin->SetPos(output.GetThreshold());
        m_limiter[i].pAttackSpin->SetPos(output.GetAttack());
        m_limiter[i].pRelease->setCurrentIndex(output.GetRelease() < ReleaseItems().size() ? output.GetRelease() : -1);
        m_limiter[i].pMix->setCurrentIndex(MixIndex(output));
    }
}

// The whole control block travels as system item 2, and only for a new source.
void CCurSYSDlg::OnSource(int nIndex)
{
    m_host.Processor().SetSource(nIndex);
}

void CCurSYSDlg::OnNoiseGate()
{
    m_data.Music().SetNoiseGate(m_pGateSpin->GetPos());
}

// The setter shares the value with the link group; the fields of the
// linked outputs then show what their records hold.
void CCurSYSDlg::OnLimiterField(int i, SpinOf spin, Setter set, Getter get)
{
    (m_data.Output(i).*set)((m_limiter[i].*spin)->GetPos());
    for (int j : m_data.State().LinkedOutputs(i))
        (m_limiter[j].*spin)->SetPos((m_data.Output(j).*get)());
}

void CCurSYSDlg::OnRelease(int i)
{
    const int nRelease = m_limiter[i].pRelease->currentIndex();
    if (nRelease < 0)
        return;
    m_data.Output(i).SetRelease(nRelease);
    for (int j : m_data.State().LinkedOutputs(i))
        m_limiter[j].pRelease->setCurrentIndex(nRelease);
}

// The linked outputs take the new sides too, and their lists show them:
// what was sent to the processor, not what they showed at opening.
void CCurSYSDlg::OnMix(int i)
{
    const int nMix = m_limiter[i].pMix->currentIndex();
    if (nMix < 0)
        return;
    CKTV_OutData& output = m_data.Output(i);
    output.SetLeftOff(nMix == kMixRight ? 1 : 0);
    output.SetRightOff(nMix == kMixLeft ? 1 : 0);
    for (int j : m_data.State().LinkedOutputs(i))
        m_limiter[j].pMix->setCurrentIndex(MixIndex(m_data.Output(j)));
}
