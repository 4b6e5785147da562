// Mouse editing of the response graph: which band the cursor is on, and
// what dragging it does.
#include <QMouseEvent>
#include <cmath>

#include "BandDrag.h"
#include "CFStatic.h"
#include "DataDefine.h"
#include "Filter.h"
#include "KTV_Data.h"

namespace {

bool IsCrossover(const CFilter& band)
{
    return band.GetKind() == kHighPass || band.GetKind() == kLowPass;
}

// Only a peaking band with a free frequency shows its bandwidth handles.
bool HasHandles(const CFilter& band)
{
    return band.GetKind() == kPeaking && !band.IsGraphic();
}

bool Contains(const BandRect& rc, const QPoint& pt)
{
    return rc.Contains(pt.x(), pt.y());
}

// Client column of the band edge that a bandwidth handle stands for.
int HandleEdgeX(const CFilter& band, bool bRight)
{
    const double dSpan = std::pow(2.0, band.GetBandwidth());
    const double dEdge = bRight ? band.GetFrequency() * dSpan : band.GetFrequency() / dSpan;
    return static_cast<int>(std::lround(FreqToColF(dEdge, band.PlotWidth()))) + kPlotOffsetX;
}

bool TracksMoves(CKTV_Data* pData)
{
    const int nType = pData ? pData->State().m_nDeviceType.load() : 0;
    return nType == 1 || nType == 2;
}

}  // namespace

bool CFStatic::AcceptsMouse() const
{
    return m_nMode == kModeOutput && Bands() != nullptr;
}

void CFStatic::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    if (!AcceptsMouse())
        return;
    // Accepting the press makes Qt send every move to this widget until the
    // button is released, even outside it: the drag's capture.
    setFocus(Qt::MouseFocusReason);
    CFilter* pBand = Engaged();
    if (!pBand)
        return;
    const QPoint pt = pEvent->position().toPoint();
    auto& flags = pBand->m_nDragFlags;
    if (flags[kHoverMarker]) {
        flags[kDragMarker] = 1;
        pBand->m_ptGrab = {pt.x(), pt.y()};
        return;
    }
    if (pBand->GetKind() != kPeaking)
        return;
    const bool bLeft = flags[kHoverLeftHandle] != 0;
    const bool bRight = flags[kHoverRightHandle] != 0;
    if (!bLeft && !bRight)
        return;
    flags[bLeft ? kDragLeftHandle : kDragRightHandle] = 1;
    // The offset keeps the band edge under the same spot of the handle, so
    // grabbing a handle off-centre does not make the bandwidth jump.
    pBand->m_ptGrab = {pt.x() - HandleEdgeX(*pBand, bRight), 0};
}

void CFStatic::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(pEvent);
        return;
    }
    if (!AcceptsMouse())
        return;
    if (CFilter* pBand = Engaged())
        pBand->m_nDragFlags.fill(0);
    m_bHover = false;
    UpdateCursor();
    // The drag is over: report it now, before a hover can engage another
    // band within the same period.
    ReportChange();
}

void CFStatic::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!AcceptsMouse() || !TracksMoves(m_pData))
        return;
    const QPoint pt = pEvent->position().toPoint();
    if (Engaged())
        MoveEngaged(pt);
    else
        Search(pt);
    UpdateCursor();
}

void CFStatic::MoveEngaged(const QPoint& pt)
{
    CFilter& band = *Engaged();
    if (IsCrossover(band))
        MoveCrossover(band, pt);
    else if (!MoveEqBand(band, pt))
        Search(pt);
}

void CFStatic::MoveCrossover(CFilter& band, const QPoint& pt)
{
    if (band.m_nDragFlags[kDragMarker]) {
        const CKTVEQ& bands = *Bands();
        const CFilter& other = band.GetKind() == kHighPass ? bands.LowPass() : bands.HighPass();
        AfterDrag(DragCutoff(band, pt.x(), other.GetFrequency()));
        return;
    }
    if (Contains(band.MarkerRect(), pt)) {
        HoverAt(band, pt);
        return;
    }
    Disengage();
    Search(pt);
    if (!Engaged())
        Redraw(-1);  // the filter's area and description go
}

bool CFStatic::MoveEqBand(CFilter& band, const QPoint& pt)
{
    auto& flags = band.m_nDragFlags;
    if (flags[kDragMarker]) {
        AfterDrag(DragMarker(band, pt.x(), pt.y()));
        return true;
    }
    // An active handle drag goes on while the cursor crosses the marker, so
    // the narrowest bandwidth can be reached.
    if (flags[kDragLeftHandle] || flags[kDragRightHandle]) {
        AfterDrag(DragBandwidth(band, pt.x() - band.m_ptGrab.x, flags[kDragRightHandle] != 0));
        return true;
    }
    if (band.IsGraphic() && !Contains(band.MarkerRect(), pt))
        return false;
    return HoverAt(band, pt);
}

bool CFStatic::HoverAt(CFilter& band, const QPoint& pt)
{
    auto& flags = band.m_nDragFlags;
    const bool bMarker = Contains(band.MarkerRect(), pt);
    const bool bHandles = !bMarker && HasHandles(band);
    const bool bLeft = bHandles && Contains(band.LeftHandleRect(), pt);
    const bool bRight = bHandles && !bLeft && Contains(band.RightHandleRect(), pt);
    flags[kHoverMarker] = bMarker ? 1 : 0;
    flags[kHoverLeftHandle] = bLeft ? 1 : 0;
    flags[kHoverRightHandle] = bRight ? 1 : 0;
    m_bHover = bMarker || bLeft || bRight;
    return m_bHover;
}

void CFStatic::Search(const QPoint& pt)
{
    const CKTVEQ& bands = *Bands();
    for (int i = 0; i < bands.GetSize(); ++i) {
        if (Contains(bands[i].MarkerRect(), pt)) {
            Engage(i);
            return;
        }
    }
    ClearHover();
}

void CFStatic::Engage(int nIndex)
{
    if (CFilter* pOld = Engaged())
        pOld->m_nDragFlags.fill(0);
    m_nEngaged = nIndex;
    CFilter& band = *Engaged();
    band.m_nDragFlags.fill(0);
    band.m_nDragFlags[kHoverMarker] = 1;
    m_bHover = true;
    m_nChangedBand = nIndex;
    Redraw(-1);
}

void CFStatic::Disengage()
{
    if (CFilter* pBand = Engaged())
        pBand->m_nDragFlags.fill(0);
    m_nEngaged = -1;
    m_bHover = false;
}

void CFStatic::ClearHover()
{
    if (CFilter* pBand = Engaged()) {
        pBand->m_nDragFlags[kHoverMarker] = 0;
        pBand->m_nDragFlags[kHoverLeftHandle] = 0;
        pBand->m_nDragFlags[kHoverRightHandle] = 0;
    }
    m_bHover = false;
}

void CFStatic::AfterDrag(bool bChanged)
{
    if (!bChanged)
        return;
    m_bChanged = true;
    m_nChangedBand = m_nEngaged;
    Redraw(-1);
}

void CFStatic::UpdateCursor()
{
    setCursor(m_bHover ? m_dragCursor : QCursor(Qt::ArrowCursor));
}
