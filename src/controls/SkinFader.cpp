#include "ControlName.h"
#include "SkinFader.h"

#include <QBitmap>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "SkinFactory.h"

namespace {

// A copy of the skin image, with its mask when it is drawn transparent;
// null when (x, y) lies outside the image.
QPixmap MaskedCopy(const QPixmap& pixSkin, bool bTransparent, QRgb crMask, int x, int y)
{
    QPixmap pix = pixSkin;
    if (!bTransparent)
        return pix;
    if (crMask == CSkinFader::kMaskFromPixel) {
        const QImage img = pixSkin.toImage();
        if (!img.valid(x, y))
            return {};
        crMask = img.pixel(x, y);
    }
    pix.setMask(pixSkin.createMaskFromColor(QColor::fromRgb(crMask), Qt::MaskInColor));
    return pix;
}

}  // namespace

CSkinFader::CSkinFader(int nId, QWidget* pParent)
    : QWidget(pParent), m_nId(nId)
{
    setObjectName(ControlName(nId));
    setFocusPolicy(Qt::StrongFocus);
    m_timerMoving.setInterval(kMovingPeriodMs);
    connect(&m_timerMoving, &QTimer::timeout, this, &CSkinFader::OnMovingTimer);
}

bool CSkinFader::LoadPair(Pair& pair, const Source& source) const
{
    if (source.nNormal == 0) {
        pair = Pair();
        return true;
    }
    // The mask's pixel is named in the images' own pixels.
    const int x = static_cast<int>(source.x * m_dScale);
    const int y = static_cast<int>(source.y * m_dScale);
    const QPixmap& pixNormal = SkinImage(source.nNormal, m_dScale);
    Pair loaded;
    loaded.bTransparent = source.bTransparent;
    loaded.pixNormal = MaskedCopy(pixNormal, source.bTransparent, source.crMask, x, y);
    if (loaded.pixNormal.isNull())
        return false;
    if (source.nActive != 0) {
        const QPixmap& pixActive = SkinImage(source.nActive, m_dScale);
        if (pixActive.size() != pixNormal.size())
            return false;
        loaded.pixActive = MaskedCopy(pixActive, source.bTransparent, source.crMask, x, y);
        if (loaded.pixActive.isNull())
            return false;
    }
    pair = loaded;
    return true;
}

bool CSkinFader::SetBitmapChannel(int nNormal, int nActive, bool bTransparent, QRgb crMask,
                                  int x, int y)
{
    return LoadChannel({nNormal, nActive, bTransparent, crMask, x, y});
}

bool CSkinFader::LoadChannel(const Source& source)
{
    if (!LoadPair(m_channel, source))
        return false;
    m_channelSource = source;
    if (!m_channel.pixNormal.isNull())
        resize(m_channel.pixNormal.size());
    UpdateOpaque();
    update();
    return true;
}

bool CSkinFader::SetBitmapThumb(int nNormal, int nActive, bool bTransparent, QRgb crMask,
                                int x, int y)
{
    return LoadThumb({nNormal, nActive, bTransparent, crMask, x, y});
}

bool CSkinFader::LoadThumb(const Source& source)
{
    if (!LoadPair(m_thumb, source))
        return false;
    m_thumbSource = source;
    update();
    return true;
}

void CSkinFader::SetScale(double dScale)
{
    if (dScale == m_dScale)
        return;
    m_dScale = dScale;
    LoadChannel(m_channelSource);
    LoadThumb(m_thumbSource);
    ScaleMargins();
}

// An opaque channel covers every pixel, so Qt need not paint the parent
// under it.
void CSkinFader::UpdateOpaque()
{
    setAttribute(Qt::WA_OpaquePaintEvent,
                 !m_channel.pixNormal.isNull() && !m_channel.bTransparent);
}

void CSkinFader::SetRange(int nMin, int nMax, bool bRedraw)
{
    m_nMin = std::min(nMin, nMax);
    m_nMax = std::max(nMin, nMax);
    m_nPos = ClampPos(m_nPos);
    if (bRedraw)
        update();
}

