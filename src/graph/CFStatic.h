// The response graph of the main form: the summed response of the selected
// channel (and of the other outputs whose curve button is on) over 20 Hz …
// 20 kHz and ±20 dB, a label on every band and crossover filter, and direct
// editing: drag a marker for frequency and gain, a handle for bandwidth, a
// crossover marker for its cut-off. Drags are reported at most every 50 ms.
//
// User-interface thread only. It edits bands through their setters, which
// take g_csModel themselves; band values and layout are read without the
// lock because only this thread writes them.
#pragma once

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>

class CChannelRecord;
class CFilter;
class CKTVEQ;
class CKTV_Data;
class QPainter;

class CFStatic : public QWidget {
    Q_OBJECT
public:
    // Modes 1 … 3 show the effect, microphone and music records; the main
    // form uses only 0 and 4.
    static constexpr int kModeNone = 0;
    static constexpr int kModeEffect = 1;
    static constexpr int kModeMic = 2;
    static constexpr int kModeMusic = 3;
    static constexpr int kModeOutput = 4;

    // How the notification names the edited channel.
    static constexpr int kSourceEffect = 0;
    static constexpr int kSourceMic = 256;
    static constexpr int kSourceMusic = 512;
    static constexpr int kSourceOutput = 768;

    static constexpr int kNotifyPeriodMs = 50;
    static constexpr int kGridStops = 27;  // 20 … 10000 Hz; the 20 Hz line is the plot's edge

    CFStatic(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    // The view that handles BandChanged (kept for the owner; the signal is the
    // notification itself).
    void Attach(QObject* pView);
    QObject* View() const { return m_pView; }
    // Lays the plot out on the current size, gives the model the plot size
    // and starts the notification timer.
    void AttachModel(CKTV_Data* pData);
    void SelectOutputChannel(int nChannel);
    void SetMode(int nMode);
    // nShownBand: the band whose area and description are shown; −1 shows
    // the band under the mouse.
    void Redraw(int nShownBand);

    int GetMode() const { return m_nMode; }
    int CurrentChannel() const { return m_nChannel; }
    int EngagedBand() const { return m_nEngaged; }
    int ShownBand() const { return m_nShownBand; }
    int SourceCode() const;
    QRect PlotRect() const { return m_rcPlot; }
    // The picture the last drawing produced (what the screen shows).
    const QImage& Offscreen() const { return m_image; }

    // Where a band's number sits in its marker: pushed inwards at the plot's
    // ends so it stays readable.
    static Qt::Alignment LabelAlignment(const CFilter& band, const QRect& rcPlot);

signals:
    // A drag changed nBand (31 high-pass, 32 low-pass) of channel nSource
    // (kSource… + channel); message 1124 of the view.
    void BandChanged(int nBand, int nSource);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;

private:
    // ---- model access -------------------------------------------------------------
    CChannelRecord* CurrentRecord() const;
    CKTVEQ* Bands() const;
    CFilter* BandAt(int nIndex) const;
    CFilter* Engaged() const { return BandAt(m_nEngaged); }
    // The band whose area and description are drawn, or −1.
    int DescribedBand() const;
    void UpdateGeometry();
    void OnNotifyTimer();

    // ---- drawing (CFStaticPaint.cpp) ----------------------------------------------
    void Render();
    void DrawFrame(QPainter& painter) const;
    void DrawOutputPlot(QPainter& painter);
    void DrawNoChannelPlot(QPainter& painter);
    void DrawPlotBox(QPainter& painter, const QColor& crOutline) const;
    void DrawArea(QPainter& painter) const;
    void DrawGrid(QPainter& painter) const;
    void DrawShownCurves(QPainter& painter) const;
    void DrawCurve(QPainter& painter, CChannelRecord& record) const;
    void DrawBandLabels(QPainter& painter) const;
    void DrawHandles(QPainter& painter) const;
    void DrawDescription(QPainter& painter) const;

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
    QPointer<QObject> m_pView;
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
    QImage m_image;
    bool m_bImageFresh = false;  // drawn by Redraw and not yet shown
};
