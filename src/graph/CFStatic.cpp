#include "ControlName.h"
#include "CFStatic.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "DataDefine.h"
#include "Filter.h"
#include "KTV_Data.h"

namespace {

// Client pixels around the plot: level labels on the left, frequency
// labels below.
constexpr int kInsetLeft = kPlotOffsetX;
constexpr int kInsetTop = kPlotOffsetY;
constexpr int kInsetRight = 10;
constexpr int kInsetBottom = 20;

// 20 … 100 Hz in tens, 200 … 1000 Hz in hundreds, 2 … 10 kHz in thousands.
constexpr std::array<int, CFStatic::kGridStops> kGridFreq = {
    20,   30,   40,   50,   60,   70,   80,   90,   100,  200,  300,  400,  500,  600,
    700,  800,  900,  1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000};

constexpr int kTextPixels = 12;

}  // namespace

CFStatic::CFStatic(int nId, QWidget* pParent)
    : QWidget(pParent), m_nId(nId), m_font(QStringLiteral("Arial"))
{
    setObjectName(ControlName(nId));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    // Every pixel comes from the off-screen picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_font.setPixelSize(kTextPixels);
    m_notifyTimer.setInterval(kNotifyPeriodMs);
    connect(&m_notifyTimer, &QTimer::timeout, this, &CFStatic::ReportChange);
    BuildEvidenceRow();
    UpdateGeometry();
}

void CFStatic::AttachModel(CKTV_Data* pData)
{
    m_pData = pData;
    UpdateGeometry();
    if (m_pData) {
        m_pData->SetPlotRect(m_rcPlot.width(), m_rcPlot.height());
        m_szModelPlot = m_rcPlot.size();
    }
    m_notifyTimer.start();
}

void CFStatic::SetTextScale(double dScale)
{
    const int nPixels = std::max(1, static_cast<int>(std::lround(kTextPixels * dScale)));
    if (nPixels == m_font.pixelSize())
        return;
    m_font.setPixelSize(nPixels);
    Redraw(m_nShownBand);
}

void CFStatic::SelectOutputChannel(int nChannel)
{
    if (nChannel < 0 || nChannel >= kOutputs)
        return;
    Disengage();
    m_nChannel = nChannel;
    Redraw(m_nShownBand);
}

void CFStatic::SetMode(int nMode)
{
    if (nMode != kModeNone && nMode != kModeOutput)
        return;
    if (nMode != m_nMode)
        Disengage();
    m_nMode = nMode;
    Redraw(m_nShownBand);
}

void CFStatic::Redraw(int nShownBand)
{
    m_nShownBand = nShownBand;
    m_bDirty = true;
    update();
}

const QImage& CFStatic::Offscreen()
{
    if (m_bDirty)
        Render();
    return m_canvas.Picture();
}

int CFStatic::SourceCode() const
{
    return kSourceOutput + m_nChannel;
}

CChannelRecord* CFStatic::CurrentRecord() const
{
    if (!m_pData || m_nMode != kModeOutput)
        return nullptr;
    return &m_pData->Output(m_nChannel);
}

CKTVEQ* CFStatic::Bands() const
{
    CChannelRecord* pRecord = CurrentRecord();
    return pRecord ? &pRecord->EQ() : nullptr;
}

CFilter* CFStatic::BandAt(int nIndex) const
{
    CKTVEQ* pBands = Bands();
    if (!pBands || nIndex < 0 || nIndex >= pBands->GetSize())
        return nullptr;
    return &(*pBands)[nIndex];
}

int CFStatic::DescribedBand() const
{
    if (BandAt(m_nShownBand))
        return m_nShownBand;
    return Engaged() ? m_nEngaged : -1;
}

void CFStatic::UpdateGeometry()
{
    const int W = std::max(width() - kInsetLeft - kInsetRight, 0);
    const int H = std::max(height() - kInsetTop - kInsetBottom, 0);
    m_rcPlot = QRect(kInsetLeft, kInsetTop, W, H);
    for (int k = 0; k < kGridStops; ++k)
        m_nGridX[k] = FreqToCol(kGridFreq[k], W) + kPlotOffsetX;
    UpdateEvidenceRow();
}

void CFStatic::ReportChange()
{
    if (!m_bChanged)
        return;
    m_bChanged = false;
    emit BandChanged(m_nChangedBand, SourceCode());
}

void CFStatic::paintEvent(QPaintEvent* pEvent)
{
    // Every paint draws afresh, also one that no Redraw asked for (an
    // exposure), so the picture never lags the model.
    Render();
    const QImage& picture = m_canvas.Picture();
    const QRect rc = pEvent->rect();
    const qreal dRatio = picture.devicePixelRatio();
    QPainter painter(this);
    painter.drawImage(rc, picture, QRectF(QPointF(rc.topLeft()) * dRatio, QSizeF(rc.size()) * dRatio));
}

void CFStatic::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    UpdateGeometry();
    if (m_pData && m_rcPlot.size() != m_szModelPlot) {
        m_pData->SetPlotRect(m_rcPlot.width(), m_rcPlot.height());
        m_szModelPlot = m_rcPlot.size();
    }
    m_bDirty = true;
}
