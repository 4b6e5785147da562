// The form at any window size. Smaller than its own 1260 × 725 it is drawn
// smaller as a whole; larger, the graph takes the extra width and height,
// the right-hand column keeps to the right edge, the page and the strip
// move down, the page's columns and the strip's channels share the extra
// width, and the group boxes of the strip's row widen with it.
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "CFStatic.h"
#include "EnTabCtrl.h"
#include "OutputDlg.h"
#include "QM7100View.h"
#include "SkinFactory.h"
#include "SkinIds.h"
#include "SxGroupBox.h"

namespace {
// The form's regions as built.
constexpr int kRightColumnX = 862;
constexpr int kUpperBottom = 270;   // the graph and the right-hand column end above
constexpr int kStripRowTop = 516;
constexpr int kChannelsLeft = 8;
constexpr int kChannelsRight = 744;
constexpr int kChannelColumn = 16;  // left edge of the first channel's controls
constexpr int kChannelPitch = 120;
constexpr int kChannels = 6;
}  // namespace

QSize CQM7100View::BaseSize()
{
    return {kSkinFormWidth, kSkinFormHeight};
}

void CQM7100View::RecordLayout()
{
    m_layout.Record(this);
    m_szPageBase = m_pPage->size();
    m_bLaidOut = true;
    ApplyFit(CFormFit::For(BaseSize(), size()));
}

void CQM7100View::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    if (m_bLaidOut)
        ApplyFit(CFormFit::For(BaseSize(), size()));
}

void CQM7100View::ApplyFit(const CFormFit& fit)
{
    m_fit = fit;
    m_layout.Apply(fit, [this](QWidget* pChild, const QRect& rcBase) { return Place(pChild, rcBase); });
    m_pPage->setGeometry(m_pTabFrame->PageRect());
    m_pPage->ApplyFit(fit, m_szPageBase);
    m_pGraph->SetTextScale(fit.dScale);
    m_pixBackground = QPixmap();
    update();
}

QRect CQM7100View::Place(QWidget* pChild, const QRect& rcBase) const
{
    const int nExtraX = m_fit.nExtraX;
    const int nExtraY = m_fit.nExtraY;
    if (pChild == m_pGraph)
        return rcBase.adjusted(0, 0, nExtraX, nExtraY);
    if (pChild == m_pTabFrame)
        return rcBase.translated(0, nExtraY).adjusted(0, 0, nExtraX, 0);
    const bool bBox = qobject_cast<CSxGroupBox*>(pChild) != nullptr;
    if (rcBase.top() < kUpperBottom) {
        // The right-hand column; its last box takes the extra height.
        const QRect rc = rcBase.left() >= kRightColumnX ? rcBase.translated(nExtraX, 0) : rcBase;
        return bBox ? rc.adjusted(0, 0, 0, nExtraY) : rc;
    }
    if (rcBase.top() < kStripRowTop)
        return rcBase.translated(0, nExtraY);
    const QRect rc = rcBase.translated(0, nExtraY);
    if (rcBase.left() >= kChannelsRight)
        return rc.translated(nExtraX, 0);
    if (bBox)
        return rc.adjusted(0, 0, nExtraX, 0);
    return rc.translated(StripShift(rcBase, nExtraX), 0);
}

// Each channel's controls in the middle of its share of the widened strip;
// the link buttons, which lie across channels, where their middle falls.
int CQM7100View::StripShift(const QRect& rcBase, int nExtraX)
{
    const int nChannel = std::clamp((rcBase.left() - kChannelColumn) / kChannelPitch, 0, kChannels - 1);
    const int nColumnRight = kChannelColumn + nChannel * kChannelPitch + kChannelPitch;
    const double dShare = rcBase.left() + rcBase.width() <= nColumnRight
                              ? (nChannel + 0.5) / kChannels
                              : static_cast<double>(rcBase.center().x() - kChannelsLeft) / (kChannelsRight - kChannelsLeft);
    return static_cast<int>(std::lround(nExtraX * dShare));
}

void CQM7100View::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int nSkin = ByLanguage(kSkinFormEnglish, kSkinFormChinese);
    if (m_fit.IsBase() && size() == BaseSize()) {
        painter.drawPixmap(0, 0, SkinImage(nSkin));
        return;
    }
    if (m_pixBackground.size() != size() || m_nBackgroundSkin != nSkin) {
        m_pixBackground = PaintFormBackground(nSkin == kSkinFormChinese, size(), m_fit.dScale, m_fit.nExtraX);
        m_nBackgroundSkin = nSkin;
    }
    painter.drawPixmap(0, 0, m_pixBackground);
}
