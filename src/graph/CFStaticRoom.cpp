// The room measurement on the response graph and the graph's context menu.
//
// Both curves come from the model's axis values through the same pixel
// rules as the response curve, and are drawn by the same column stroker:
// a measurement and its prediction cost two more curves per picture.
#include <QContextMenuEvent>
#include <QMenu>

#include "CFStatic.h"
#include "DataDefine.h"
#include "KTV_Data.h"
#include "Strings.h"

namespace {

constexpr QRgb kMeasurementColour = qRgb(150, 150, 150);
constexpr double kMeasurementWidth = 1.0;
constexpr double kPredictedWidth = 2.0;
// Dashes of the predicted response, in axis points (24 to the octave).
constexpr int kDashPoints = 4;
constexpr int kGapPoints = 3;

}  // namespace

void CFStatic::SetMeasurement(int nChannel, const CRoomCurve& curve)
{
    if (nChannel < 0 || nChannel >= kOutputs)
        return;
    m_room[static_cast<size_t>(nChannel)] = curve;
    m_positions[static_cast<size_t>(nChannel)].clear();
    Redraw(m_nShownBand);
}

void CFStatic::ClearMeasurement(int nChannel)
{
    if (nChannel < 0 || nChannel >= kOutputs)
        return;
    m_room[static_cast<size_t>(nChannel)].Clear();
    m_positions[static_cast<size_t>(nChannel)].clear();
    Redraw(m_nShownBand);
}

const CRoomCurve& CFStatic::Measurement(int nChannel) const
{
    return m_room[static_cast<size_t>(std::clamp(nChannel, 0, kOutputs - 1))];
}

void CFStatic::SetFitPreview(int nChannel, const AxisResponse& curve)
{
    m_nPreviewChannel = std::clamp(nChannel, 0, kOutputs - 1);
    m_preview = curve;
    Redraw(m_nShownBand);
}

void CFStatic::ClearFitPreview()
{
    m_nPreviewChannel = -1;
    Redraw(m_nShownBand);
}

void CFStatic::DrawRoomCurves(const CChannelRecord& record)
{
    m_measured.clear();
    m_predicted.clear();
    const CRoomCurve& room = m_room[static_cast<size_t>(m_nChannel)];
    if (m_nMode != kModeOutput || room.IsEmpty())
        return;
    AxisResponse predicted{};
    room.Predict(record.EQ(), predicted);
    if (m_nPreviewChannel == m_nChannel) {
        for (int i = room.First(); i <= room.Last(); ++i)
            predicted[static_cast<size_t>(i)] = room.At(i) + m_preview[static_cast<size_t>(i)];
    }
    const int nH = m_rcPlot.height();
    const auto& curve = record.CurveF();
    for (int i = room.First(); i <= room.Last(); ++i) {
        const auto n = static_cast<size_t>(i);
        const double x = curve[n].x;
        m_measured.emplace_back(x, DbToRowF(room.At(i), nH) + kPlotOffsetY);
        m_predicted.emplace_back(x, DbToRowF(predicted[n], nH) + kPlotOffsetY);
    }
    const int nPoints = static_cast<int>(m_measured.size());
    const Positions& positions = m_positions[static_cast<size_t>(m_nChannel)];
    if (positions.size() > 1) {
        std::vector<MeasurementPoint> average;
        std::string strError;
        if (PowerAverage(positions, &average, &strError))
            DrawSpread(average, room.Offset());
    }
    m_canvas.DrawCurve(m_measured.data(), nPoints, kMeasurementWidth, kMeasurementColour, m_rcPlot);
    const QRgb crOutput = 0xFF000000u | record.CurveColour();
    for (int i = 0; i + 1 < nPoints; i += kDashPoints + kGapPoints) {
        const int nDash = std::min(kDashPoints + 1, nPoints - i);
        m_canvas.DrawCurve(m_predicted.data() + i, nDash, kPredictedWidth, crOutput, m_rcPlot);
    }
}

void CFStatic::SetHistoryTexts(const QString& strUndo, const QString& strRedo)
{
    m_strUndo = strUndo;
    m_strRedo = strRedo;
}

void CFStatic::contextMenuEvent(QContextMenuEvent* pEvent)
{
    QMenu menu(this);
    FillContextMenu(menu);
    // A drag never runs on under the menu.
    Disengage();
    menu.exec(pEvent->globalPos());
}

void CFStatic::FillContextMenu(QMenu& menu)
{
    auto historyEntry = [&menu, this](TextId named, TextId bare, const QString& strStep, void (CFStatic::*signal)()) {
        QAction* pAction = menu.addAction(strStep.isEmpty() ? Tr(bare) : Tr(named).arg(strStep), this, signal);
        pAction->setEnabled(!strStep.isEmpty());
    };
    historyEntry(kTxtUndoStep, kTxtUndo, m_strUndo, &CFStatic::UndoRequested);
    historyEntry(kTxtRedoStep, kTxtRedo, m_strRedo, &CFStatic::RedoRequested);
    menu.addAction(Tr(kTxtHistoryMenu), this, &CFStatic::HistoryRequested);
    menu.addSeparator();
    const bool bOutput = m_nMode == kModeOutput;
    QAction* pLoad = menu.addAction(Tr(kTxtLoadMeasurement), this, &CFStatic::LoadMeasurementRequested);
    QAction* pClear = menu.addAction(Tr(kTxtClearMeasurement), this, &CFStatic::ClearMeasurementRequested);
    menu.addSeparator();
    QAction* pImport = menu.addAction(Tr(kTxtImportFilters), this, &CFStatic::ImportFiltersRequested);
    QAction* pExport = menu.addAction(Tr(kTxtExportFilters), this, &CFStatic::ExportFiltersRequested);
    QAction* pFit = menu.addAction(Tr(kTxtFitToMeasurement), this, &CFStatic::FitRequested);
    pLoad->setEnabled(bOutput);
    pClear->setEnabled(bOutput && !m_room[static_cast<size_t>(m_nChannel)].IsEmpty());
    pImport->setEnabled(bOutput);
    pExport->setEnabled(bOutput);
    // Without a measurement the fit asks for the measurement files first.
    pFit->setEnabled(bOutput);
    FillEvidenceMenu(menu);
}
