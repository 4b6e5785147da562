#include "ControlName.h"
#include "NumSpin.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QWheelEvent>
#include <algorithm>

#include "DataDefine.h"
#include "NumEdit.h"
#include "Strings.h"

namespace {

constexpr int kWheelNotch = 120;  // angle delta of one wheel notch
constexpr int kDefaultHeight = 22;

// Frequency fields step along the response axis rather than hertz by hertz.
bool StepsAlongAxis(int nKind)
{
    return nKind == CNumKinds::kInteger || nKind == CNumKinds::kFrequency;
}

}  // namespace

CNumSpin::CNumSpin(int nId, QWidget* pParent)
    : QWidget(pParent), m_nId(nId)
{
    setObjectName(ControlName(nId));
    // Like the platform spin button the arrows never take the focus from the
    // field beside them.
    setFocusPolicy(Qt::NoFocus);
    setFixedWidth(kWidth);
    m_notifyTimer.setInterval(kNotifyPeriodMs);
    connect(&m_notifyTimer, &QTimer::timeout, this, &CNumSpin::NotifyIfChanged);
    connect(&m_repeatTimer, &QTimer::timeout, this, &CNumSpin::OnRepeatTimer);
    m_messageHook = [](QWidget* pParentWidget, const QString& strText) {
        QMessageBox::warning(pParentWidget, QString(), strText);
    };
}

void CNumSpin::SetBuddy(CNumEdit* pBuddy)
{
    if (m_pBuddy)
        m_pBuddy->removeEventFilter(this);
    m_pBuddy = pBuddy;
    if (!pBuddy)
        return;
    pBuddy->installEventFilter(this);
    m_nPos = pBuddy->GetValue();
}

void CNumSpin::SetRange(int nMin, int nMax)
{
    m_nMin = nMin;
    m_nMax = nMax;
    m_nPos = nMin;
    if (m_pBuddy)
        m_pBuddy->SetRange(nMin, nMax);
}

int CNumSpin::GetPos()
{
    return m_pBuddy ? m_pBuddy->GetPos() : m_nPos;
}

void CNumSpin::SetPos(int nPos)
{
    if (nPos < m_nMin || nPos > m_nMax) {
        const int nBuddyId = m_pBuddy ? m_pBuddy->Id() : 0;
        ShowMessage(QStringLiteral("%1ID:").arg(nBuddyId) + Tr(kTxtSetPosError));
        return;
    }
    m_nPos = nPos;
    if (m_pBuddy)
        m_pBuddy->SetPos(nPos);
}

bool CNumSpin::IsModified() const
{
    return m_pBuddy && m_pBuddy->IsModified();
}

void CNumSpin::ShowMessage(const QString& strText)
{
    if (m_messageHook)
        m_messageHook(window(), strText);
}

// ---- Stepping ---------------------------------------------------------------------

void CNumSpin::Step(int nDelta)
{
    if (!m_pBuddy)
        return;
    // Typed text counts before the step; otherwise the field's own value is
    // the position, even if the owner set the field directly.
    m_nPos = m_pBuddy->IsModified() ? m_pBuddy->GetPos() : m_pBuddy->GetValue();
    const int nPos = NextPosition(nDelta);
    if (nPos != m_nPos) {
        m_nPos = nPos;
        m_bChanged = true;
    }
    m_pBuddy->SetPos(m_nPos);
    if (!m_bHeld) {
        m_bChanged = false;
        emit Notify(m_nId);
    }
}

int CNumSpin::NextPosition(int nDelta) const
{
    const int nPos = std::clamp(m_nPos + nDelta, m_nMin, std::max(m_nMin, m_nMax));
    // The kind as it is now: an owner may set it after the range.
    return StepsAlongAxis(m_pBuddy->GetKind()) ? FrequencyStep(nPos) : nPos;
}

int CNumSpin::FrequencyStep(int nPos) const
{
    const int nValue = m_pBuddy->GetValue();
    if (nPos == nValue)
        return nPos;
    const int nNearest = NearestAxisIndex(nPos);
    if (nPos > nValue) {
        const int nNext = std::min(nNearest + 1, kAxisPoints - 1);
        return std::min(static_cast<int>(g_dFreqAxis[nNext]), m_nMax);
    }
    const int nPrev = std::max(nNearest - 1, 0);
    return std::max(static_cast<int>(g_dFreqAxis[nPrev]), m_nMin);
}

