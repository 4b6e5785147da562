#include "ControlName.h"
#include "XPButton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include "SkinFactory.h"

CXPButton::CXPButton(int nId, QWidget* pParent)
    : QAbstractButton(pParent), m_nId(nId)
{
    setObjectName(ControlName(nId));
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, [this] { emit Notify(m_nId); });
}

void CXPButton::SetImages(int nPressedNormal, int nPressedHover, int nPressedHeld,
                          int nReleasedNormal, int nReleasedHover, int nReleasedHeld)
{
    SetImages({nPressedNormal, nPressedHover, nPressedHeld,
               nReleasedNormal, nReleasedHover, nReleasedHeld});
}

void CXPButton::SetImages(const std::array<int, kImageSlots>& images)
{
    m_nSkinBase = 0;
    m_images = images;
    Redraw();
}

void CXPButton::SetSkin(int nBase)
{
    SetImages(SkinButtonImages(nBase));
    m_nSkinBase = nBase;
}

void CXPButton::ApplyLanguage()
{
    if (m_nSkinBase != 0)
        SetSkin(m_nSkinBase);
}

void CXPButton::SetScale(double dScale)
{
    if (dScale == m_dScale)
        return;
    m_dScale = dScale;
    Redraw();
}

void CXPButton::SetPressed(bool bPressed)
{
    m_bPressed = bPressed;
    Redraw();
}

CXPButton::ImageSlot CXPButton::CurrentSlot() const
{
    if (!m_bHover)
        return m_bPressed ? kPressedNormal : kReleasedNormal;
    if (m_bHeld)
        return m_bPressed ? kPressedHeld : kReleasedHeld;
    return m_bPressed ? kPressedHover : kReleasedHover;
}

int CXPButton::CurrentImage() const
{
    return m_images[CurrentSlot()];
}

QSize CXPButton::sizeHint() const
{
    const int nImage = CurrentImage();
    const QPixmap& pix = SkinImage(nImage, m_dScale);
    return nImage == 0 || pix.isNull() ? size() : pix.size();
}

// The button takes the size of the image it shows, top-left corner and
// stacking order unchanged.
void CXPButton::Redraw()
{
    const int nImage = CurrentImage();
    if (nImage != 0) {
        const QPixmap& pix = SkinImage(nImage, m_dScale);
        if (!pix.isNull() && pix.size() != size())
            resize(pix.size());
    }
    update();
}

namespace {
constexpr double kDisabledOpacity = 0.4;
}

void CXPButton::paintEvent(QPaintEvent*)
{
    const int nImage = CurrentImage();
    if (nImage == 0)
        return;
    const QPixmap& pix = SkinImage(nImage, m_dScale);
    if (pix.isNull())
        return;
    QPainter painter(this);
    // A disabled button keeps its image but fades, so it reads as unavailable.
    if (!isEnabled())
        painter.setOpacity(kDisabledOpacity);
    painter.drawPixmap(rect(), pix);
}

void CXPButton::SetHover(bool bHover)
{
    if (m_bHover == bHover)
        return;
    m_bHover = bHover;
    Redraw();
}

void CXPButton::enterEvent(QEnterEvent* pEvent)
{
    QAbstractButton::enterEvent(pEvent);
    SetHover(true);
}

void CXPButton::leaveEvent(QEvent* pEvent)
{
    QAbstractButton::leaveEvent(pEvent);
    SetHover(false);
}

// Moves also set the hover state: a button that appears under a resting
// pointer gets no enter event.
void CXPButton::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (rect().contains(pEvent->position().toPoint()))
        SetHover(true);
    QAbstractButton::mouseMoveEvent(pEvent);
}

void CXPButton::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        m_bHeld = true;
        Redraw();
    }
    QAbstractButton::mousePressEvent(pEvent);
}

void CXPButton::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        m_bHeld = false;
        Redraw();
    }
    QAbstractButton::mouseReleaseEvent(pEvent);
}
