// The delay manager's window: the room picture with a delay field at each
// output and a position button on each listening position, and what each
// control asks of the form.
#include "DelayDlg.h"

#include <QPainter>

#include "AppGlobals.h"
#include "CommitKeys.h"
#include "DelayTable.h"
#include "DialogUnits.h"
#include "FormDialog.h"
#include "FormHost.h"
#include "GlobalData.h"
#include "NumEdit.h"
#include "NumSpin.h"
#include "SkinFactory.h"
#include "SkinIds.h"
#include "SkinRoom.h"
#include "Strings.h"
#include "XPButton.h"

namespace {
constexpr int kWidthDlu = 450;
constexpr int kHeightDlu = 298;
constexpr int kFontPx = 13;
}  // namespace

CDelayDlg::CDelayDlg(IFormHost& host, QWidget* pParent)
    : QDialog(pParent, kFixedDialogFrame),
      m_host(host)
{
    setObjectName(QStringLiteral("DelayManager"));
    setModal(true);
    setFont(ArialFont(kFontPx));
    setWindowTitle(Tr(kTxtDelayManager));
    setFixedSize(kSansSerifUnits.X(kWidthDlu), kSansSerifUnits.Y(kHeightDlu));
    CreateFields();
    CreateButtons();
    move(kScreenX, kScreenY);
    CCommitKeys::Install(*this);
    LoadDialog();
}

int CDelayDlg::DisplayKind(int nUnit)
{
    switch (nUnit) {
    case kDelayUnitInch:
        return CNumKinds::kDistanceInch;
    case kDelayUnitCm:
        return CNumKinds::kDistanceCm;
    default:
        return CNumKinds::kDelayMs;
    }
}

// ---- layout ---------------------------------------------------------------------------

void CDelayDlg::CreateFields()
{
    for (int k = 0; k < kOutputs; ++k) {
        const QRect rcField(SkinRoom::FieldOrigin(k), SkinRoom::kFieldSize);
        m_pDelay[k] = new CNumEdit(kIdDelay + k, this);
        m_pDelay[k]->setGeometry(rcField);
        m_pSpin[k] = new CNumSpin(kIdDelaySpin + k, this);
        m_pSpin[k]->setGeometry(rcField.right() + 1, rcField.top(), CNumSpin::kWidth, rcField.height());
        m_pSpin[k]->SetBuddy(m_pDelay[k]);
        m_pSpin[k]->SetRange(0, kMaxDelayCode);
        m_pDelay[k]->SetKind(DisplayKind(g_nDelayUnit));
        connect(m_pDelay[k], &CNumEdit::Notify, this, [this, k] { OnDelay(k); });
        connect(m_pSpin[k], &CNumSpin::Notify, this, [this, k] { OnDelay(k); });
    }
}

CXPButton* CDelayDlg::AddButton(int nId, int nFace, const QPoint& origin)
{
    auto* pButton = new CXPButton(nId, this);
    pButton->move(origin);
    SetFace(pButton, nFace);
    return pButton;
}

// The dialog's own buttons look the same pressed or released: they are
// never shown pressed.
void CDelayDlg::SetFace(CXPButton* pButton, int nFace)
{
    const bool bChinese = g_bChinese.load() != 0;
    const int nNormal = SkinRoom::ButtonImage(nFace, bChinese, SkinRoom::kNormal);
    const int nHover = SkinRoom::ButtonImage(nFace, bChinese, SkinRoom::kHover);
    const int nHeld = SkinRoom::ButtonImage(nFace, bChinese, SkinRoom::kHeld);
    pButton->SetImages(nNormal, nHover, nHeld, nNormal, nHover, nHeld);
    pButton->SetPressed(false);
}

void CDelayDlg::CreateButtons()
{
    for (int p = 0; p < kDelayPositions; ++p) {
        m_pPosition[p] = new CXPButton(kIdPosition + p, this);
        m_pPosition[p]->SetSkin(kSkinPosition + p * kSkinButtonStride);
        m_pPosition[p]->SetPressed(false);
        const QSize size = m_pPosition[p]->sizeHint();
        m_pPosition[p]->move(SkinRoom::SeatCentre(p) - QPoint(size.width() / 2, size.height() / 2));
        connect(m_pPosition[p], &CXPButton::clicked, this, [this, p] { OnPosition(p); });
    }
    m_pUnit = AddButton(kIdUnit, SkinRoom::UnitButton(g_nDelayUnit), SkinRoom::ButtonOrigin(SkinRoom::kUnitMs));
    const CXPButton* pLoad = AddButton(kIdLoad, SkinRoom::kLoad, SkinRoom::ButtonOrigin(SkinRoom::kLoad));
    const CXPButton* pSave = AddButton(kIdSave, SkinRoom::kSave, SkinRoom::ButtonOrigin(SkinRoom::kSave));
    const CXPButton* pOk = AddButton(kIdOk, SkinRoom::kOk, SkinRoom::ButtonOrigin(SkinRoom::kOk));
    const CXPButton* pCancel = AddButton(kIdCancel, SkinRoom::kCancel, SkinRoom::ButtonOrigin(SkinRoom::kCancel));
    connect(m_pUnit, &CXPButton::clicked, this, &CDelayDlg::OnUnit);
    connect(pLoad, &CXPButton::clicked, this, &CDelayDlg::OnLoad);
    connect(pSave, &CXPButton::clicked, this, [this] { m_host.SavePosition(); });
    // Every change is in effect already: both only close.
    connect(pOk, &CXPButton::clicked, this, &QDialog::accept);
    connect(pCancel, &CXPButton::clicked, this, &QDialog::reject);
}

void CDelayDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), SkinImage(ByLanguage(kSkinRoomEnglish, kSkinRoomChinese)));
}

bool CDelayDlg::focusNextPrevChild(bool)
{
    return false;
}

// ---- values ---------------------------------------------------------------------------

void CDelayDlg::LoadDialog()
{
    m_nPosition = GetCurrentPosition(m_host.State());
    for (int p = 0; p < kDelayPositions; ++p)
        m_pPosition[p]->SetPressed(p == m_nPosition);
    for (int k = 0; k < kOutputs; ++k)
        m_pSpin[k]->SetPos(GetPositionDelay(m_host.State(), m_nPosition, k));
}

void CDelayDlg::ShowUnit()
{
    SetFace(m_pUnit, SkinRoom::UnitButton(g_nDelayUnit));
    for (CNumEdit* pDelay : m_pDelay)
        pDelay->SetKind(DisplayKind(g_nDelayUnit));
}

void CDelayDlg::OnDelay(int nOutput)
{
    m_host.SetDelay(nOutput, m_pSpin[nOutput]->GetPos());
}

// The form shows the position, marks the table for sending and sends it.
void CDelayDlg::OnPosition(int nPosition)
{
    if (nPosition == m_nPosition)
        return;
    m_host.ApplyPosition(nPosition);
    LoadDialog();
}

void CDelayDlg::OnUnit()
{
    g_nDelayUnit = (g_nDelayUnit + 1) % 3;
    ShowUnit();
    m_host.ShowDelays();
}

// A failed load leaves the table as it was; the dialog shows it again
// either way.
void CDelayDlg::OnLoad()
{
    m_host.LoadPosition();
    LoadDialog();
}