void CNumSpin::NotifyIfChanged()
{
    if (!m_bChanged)
        return;
    m_bChanged = false;
    emit Notify(m_nId);
}

// ---- Mouse and keys ----------------------------------------------------------------

QRect CNumSpin::HalfRect(int nDelta) const
{
    const int nHalf = height() / 2;
    return nDelta > 0 ? QRect(0, 0, width(), nHalf) : QRect(0, nHalf, width(), height() - nHalf);
}

void CNumSpin::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    m_nHeldDelta = HalfRect(1).contains(pEvent->position().toPoint()) ? 1 : -1;
    // Held before the first step, so the dialog hears of it on the timer
    // or at release, never twice for one click.
    m_bHeld = true;
    m_notifyTimer.start();
    m_repeatTimer.start(kRepeatDelayMs);
    Step(m_nHeldDelta);
    update();
}

void CNumSpin::OnRepeatTimer()
{
    if (m_repeatTimer.interval() != kRepeatPeriodMs)
        m_repeatTimer.setInterval(kRepeatPeriodMs);
    Step(m_nHeldDelta);
}

void CNumSpin::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton || !m_bHeld) {
        QWidget::mouseReleaseEvent(pEvent);
        return;
    }
    Release();
}

void CNumSpin::Release()
{
    m_bHeld = false;
    m_nHeldDelta = 0;
    m_notifyTimer.stop();
    m_repeatTimer.stop();
    NotifyIfChanged();
    update();
}

// A hidden or disabled spin gets no button release; end the hold here.
void CNumSpin::hideEvent(QHideEvent* pEvent)
{
    if (m_bHeld)
        Release();
    QWidget::hideEvent(pEvent);
}

void CNumSpin::changeEvent(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::EnabledChange && !isEnabled() && m_bHeld)
        Release();
    QWidget::changeEvent(pEvent);
}

void CNumSpin::wheelEvent(QWheelEvent* pEvent)
{
    HandleWheel(pEvent);
}

void CNumSpin::HandleWheel(QWheelEvent* pEvent)
{
    pEvent->accept();
    if (!isEnabled())
        return;
    // Fine-grained wheels send parts of a notch; a step needs a whole one.
    m_nWheelRemainder += pEvent->angleDelta().y();
    while (std::abs(m_nWheelRemainder) >= kWheelNotch) {
        const int nDelta = m_nWheelRemainder > 0 ? 1 : -1;
        m_nWheelRemainder -= nDelta * kWheelNotch;
        Step(nDelta);
    }
}

bool CNumSpin::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // The type is tested first: a buddy being destroyed still sends events
    // through the filter, and it is no longer a CNumEdit by then.
    const bool bStepEvent = pEvent->type() == QEvent::KeyPress || pEvent->type() == QEvent::Wheel;
    if (!bStepEvent || pWatched != m_pBuddy || !isEnabled() || !m_pBuddy->isEnabled())
        return QWidget::eventFilter(pWatched, pEvent);
    if (pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Up || nKey == Qt::Key_Down) {
            Step(nKey == Qt::Key_Up ? 1 : -1);
            return true;
        }
    } else if (pEvent->type() == QEvent::Wheel) {
        HandleWheel(static_cast<QWheelEvent*>(pEvent));
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

// ---- Painting -------------------------------------------------------------------------

QSize CNumSpin::sizeHint() const
{
    return {kWidth, kDefaultHeight};
}

void CNumSpin::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (const int nDelta : {1, -1}) {
        QStyleOption opt;
        opt.initFrom(this);
        opt.rect = HalfRect(nDelta);
        const bool bPressed = m_bHeld && m_nHeldDelta == nDelta;
        opt.state |= bPressed ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &painter, this);
        opt.rect = opt.rect.adjusted(3, 2, -3, -2);
        const auto arrow = nDelta > 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown;
        style()->drawPrimitive(arrow, &opt, &painter, this);
    }
}
