#include "HandoverPages.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "DataDefine.h"
#include "KTV_Data.h"
#include "ResponseSum.h"
#include "TextTable.h"
#include "ValueScales.h"

namespace {

constexpr double kTopDb = 20.0;
constexpr double kBottomDb = -20.0;
constexpr double kGridStepDb = 10.0;
constexpr std::array<int, 10> kLabelledFreqs = {20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};
constexpr double kMmPerInch = 25.4;
const QColor kGridColour(190, 190, 190);
const QColor kMeasurementColour(120, 120, 120);
const QColor kSumColour(0, 0, 0);

// The output's screen colour, dark enough for paper.
QColor PrintColour(uint32_t nRgb)
{
    return QColor::fromRgb(static_cast<QRgb>(nRgb)).darker(170);
}

QString Text(TextId id)
{
    return QString::fromStdString(Say(id));
}

QString OutputList(const std::vector<int>& outputs)
{
    QStringList names;
    for (const int i : outputs)
        names << QString::number(i + 1);
    return names.join(QStringLiteral(", "));
}

HandoverPage OutputPage(CKTV_Data& data, int nOutput, const CRoomCurve& room)
{
    CKTV_OutData& out = data.Output(nOutput);
    HandoverPage page;
    page.strTitle = Text(kTxtHandoverOutput).arg(nOutput + 1).arg(QString::fromStdString(out.GetName()));
    HandoverCurve response;
    SummedResponse(out.EQ(), response.dDb);
    response.colour = PrintColour(out.CurveColour());
    if (!room.IsEmpty()) {
        HandoverCurve measured{{}, room.First(), room.Last(), kMeasurementColour, 0.25, false};
        HandoverCurve predicted{{}, room.First(), room.Last(), response.colour, 0.4, true};
        room.Predict(out.EQ(), predicted.dDb);
        for (int i = room.First(); i <= room.Last(); ++i)
            measured.dDb[static_cast<std::size_t>(i)] = room.At(i);
        page.curves.push_back(measured);
        page.curves.push_back(predicted);
    }
    page.curves.push_back(response);
    return page;
}

HandoverPage SumPage(CKTV_Data& data, const HandoverInput& input)
{
    HandoverPage page;
    page.strTitle = Text(kTxtHandoverSum).arg(OutputList(input.sumOutputs));
    std::vector<SumMember> members;
    for (const int i : input.sumOutputs) {
        const CRoomCurve& room = input.rooms[static_cast<std::size_t>(i)];
        members.push_back({OutputChainOf(data, i), room.IsEmpty() ? nullptr : &room});
        HandoverCurve own{{}, 0, kAxisPoints - 1, PrintColour(data.Output(i).CurveColour()), 0.25, false};
        SummedResponse(data.Output(i).EQ(), own.dDb);
        for (double& d : own.dDb)
            d += members.back().chain.settings.dLevelDb;
        page.curves.push_back(own);
    }
    const SumResult sum = SumChains(members);
    page.curves.push_back({sum.dDb, sum.nFirst, sum.nLast, kSumColour, 0.6, false});
    if (sum.bFiltersOnly)
        page.strNote = Text(kTxtFiltersOnly);
    return page;
}

struct Plot {
    QRectF rc;
    double X(double dFreq) const { return rc.left() + rc.width() * std::log10(dFreq / 20.0) / 3.0; }
    double Y(double dDb) const
    {
        const double d = std::clamp(dDb, kBottomDb, kTopDb);
        return rc.top() + rc.height() * (kTopDb - d) / (kTopDb - kBottomDb);
    }
};

void DrawGrid(QPainter& painter, const Plot& plot)
{
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(QPen(kGridColour, 0));
    for (const int f : kLabelledFreqs) {
        painter.drawLine(QPointF(plot.X(f), plot.rc.top()), QPointF(plot.X(f), plot.rc.bottom()));
        const QString strLabel = f >= 1000 ? QString::number(f / 1000) + 'K' : QString::number(f);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(plot.X(f) - metrics.horizontalAdvance(strLabel) / 2.0, plot.rc.bottom() + metrics.height() * 1.4),
                         strLabel);
        painter.setPen(QPen(kGridColour, 0));
    }
    for (double d = kBottomDb; d <= kTopDb; d += kGridStepDb) {
        painter.drawLine(QPointF(plot.rc.left(), plot.Y(d)), QPointF(plot.rc.right(), plot.Y(d)));
        const QString strLabel = QString::number(d) + QStringLiteral(" dB");
        painter.setPen(Qt::black);
        painter.drawText(QPointF(plot.rc.left() - metrics.horizontalAdvance(strLabel) - metrics.height() / 2.0,
                                 plot.Y(d) + metrics.ascent() / 2.0),
                         strLabel);
        painter.setPen(QPen(kGridColour, 0));
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(plot.rc);
}

void DrawCurve(QPainter& painter, const Plot& plot, const HandoverCurve& curve, double dPixelsPerMm)
{
    QPainterPath path;
    for (int i = curve.nFirst; i <= curve.nLast; ++i) {
        const QPointF pt(plot.X(g_dFreqAxis[static_cast<std::size_t>(i)]), plot.Y(curve.dDb[static_cast<std::size_t>(i)]));
        if (i == curve.nFirst)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    QPen pen(curve.colour, curve.dWidthMm * dPixelsPerMm);
    pen.setStyle(curve.bDashed ? Qt::DashLine : Qt::SolidLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

}  // namespace

std::vector<HandoverPage> BuildHandoverPages(CKTV_Data& data, const HandoverInput& input)
{
    std::vector<HandoverPage> pages;
    for (int i = 0; i < kOutputs; ++i)
        pages.push_back(OutputPage(data, i, input.rooms[static_cast<std::size_t>(i)]));
    if (input.sumOutputs.size() >= 2)
        pages.push_back(SumPage(data, input));
    return pages;
}

void DrawHandoverPage(QPainter& painter, const QRect& rcArea, const HandoverPage& page, const QFont& font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int nLine = metrics.height();
    painter.setPen(Qt::black);
    QString strTitle = page.strTitle;
    if (!page.strNote.isEmpty())
        strTitle += QStringLiteral(" (") + page.strNote + ')';
    painter.drawText(QRect(rcArea.left(), rcArea.top(), rcArea.width(), nLine), Qt::AlignLeft, strTitle);
    painter.drawText(QRect(rcArea.left(), rcArea.top() + nLine, rcArea.width(), nLine), Qt::AlignLeft,
                     Text(kTxtHandoverLegend));
    const int nLeft = metrics.horizontalAdvance(QStringLiteral("-20 dB")) + nLine;
    const int nHeight = std::min(rcArea.height() - 5 * nLine, rcArea.width() * 2 / 3);
    const Plot plot{QRectF(rcArea.left() + nLeft, rcArea.top() + 3 * nLine, rcArea.width() - nLeft - nLine, nHeight)};
    DrawGrid(painter, plot);
    painter.setClipRect(plot.rc);
    const double dPixelsPerMm = painter.device()->logicalDpiX() / kMmPerInch;
    for (const HandoverCurve& curve : page.curves)
        DrawCurve(painter, plot, curve, dPixelsPerMm);
    painter.restore();
}