void CSkinFader::SetPos(int nPos)
{
    m_nPos = ClampPos(nPos);
    update();
}

void CSkinFader::SetPosInverted(int nValue)
{
    SetPos(m_nMax - nValue);
}

void CSkinFader::SetMargin(int nLeft, int nTop, int nRight, int nBottom)
{
    m_nBaseMargin[0] = nLeft;
    m_nBaseMargin[1] = nTop;
    m_nBaseMargin[2] = nRight;
    m_nBaseMargin[3] = nBottom;
    ScaleMargins();
}

void CSkinFader::ScaleMargins()
{
    const auto scaled = [this](int n) { return static_cast<int>(std::lround(n * m_dScale)); };
    m_nMarginLeft = scaled(m_nBaseMargin[0]);
    m_nMarginTop = scaled(m_nBaseMargin[1]);
    m_nMarginRight = scaled(m_nBaseMargin[2]);
    m_nMarginBottom = scaled(m_nBaseMargin[3]);
    update();
}

void CSkinFader::FocusMessage()
{
    m_bQuietFocus = true;
    setFocus(Qt::OtherFocusReason);
    // The window may be inactive: its focus-in later is an ordinary one.
    m_bQuietFocus = false;
}

int CSkinFader::ClampPos(int nPos) const
{
    return std::clamp(nPos, m_nMin, m_nMax);
}

int CSkinFader::TrackTop() const
{
    return m_nMarginTop + ThumbHeight() / 2;
}

int CSkinFader::TrackBottom() const
{
    return height() - m_nMarginBottom - ThumbHeight() / 2;
}

int CSkinFader::ClampToTrack(int y) const
{
    return std::clamp(y, TrackTop(), std::max(TrackTop(), TrackBottom()));
}

int CSkinFader::PixelFromPos(int nPos) const
{
    const long long nTravel = height() - m_nMarginTop - m_nMarginBottom - ThumbHeight();
    const long long nSpan = m_nMax - m_nMin;
    if (nSpan <= 0)
        return TrackTop();
    return TrackTop() + static_cast<int>((nPos - m_nMin) * nTravel / nSpan);
}

// The lower end of the centre limits lies half a pixel beyond the pixel of
// the maximum for odd thumb heights, hence the limit on the result.
int CSkinFader::PosFromPixel(int y) const
{
    const long long nTravel = height() - m_nMarginTop - m_nMarginBottom - ThumbHeight();
    if (nTravel <= 0)
        return m_nMin;
    const long long nSpan = m_nMax - m_nMin;
    return ClampPos(m_nMin + static_cast<int>((y - TrackTop()) * nSpan / nTravel));
}

QSize CSkinFader::sizeHint() const
{
    return m_channel.pixNormal.isNull() ? QWidget::sizeHint() : m_channel.pixNormal.size();
}

void CSkinFader::MoveBy(int nDelta)
{
    m_nPos = ClampPos(m_nPos + nDelta);
}

void CSkinFader::OnMovingTimer()
{
    if (!m_bMoved)
        return;
    m_bMoved = false;
    emit Moving(m_nId, m_nPos);
}

void CSkinFader::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    m_bPressed = true;
    setFocus(Qt::MouseFocusReason);
    m_bDragging = true;
    const int y = static_cast<int>(pEvent->position().y());
    const int nCentre = ThumbCentre();
    m_nDragOffset = std::abs(y - nCentre) <= ThumbHeight() / 2 ? y - nCentre : 0;
    const int yTrack = ClampToTrack(y - m_nDragOffset);
    // Beside the thumb: one step toward the pointer, no drag.
    if (yTrack != nCentre) {
        MoveBy(PosFromPixel(yTrack) <= m_nPos ? -1 : 1);
        m_bDragging = false;
    }
    m_timerMoving.start();
    update();
}

void CSkinFader::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_bDragging)
        return;
    const int y = ClampToTrack(static_cast<int>(pEvent->position().y()) - m_nDragOffset);
    if (y == ThumbCentre())
        return;
    m_nPos = PosFromPixel(y);
    m_bMoved = true;
    update();
}

