// Drawing of the response graph into its off-screen picture.
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <array>

#include "CFStatic.h"
#include "DataDefine.h"
#include "Filter.h"
#include "KTV_Data.h"

namespace {

const QColor kPlotBack(0, 0, 0);
const QColor kPlotBorder(0, 180, 0);
const QColor kGridColour(21, 100, 21);
const QColor kAreaColour(68, 86, 98);
const QColor kAxisColour(100, 100, 100);
const QColor kLabelColour(255, 255, 255);
const QColor kNoChannelOutline(255, 255, 255);

constexpr int kCurvePenWidth = 2;
constexpr int kLevelLabelX = 6;
constexpr int kLowestLabelX = 30;  // "20" sits left of the plot edge

// Frequency labels under the plot, pulled left by about half their width.
struct FreqLabel {
    int nFreq;
    const char* szText;
    int nShift;
};
constexpr std::array<FreqLabel, 9> kFreqLabels = {{
    {50, "50", 8},
    {100, "100", 10},
    {200, "200", 10},
    {500, "500", 10},
    {1000, "1K", 8},
    {2000, "2K", 8},
    {5000, "5K", 8},
    {10000, "10K", 10},
    {20000, "20K", 15},
}};

QRect ToQRect(const BandRect& rc)
{
    return QRect(QPoint(rc.left, rc.top), QPoint(rc.right - 1, rc.bottom - 1));
}

// An outline on the rectangle's own pixels (right and bottom exclusive).
void OutlineRect(QPainter& painter, const QRect& rc)
{
    painter.drawRect(rc.adjusted(0, 0, -1, -1));
}

// Text placed by the top left of its cell, as the labels are laid out.
void TextAt(QPainter& painter, int x, int y, const QString& strText)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), strText);
}

QString BandLabel(const CFilter& band, int nIndex)
{
    if (band.GetKind() == kHighPass)
        return QStringLiteral("H");
    if (band.GetKind() == kLowPass)
        return QStringLiteral("L");
    return QString::number(nIndex + 1);
}

bool DrawsPlot()
{
    const int nType = g_nDeviceType.load();
    return nType == 1 || nType == 2;
}

}  // namespace

Qt::Alignment CFStatic::LabelAlignment(const CFilter& band, const QRect& rcPlot)
{
    const int nPlotRight = rcPlot.left() + rcPlot.width();
    if (band.MarkerRect().right == nPlotRight)
        return Qt::AlignLeft;
    if (band.GetFrequency() <= kMinFreq)
        return Qt::AlignRight;
    if (band.GetFrequency() >= kMaxFreq)
        return Qt::AlignLeft;
    return Qt::AlignHCenter;
}

void CFStatic::Render()
{
    if (m_image.size() != size())
        m_image = QImage(size(), QImage::Format_RGB32);
    if (m_image.isNull())
        return;
    QPainter painter(&m_image);
    painter.setFont(m_font);
    DrawFrame(painter);
    painter.setClipRect(m_rcPlot);
    if (m_nMode == kModeNone)
        DrawNoChannelPlot(painter);
    else if (CurrentRecord() && DrawsPlot())
        DrawOutputPlot(painter);
}

void CFStatic::DrawFrame(QPainter& painter) const
{
    const QRect rcClient = rect();
    painter.fillRect(rcClient, kPlotBack);
    painter.setPen(kAxisColour);
    painter.setBrush(Qt::NoBrush);
    OutlineRect(painter, rcClient);

    const int nEighth = m_rcPlot.height() / 8;
    TextAt(painter, kLevelLabelX, rcClient.top() + 5, QStringLiteral("+20"));
    TextAt(painter, kLevelLabelX, nEighth * 2 + 3, QStringLiteral("+10"));
    TextAt(painter, kLevelLabelX, nEighth * 4 + 3, QStringLiteral("0dB"));
    TextAt(painter, kLevelLabelX, nEighth * 6 + 3, QStringLiteral("-10"));
    TextAt(painter, kLevelLabelX, m_rcPlot.height(), QStringLiteral("-20"));

    const int yFreq = m_rcPlot.top() + m_rcPlot.height();
    TextAt(painter, kLowestLabelX, yFreq, QStringLiteral("20"));
    for (const FreqLabel& label : kFreqLabels) {
        const int x = FreqToCol(label.nFreq, m_rcPlot.width()) + kPlotOffsetX - label.nShift;
        TextAt(painter, x, yFreq, QString::fromLatin1(label.szText));
    }
}

