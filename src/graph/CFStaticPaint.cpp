// Drawing of the response graph into its off-screen picture, in device
// pixels: the cached background, then what the model currently holds.
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <array>

#include "CFStatic.h"
#include "DataDefine.h"
#include "Filter.h"
#include "GlobalData.h"
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
constexpr int kTextBleed = 2;  // anti-aliased glyphs may reach past their box
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

// The level scale's labels, top to bottom, by view.
using LevelLabels = std::array<const char*, 5>;
constexpr std::array<LevelLabels, kResponseViews> kLevelLabels = {{
    {"+20", "+10", "0dB", "-10", "-20"},
    {"+180", "+90", "0°", "-90", "-180"},
    {"+20", "+10", "0ms", "-10", "-20"},
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

QRect PlotInterior(const QRect& rcPlot)
{
    return rcPlot.adjusted(1, 1, -1, -1);
}

// The box a one-line text takes when aligned in rcCell (centred vertically).
QRect TextBox(const QFontMetrics& metrics, const QRect& rcCell, Qt::Alignment align, const QString& strText)
{
    const QSize szText(metrics.horizontalAdvance(strText), metrics.height());
    int x = rcCell.left() + (rcCell.width() - szText.width()) / 2;
    if (align & Qt::AlignLeft)
        x = rcCell.left();
    else if (align & Qt::AlignRight)
        x = rcCell.left() + rcCell.width() - szText.width();
    return QRect(QPoint(x, rcCell.top() + (rcCell.height() - szText.height()) / 2), szText);
}

// A label near the plot's edges (a crossover's below its marker at the
// bottom, a long shelf description at 20 Hz, a marker reaching past the
// ends) is moved in whole rather than cut by the border.
QRect KeepInside(QRect rc, const QRect& rcBounds)
{
    if (rc.right() > rcBounds.right())
        rc.moveRight(rcBounds.right());
    if (rc.left() < rcBounds.left())
        rc.moveLeft(rcBounds.left());
    if (rc.bottom() > rcBounds.bottom())
        rc.moveBottom(rcBounds.bottom());
    if (rc.top() < rcBounds.top())
        rc.moveTop(rcBounds.top());
    return rc;
}

QString BandLabel(const CFilter& band, int nIndex)
{
    if (band.GetKind() == kHighPass)
        return QStringLiteral("H");
    if (band.GetKind() == kLowPass)
        return QStringLiteral("L");
    return QString::number(nIndex + 1);
}

bool DrawsPlot(CKTV_Data* pData)
{
    const int nType = pData ? pData->State().m_nDeviceType.load() : 0;
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
    ++m_nRenders;
    m_bDirty = false;
    if (size().isEmpty())
        return;
    // The background is drawn again when the language, the scale's unit or
    // the lettering's size changes.
    m_canvas.Begin(size(), devicePixelRatioF(),
                   g_bChinese.load() + 2 * static_cast<int>(m_view) + 8 * m_font.pixelSize(),
                   [this](QImage& background) { DrawBackground(background); });
    QPainter painter(&m_canvas.Picture());
    painter.setClipRect(m_rcPlot);
    const bool bBands = ShowsBands();
    if (m_nMode == kModeNone) {
        DrawPlotBox(painter, kNoChannelOutline);
    } else if (bBands) {
        DrawPlotBox(painter, kPlotBorder);
        DrawArea(painter);
    } else {
        painter.fillRect(m_rcPlot, kPlotBack);  // no plot: only the frame
        m_canvas.Touch(m_rcPlot);
        return;
    }
    // The curves are written into the picture's pixels, not painted.
    painter.end();
    DrawShownCurves();
    if (!bBands)
        return;
    CChannelRecord& record = *CurrentRecord();
    record.RecomputeCurve();
    if (m_view == ResponseView::Magnitude) {
        DrawRoomCurves(record);
        DrawCurve(record);
    } else {
        DrawOutputView(m_nChannel, kCurvePenWidth);
    }
    DrawEvidence();

    painter.begin(&m_canvas.Picture());
    painter.setClipRect(m_rcPlot);
    painter.setFont(m_font);
    DrawBandLabels(painter);
    DrawHandles(painter);
    DrawDescription(painter);
}

bool CFStatic::ShowsBands() const
{
    return m_nMode != kModeNone && CurrentRecord() && DrawsPlot(m_pData);
}

void CFStatic::DrawBackground(QImage& background) const
{
    QPainter painter(&background);
    painter.setFont(m_font);
    DrawFrame(painter);
    painter.setClipRect(m_rcPlot);
    DrawGrid(painter);
}

void CFStatic::DrawFrame(QPainter& painter) const
{
    const QRect rcClient = rect();
    painter.fillRect(rcClient, kPlotBack);
    painter.setPen(kAxisColour);
    painter.setBrush(Qt::NoBrush);
    OutlineRect(painter, rcClient);

    const int nEighth = m_rcPlot.height() / 8;
    const LevelLabels& labels = kLevelLabels[static_cast<size_t>(m_view)];
    TextAt(painter, kLevelLabelX, rcClient.top() + 5, QString::fromUtf8(labels[0]));
    TextAt(painter, kLevelLabelX, nEighth * 2 + 3, QString::fromUtf8(labels[1]));
    TextAt(painter, kLevelLabelX, nEighth * 4 + 3, QString::fromUtf8(labels[2]));
    TextAt(painter, kLevelLabelX, nEighth * 6 + 3, QString::fromUtf8(labels[3]));
    TextAt(painter, kLevelLabelX, m_rcPlot.height(), QString::fromUtf8(labels[4]));

    const int yFreq = m_rcPlot.top() + m_rcPlot.height();
    TextAt(painter, kLowestLabelX, yFreq, QStringLiteral("20"));
    for (const FreqLabel& label : kFreqLabels) {
        const int x = FreqToCol(label.nFreq, m_rcPlot.width()) + kPlotOffsetX - label.nShift;
        TextAt(painter, x, yFreq, QString::fromLatin1(label.szText));
    }
}

void CFStatic::DrawPlotBox(QPainter& painter, const QColor& crOutline) const
{
    // Only the outline: the background holds the black plot and its grid.
    painter.setPen(crOutline);
    painter.setBrush(Qt::NoBrush);
    OutlineRect(painter, m_rcPlot);
}

void CFStatic::DrawArea(QPainter& painter)
{
    const CFilter* pBand = BandAt(DescribedBand());
    if (!pBand)
        return;
    QPolygon polygon(kAreaPoints);
    const auto& area = pBand->AreaPolygon();
    for (int i = 0; i < kAreaPoints; ++i)
        polygon.setPoint(i, area[i].x, area[i].y);
    // The area lies under the grid and inside the border: the grid lines it
    // covered are drawn again.
    const QRect rcArea = PlotInterior(m_rcPlot) & polygon.boundingRect();
    painter.save();
    painter.setClipRect(rcArea);
    painter.setPen(kAreaColour);
    painter.setBrush(kAreaColour);
    painter.drawPolygon(polygon);
    DrawGrid(painter);
    painter.restore();
    m_canvas.Touch(rcArea);
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

void CFStatic::DrawShownCurves()
{
    if (!m_pData)
        return;
    // The current channel's curve is drawn last, over the others.
    const CChannelRecord* pCurrent = ShowsBands() ? CurrentRecord() : nullptr;
    for (int i = 0; i < kOutputs; ++i) {
        CKTV_OutData& output = m_pData->Output(i);
        if (!output.IsCurveVisible() || &output == pCurrent)
            continue;
        output.RecomputeCurve();
        if (m_view == ResponseView::Magnitude)
            DrawCurve(output);
        else
            DrawOutputView(i, kCurvePenWidth);
    }
}

void CFStatic::DrawCurve(CChannelRecord& record)
{
    std::array<QPointF, kAxisPoints> points;
    const auto& curve = record.CurveF();
    for (int i = 0; i < kAxisPoints; ++i)
        points[i] = QPointF(curve[i].x, curve[i].y);
    m_canvas.DrawCurve(points.data(), kAxisPoints, kCurvePenWidth, record.CurveColour(), m_rcPlot);
}

void CFStatic::DrawBandLabels(QPainter& painter)
{
    const CKTVEQ& bands = *Bands();
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(kLabelColour);
    for (int i = bands.GetSize() - 1; i >= 0; --i) {
        const CFilter& band = bands[i];
        const QString strLabel = BandLabel(band, i);
        DrawLabel(painter, TextBox(metrics, ToQRect(band.MarkerRect()), LabelAlignment(band, m_rcPlot), strLabel),
                  strLabel);
    }
}

void CFStatic::DrawHandles(QPainter& painter)
{
    const CFilter* pBand = Engaged();
    if (!pBand || pBand->GetKind() != kPeaking || pBand->IsGraphic())
        return;
    painter.setPen(QColor::fromRgb(CurrentRecord()->CurveColour()));
    painter.setBrush(Qt::NoBrush);
    for (const BandRect& rcHandle : {pBand->LeftHandleRect(), pBand->RightHandleRect()}) {
        OutlineRect(painter, ToQRect(rcHandle));
        m_canvas.Touch(ToQRect(rcHandle));
    }
}

void CFStatic::DrawDescription(QPainter& painter)
{
    CFilter* pBand = BandAt(DescribedBand());
    if (!pBand)
        return;
    painter.setPen(kLabelColour);
    const QString strText = QString::fromStdString(pBand->Describe());
    DrawLabel(painter, TextBox(painter.fontMetrics(), ToQRect(pBand->TextRect()), Qt::AlignHCenter, strText), strText);
}

void CFStatic::DrawLabel(QPainter& painter, const QRect& rcText, const QString& strText)
{
    const QRect rc = KeepInside(rcText, PlotInterior(m_rcPlot));
    TextAt(painter, rc.left(), rc.top(), strText);
    m_canvas.Touch(rc.adjusted(-kTextBleed, -kTextBleed, kTextBleed, kTextBleed));
}