void CSkinFader::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton || !m_bPressed) {
        QWidget::mouseReleaseEvent(pEvent);
        return;
    }
    EndMouse();
}

void CSkinFader::EndMouse()
{
    m_bPressed = false;
    m_bDragging = false;
    m_timerMoving.stop();
    m_bMoved = false;
    update();
    emit Moved(m_nId, m_nPos);
}

void CSkinFader::keyPressEvent(QKeyEvent* pEvent)
{
    int nPos = m_nPos;
    switch (pEvent->key()) {
    case Qt::Key_PageUp: nPos -= kPageStep; break;
    case Qt::Key_PageDown: nPos += kPageStep; break;
    case Qt::Key_End: nPos = m_nMax; break;
    case Qt::Key_Home: nPos = m_nMin; break;
    case Qt::Key_Right:
    case Qt::Key_Down: nPos += 1; break;
    case Qt::Key_Left:
    case Qt::Key_Up: nPos -= 1; break;
    default:
        QWidget::keyPressEvent(pEvent);
        return;
    }
    m_nPos = ClampPos(nPos);
    update();
    emit Moved(m_nId, m_nPos);
}

// Qt's angle delta has the platform's sign: +120 is one notch away from
// the user. That notch lowers the position, which the pages show inverted,
// so wheeling up raises the shown value.
void CSkinFader::wheelEvent(QWheelEvent* pEvent)
{
    const int nDelta = pEvent->angleDelta().y();
    if (nDelta == -kWheelNotch)
        MoveBy(1);
    else if (nDelta == kWheelNotch)
        MoveBy(-1);
    pEvent->accept();
    update();
    emit Moved(m_nId, m_nPos);
}

void CSkinFader::focusInEvent(QFocusEvent* pEvent)
{
    QWidget::focusInEvent(pEvent);
    m_bHasFocus = true;
    if (!m_bQuietFocus)
        emit Moving(m_nId, m_nPos);
    update();
}

void CSkinFader::focusOutEvent(QFocusEvent* pEvent)
{
    QWidget::focusOutEvent(pEvent);
    m_bHasFocus = false;
    update();
}

// Disabled in the middle of a drag: the release will not come, so the
// move ends here.
void CSkinFader::changeEvent(QEvent* pEvent)
{
    QWidget::changeEvent(pEvent);
    if (pEvent->type() != QEvent::EnabledChange)
        return;
    if (!isEnabled() && m_bPressed)
        EndMouse();
    update();
}

void CSkinFader::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool bChannelCovers = !m_channel.pixNormal.isNull() && !m_channel.bTransparent;
    if (m_bHasFocus && isEnabled() && !bChannelCovers)
        PaintFocusRect(painter);
    PaintChannel(painter);
    if (isEnabled())
        PaintThumb(painter);
}

void CSkinFader::PaintFocusRect(QPainter& painter) const
{
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// Below the thumb centre the active image: the lit part of the slot.
void CSkinFader::PaintChannel(QPainter& painter) const
{
    const QPixmap& pixNormal = m_channel.pixNormal;
    if (pixNormal.isNull())
        return;
    if (m_channel.pixActive.isNull() || !isEnabled()) {
        painter.drawPixmap(0, 0, pixNormal);
        return;
    }
    const int nSplit = std::clamp(ThumbCentre(), 0, pixNormal.height());
    const int nWidth = pixNormal.width();
    if (nSplit > 0)
        painter.drawPixmap(0, 0, pixNormal, 0, 0, nWidth, nSplit);
    if (nSplit < pixNormal.height())
        painter.drawPixmap(0, nSplit, m_channel.pixActive, 0, nSplit, nWidth,
                           pixNormal.height() - nSplit);
}

void CSkinFader::PaintThumb(QPainter& painter) const
{
    if (m_thumb.pixNormal.isNull())
        return;
    const bool bActive = m_bDragging && !m_thumb.pixActive.isNull();
    const QPixmap& pix = bActive ? m_thumb.pixActive : m_thumb.pixNormal;
    painter.drawPixmap(m_nMarginLeft, ThumbCentre() - ThumbHeight() / 2, pix);
}