void CFStatic::DrawOutputPlot(QPainter& painter)
{
    DrawPlotBox(painter, kPlotBorder);
    DrawArea(painter);
    DrawGrid(painter);
    DrawShownCurves(painter);
    CChannelRecord& record = *CurrentRecord();
    record.RecomputeCurve();
    DrawCurve(painter, record);
    DrawBandLabels(painter);
    DrawHandles(painter);
    DrawDescription(painter);
}

void CFStatic::DrawNoChannelPlot(QPainter& painter)
{
    DrawPlotBox(painter, kNoChannelOutline);
    DrawGrid(painter);
    DrawShownCurves(painter);
}

void CFStatic::DrawPlotBox(QPainter& painter, const QColor& crOutline) const
{
    painter.setPen(crOutline);
    painter.setBrush(kPlotBack);
    OutlineRect(painter, m_rcPlot);
}

void CFStatic::DrawArea(QPainter& painter) const
{
    const CFilter* pBand = BandAt(DescribedBand());
    if (!pBand)
        return;
    QPolygon polygon(kAreaPoints);
    const auto& area = pBand->AreaPolygon();
    for (int i = 0; i < kAreaPoints; ++i)
        polygon.setPoint(i, area[i].x, area[i].y);
    painter.setPen(kAreaColour);
    painter.setBrush(kAreaColour);
    painter.drawPolygon(polygon);
}

void CFStatic::DrawGrid(QPainter& painter) const
{
    painter.setPen(kGridColour);
    const int nTop = m_rcPlot.top();
    const int nBottom = m_rcPlot.bottom();
    for (int k = 1; k < kGridStops; ++k)
        painter.drawLine(m_nGridX[k], nTop, m_nGridX[k], nBottom);
    const int nEighth = m_rcPlot.height() / 8;
    for (int k = 1; k <= 8; ++k) {
        const int y = nTop + k * nEighth;
        painter.drawLine(m_rcPlot.left(), y, m_rcPlot.right(), y);
    }
}

void CFStatic::DrawShownCurves(QPainter& painter) const
{
    if (!m_pData)
        return;
    for (int i = 0; i < kOutputs; ++i) {
        CKTV_OutData& output = m_pData->Output(i);
        if (!output.IsCurveVisible())
            continue;
        output.RecomputeCurve();
        DrawCurve(painter, output);
    }
}

void CFStatic::DrawCurve(QPainter& painter, CChannelRecord& record) const
{
    std::array<QPointF, kAxisPoints> points;
    const auto& curve = record.CurveF();
    for (int i = 0; i < kAxisPoints; ++i)
        points[i] = QPointF(curve[i].x, curve[i].y);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor::fromRgb(record.CurveColour()), kCurvePenWidth));
    painter.drawPolyline(points.data(), kAxisPoints);
    painter.restore();
}

void CFStatic::DrawBandLabels(QPainter& painter) const
{
    const CKTVEQ& bands = *Bands();
    painter.setPen(kLabelColour);
    for (int i = bands.GetSize() - 1; i >= 0; --i) {
        const CFilter& band = bands[i];
        painter.drawText(ToQRect(band.MarkerRect()), LabelAlignment(band, m_rcPlot) | Qt::AlignVCenter,
                         BandLabel(band, i));
    }
}

void CFStatic::DrawHandles(QPainter& painter) const
{
    const CFilter* pBand = Engaged();
    if (!pBand || pBand->GetKind() != kPeaking || pBand->IsGraphic())
        return;
    painter.setPen(QColor::fromRgb(CurrentRecord()->CurveColour()));
    painter.setBrush(Qt::NoBrush);
    OutlineRect(painter, ToQRect(pBand->LeftHandleRect()));
    OutlineRect(painter, ToQRect(pBand->RightHandleRect()));
}

void CFStatic::DrawDescription(QPainter& painter) const
{
    CFilter* pBand = BandAt(DescribedBand());
    if (!pBand)
        return;
    painter.setPen(kLabelColour);
    // A long shelf description may run past its rectangle; the plot still
    // bounds it.
    painter.drawText(ToQRect(pBand->TextRect()), Qt::AlignCenter | Qt::TextDontClip,
                     QString::fromStdString(pBand->Describe()));
}
