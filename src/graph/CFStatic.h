// The response graph of the main form: the summed response of the selected
// channel (and of the other outputs whose curve button is on) over 20 Hz …
// 20 kHz and ±20 dB, a label on every band and crossover filter, and direct
// editing: drag a marker for frequency and gain, a handle for bandwidth, a
// crossover marker for its cut-off. Drags are reported at most every 50 ms.
//
// User-interface thread only. It edits bands through their setters, which
// take the model lock themselves; band values and layout are read without the
// lock because only this thread writes them.
#pragma once

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "GlobalData.h"
#include "GraphCanvas.h"
#include "MeasurementAverage.h"
#include "ResponseView.h"
#include "RoomCurve.h"

class CChannelRecord;
class CFilter;
class CKTVEQ;
class CKTV_Data;
class QPainter;

class QMenu;
class QToolButton;

class CFStatic : public QWidget {
    Q_OBJECT
public:
    // The graph shows nothing, or the bands of the selected output.
    static constexpr int kModeNone = 0;
    static constexpr int kModeOutput = 4;

    // The notification names the edited output as kSourceOutput + output.
    static constexpr int kSourceOutput = 768;

    static constexpr int kNotifyPeriodMs = 50;
    static constexpr int kGridStops = 27;  // 20 … 10000 Hz; the 20 Hz line is the plot's edge

    CFStatic(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    // Lays the plot out on the current size, gives the model the plot size
    // and starts the notification timer.
    void AttachModel(CKTV_Data* pData);
    void SelectOutputChannel(int nChannel);
    void SetMode(int nMode);
    // nShownBand: the band whose area and description are shown; −1 shows
    // the band under the mouse. Only asks for a paint: however many edits
    // and selections come before it, the next paint draws once.
    void Redraw(int nShownBand);
    // Lettering at this scale of its 12 pixels, for a form drawn smaller.
    void SetTextScale(double dScale);

    int CurrentChannel() const { return m_nChannel; }
    int EngagedBand() const { return m_nEngaged; }
    int ShownBand() const { return m_nShownBand; }
    int SourceCode() const;
    QRect PlotRect() const { return m_rcPlot; }
    // The picture the screen gets, drawn first when a Redraw is pending
    // (benchmarks read it without a screen).
    const QImage& Offscreen();
    // How many pictures were drawn, for tests that count them per paint.
    int RenderCount() const { return m_nRenders; }

    // Where a band's number sits in its marker: pushed inwards at the plot's
    // ends so it stays readable.
    static Qt::Alignment LabelAlignment(const CFilter& band, const QRect& rcPlot);

    // ---- room measurement (CFStaticRoom.cpp) ----------------------------------------
    // Each output keeps its own measurement; the selected output's is drawn
    // as a thin grey curve with the predicted response (measurement plus the
    // output's curve) dashed in the output's colour.
    void SetMeasurement(int nChannel, const CRoomCurve& curve);
    void ClearMeasurement(int nChannel);
    const CRoomCurve& Measurement(int nChannel) const;
    // Where the last picture drew the predicted response (logical pixels).
    const std::vector<QPointF>& PredictedPoints() const { return m_predicted; }
    // While a room fit is being tried: output nChannel's prediction is drawn
    // with curve (its crossover and the fitted bands, in dB) in place of the
    // output's own bands, until cleared. One output at a time.
    void SetFitPreview(int nChannel, const AxisResponse& curve);
    void ClearFitPreview();
    bool HasFitPreview() const { return m_nPreviewChannel >= 0; }
    const AxisResponse& FitPreview() const { return m_preview; }

    // ---- evidence (CFStaticEvidence.cpp) --------------------------------------------
    // Magnitude, phase or group delay of the outputs drawn; the band markers
    // stay where the magnitude puts them, to be dragged as ever.
    void SetView(ResponseView view);
    ResponseView View() const { return m_view; }
    // The outputs whose sum the "Sum" curve shows, chosen and shown as the
    // curve buttons choose and show the outputs' curves.
    void SetSumMember(int nChannel, bool bOn);
    bool IsSumMember(int nChannel) const;
    std::vector<int> SumMembers() const;
    void ShowSum(bool bOn);
    bool ShowsSum() const { return m_bShowSum; }
    // The sum of the chosen outputs now, with their measurements.
    SumResult CurrentSum();
    // The delay and polarity that make the two summed outputs add up
    // flattest, worked out when asked and shown until the sum changes;
    // applied only through ApplyAdviceRequested.
    void AdviseAlignment();
    const std::optional<AlignAdvice>& Advice() const { return m_advice; }
    void ApplyAdvice();
    // "Keep as A": the outputs as they are now, drawn thin under later
    // edits. The edit history never touches it.
    void KeepAsA();
    void SetA(const TuningSnapshot& a);
    void ClearA();
    bool HasA() const { return m_bHasA; }
    const TuningSnapshot& A() const { return m_a; }
    // The stored programs A may come from, by number (1 … 10) with their
    // names: the named ones, none while offline. Asked as the menu opens.
    using ProgramList = std::vector<std::pair<int, QString>>;
    void SetProgramsForA(std::function<ProgramList()> programs) { m_programsForA = std::move(programs); }
    void ShowDifference(bool bOn);
    bool ShowsDifference() const { return m_bShowDiff && m_bHasA; }
    // B − A of the selected output in the view's unit.
    AxisResponse Difference();
    // Another microphone position of an output (up to kMaxPositions): its
    // measurement becomes the positions' power average, drawn with their
    // spread as a band. False with *pError, nothing changed, when refused.
    bool AddPosition(int nChannel, const std::vector<MeasurementPoint>& points, std::string* pError);
    // Several positions at once, all or none: they join the output's
    // (bJoin) or replace them.
    bool LoadPositions(int nChannel, const Positions& added, bool bJoin, std::string* pError);
    int PositionCount(int nChannel) const;

    // The edit history's entries of the context menu: the names of the step
    // to undo and to redo, empty when there is none.
    void SetHistoryTexts(const QString& strUndo, const QString& strRedo);
    // The context menu's entries (the tests read them).
    void FillContextMenu(QMenu& menu);

signals:
    // A drag changed nBand (31 high-pass, 32 low-pass) of channel nSource
    // (kSource… + channel); message 1124 of the view.
    void BandChanged(int nBand, int nSource);
    // The context menu's entries; the view asks for the file and does the work.
    void LoadMeasurementRequested();
    void ClearMeasurementRequested();
    void ImportFiltersRequested();
    void ExportFiltersRequested();
    void FitRequested();
    void UndoRequested();
    void RedoRequested();
    void HistoryRequested();
    void AFromFileRequested();
    void AFromProgramRequested(int nProgram);
    // nOutput's delay becomes nDelayCode and nPolarityOutput's polarity bInverted.
    void ApplyAdviceRequested(int nOutput, int nDelayCode, int nPolarityOutput, bool bInverted);
    void AddPositionRequested();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    // ---- model access -------------------------------------------------------------
    CChannelRecord* CurrentRecord() const;
    CKTVEQ* Bands() const;
    CFilter* BandAt(int nIndex) const;
    CFilter* Engaged() const { return BandAt(m_nEngaged); }
    // The band whose area and description are drawn, or −1.
    int DescribedBand() const;
    void UpdateGeometry();
    // Emits the pending BandChanged, if any: every 50 ms, and when a drag
    // ends so that the next band hovered cannot take over the report.
    void ReportChange();

    // ---- drawing (CFStaticPaint.cpp) ----------------------------------------------
    void Render();
    bool ShowsBands() const;
    // Frame, scales and grid: the same for every picture of one size, pixel
    // ratio and language.
    void DrawBackground(QImage& background) const;
    void DrawFrame(QPainter& painter) const;
    void DrawPlotBox(QPainter& painter, const QColor& crOutline) const;
    void DrawArea(QPainter& painter);
    void DrawGrid(QPainter& painter) const;
    void DrawShownCurves();
    void DrawCurve(CChannelRecord& record);
    void DrawBandLabels(QPainter& painter);
    void DrawHandles(QPainter& painter);
    void DrawDescription(QPainter& painter);
    void DrawRoomCurves(const CChannelRecord& record);
    void DrawOutputView(int nOutput, double dWidth);
    void DrawValues(const AxisResponse& values, int nFirst, int nLast, double dWidth, QRgb crColour);
    void DrawEvidence();
    // The chosen outputs' chains, each with its measurement if it has one.
    std::vector<SumMember> ChainsOfSum();
    void DrawSumTexts(bool bFiltersOnly);
    void DrawSpread(const std::vector<MeasurementPoint>& average, double dOffset);
    void FillEvidenceMenu(QMenu& menu);
    void FillProgramsMenu(QMenu& menu);
    void BuildEvidenceRow();
    void UpdateEvidenceRow();
    // Draws a text whose box is rcText, moved whole inside the plot's border.
    void DrawLabel(QPainter& painter, const QRect& rcText, const QString& strText);

    // ---- mouse (CFStaticMouse.cpp) ------------------------------------------------
    bool AcceptsMouse() const;
    void MoveEngaged(const QPoint& pt);
    void MoveCrossover(CFilter& band, const QPoint& pt);
    // False when the move is not about this band and the search must run.
    bool MoveEqBand(CFilter& band, const QPoint& pt);
    // Hover flags of the band from what lies under the point; false when
    // nothing of it does.
    bool HoverAt(CFilter& band, const QPoint& pt);
    void Search(const QPoint& pt);
    void Engage(int nIndex);
    void Disengage();
    void ClearHover();
    void AfterDrag(bool bChanged);
    void UpdateCursor();

    int m_nId;
    CKTV_Data* m_pData = nullptr;
    int m_nMode = kModeNone;
    int m_nChannel = 0;
    int m_nEngaged = -1;
    int m_nShownBand = -1;
    bool m_bHover = false;
    bool m_bChanged = false;
    int m_nChangedBand = 0;
    const QCursor m_dragCursor{Qt::SizeAllCursor};
    QTimer m_notifyTimer;

    QRect m_rcPlot;
    QSize m_szModelPlot;  // the plot size the model was last given
    std::array<int, kGridStops> m_nGridX{};
    QFont m_font;
    CGraphCanvas m_canvas;
    bool m_bDirty = true;  // a Redraw came after the last picture
    int m_nRenders = 0;
    static constexpr int kRoomChannels = kOutputs;  // one measurement per output
    std::array<CRoomCurve, kRoomChannels> m_room;
    std::vector<QPointF> m_measured;
    std::vector<QPointF> m_predicted;
    int m_nPreviewChannel = -1;  // none
    AxisResponse m_preview{};
    QString m_strUndo;
    QString m_strRedo;
    ResponseView m_view = ResponseView::Magnitude;
    std::array<bool, kOutputs> m_sumMembers{};
    bool m_bShowSum = false;
    std::optional<AlignAdvice> m_advice;
    TuningSnapshot m_a{};
    bool m_bHasA = false;
    bool m_bShowDiff = false;
    std::function<ProgramList()> m_programsForA;
    std::array<Positions, kOutputs> m_positions;
    QWidget* m_pEvidenceRow = nullptr;  // shown only while something of it is on
    QToolButton* m_pViewButton = nullptr;
    QToolButton* m_pSumButton = nullptr;
    QToolButton* m_pDiffButton = nullptr;
};
