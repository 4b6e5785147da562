// Skin images of the faders: a dark recessed channel with a slot and a
// scale of ticks, and a metallic cap keyed on magenta for its mask.
#include "SkinFactory.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>

#include "SkinColors.h"

namespace {

// The thumb track of each fader, as the pages set the margins: the slot
// lies under the thumb's centre column and the scale spans the travel of
// the thumb centre.
struct FaderLook {
    int nChannel;
    int nChannelLit;       // active channel (lit slot), 0 if none
    int nThumb;
    int nThumbLit;         // active thumb, 0 if none
    int nWidth;
    int nHeight;
    int nThumbWidth;
    int nThumbHeight;
    int nMarginLeft;
    int nMarginTop;
    int nMarginBottom;
    int nDivisions;        // scale ticks: nDivisions + 1
};

constexpr FaderLook kFaders[] = {
    {kSkinOutFaderChannel, 0, kSkinOutFaderThumb, 0, 25, 92, 16, 25, 4, 1, 2, 8},
    {kSkinLevelChannel, kSkinLevelChannelActive, kSkinLevelThumb, kSkinLevelThumbActive,
     35, 108, 15, 21, 21, 1, 2, 10},
    {kSkinVolumeChannel, 0, kSkinVolumeThumb, 0, 50, 154, 20, 29, 30, 1, 2, 10},
};

struct Travel {
    int nTop;
    int nBottom;
    qreal dSlotLeft;
    qreal dSlotRight;
};

Travel TravelOf(const FaderLook& look)
{
    const qreal dCentre = look.nMarginLeft + look.nThumbWidth / 2.0;
    const qreal dHalfSlot = look.nWidth >= 35 ? 2.5 : 2.0;
    return {look.nMarginTop + look.nThumbHeight / 2,
            look.nHeight - look.nMarginBottom - look.nThumbHeight / 2,
            std::floor(dCentre - dHalfSlot), std::floor(dCentre + dHalfSlot)};
}

void PaintPanel(QPainter& painter, const FaderLook& look)
{
    QLinearGradient gradient(0, 0, 0, look.nHeight);
    gradient.setColorAt(0, QColor(SkinColors::kPanelTop));
    gradient.setColorAt(1, QColor(SkinColors::kPanelBottom));
    painter.fillRect(0, 0, look.nWidth, look.nHeight, gradient);
    painter.setPen(QColor(SkinColors::kPanelRim));
    painter.drawLine(1, 1, look.nWidth - 2, 1);
    painter.setPen(QColor(SkinColors::kPanelBorder));
    painter.drawRect(0, 0, look.nWidth - 1, look.nHeight - 1);
}

void PaintTick(QPainter& painter, int y, qreal dFrom, qreal dTo)
{
    if (dTo - dFrom >= 2)
        painter.drawLine(QPointF(dFrom, y + 0.5), QPointF(dTo, y + 0.5));
}

// Ends and middle are major ticks, the rest minor (shorter, dimmer, kept
// near the slot).
void PaintScale(QPainter& painter, const FaderLook& look, const Travel& travel)
{
    constexpr qreal kEdge = 3;
    constexpr qreal kGap = 3;
    const qreal dLeftEnd = travel.dSlotLeft - kGap;
    const qreal dRightStart = travel.dSlotRight + kGap;
    const qreal dRightEnd = look.nWidth - kEdge;
    for (int k = 0; k <= look.nDivisions; ++k) {
        const int y = travel.nTop
                      + static_cast<int>(std::lround(double(k) * (travel.nBottom - travel.nTop)
                                                     / look.nDivisions));
        const bool bMajor = k == 0 || k == look.nDivisions || 2 * k == look.nDivisions;
        painter.setPen(QColor(bMajor ? SkinColors::kTickMajor : SkinColors::kTickMinor));
        const qreal dLeftStart = bMajor ? kEdge : std::max(kEdge, (kEdge + dLeftEnd) / 2);
        PaintTick(painter, y, dLeftStart, dLeftEnd);
        const qreal dRightTo = bMajor ? dRightEnd : std::min(dRightEnd, dRightStart + 2);
        PaintTick(painter, y, dRightStart, dRightTo);
    }
}

void PaintSlot(QPainter& painter, const Travel& travel, bool bLit)
{
    constexpr int kOverrun = 4;
    const QRectF rcSlot(travel.dSlotLeft, travel.nTop - kOverrun,
                        travel.dSlotRight - travel.dSlotLeft,
                        travel.nBottom - travel.nTop + 2 * kOverrun);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(SkinColors::kSlotRim), 1));
    painter.setBrush(QColor(SkinColors::kSlot));
    painter.drawRoundedRect(rcSlot.adjusted(0.5, 0.5, -0.5, -0.5), 1.5, 1.5);
    if (bLit) {
        QLinearGradient gradient(0, rcSlot.top(), 0, rcSlot.bottom());
        gradient.setColorAt(0, QColor(SkinColors::kSlotLitTop));
        gradient.setColorAt(1, QColor(SkinColors::kSlotLitBottom));
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawRect(rcSlot.adjusted(1, 1, -1, -1));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

// An image of the look's size at the scale painted at; the painter draws
// in the look's own pixels, scaled.
QImage ScaledCanvas(int nWidth, int nHeight, QImage::Format format)
{
    const double dScale = SkinPaintScale();
    return QImage(static_cast<int>(std::lround(nWidth * dScale)), static_cast<int>(std::lround(nHeight * dScale)),
                  format);
}

QPixmap PaintChannel(const FaderLook& look, bool bLit)
{
    QImage img = ScaledCanvas(look.nWidth, look.nHeight, QImage::Format_RGB32);
    QPainter painter(&img);
    painter.scale(SkinPaintScale(), SkinPaintScale());
    const Travel travel = TravelOf(look);
    PaintPanel(painter, look);
    PaintScale(painter, look, travel);
    PaintSlot(painter, travel, bLit);
    painter.end();
    return QPixmap::fromImage(img);
}

// Opaque image for a hard mask: see-through pixels become the key colour,
// edge pixels are blended over a matte instead of over the key.
QImage KeyOut(const QImage& imgCap)
{
    const QImage imgArgb = imgCap.convertToFormat(QImage::Format_ARGB32);
    QImage img(imgArgb.size(), QImage::Format_RGB32);
    const QColor crMatte(SkinColors::kCapMatte);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb cr = imgArgb.pixel(x, y);
            const int a = qAlpha(cr);
            const auto mix = [a](int c, int m) { return (c * a + m * (255 - a)) / 255; };
            img.setPixel(x, y, a < 128 ? SkinColors::kKey
                                       : qRgb(mix(qRed(cr), crMatte.red()),
                                              mix(qGreen(cr), crMatte.green()),
                                              mix(qBlue(cr), crMatte.blue())));
        }
    }
    return img;
}

void PaintCapBody(QPainter& painter, int nWidth, int nHeight)
{
    QLinearGradient gradient(0, 0, 0, nHeight);
    gradient.setColorAt(0, QColor(SkinColors::kCapLight));
    gradient.setColorAt(0.46, QColor(SkinColors::kCapMid));
    gradient.setColorAt(0.54, QColor(SkinColors::kCapDark));
    gradient.setColorAt(1, QColor(SkinColors::kCapMid));
    painter.setPen(QPen(QColor(SkinColors::kCapBorder), 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(0.5, 0.5, nWidth - 1, nHeight - 1), 2.5, 2.5);
}

// Grip ridges a quarter up and down, and the index line on the centre
// row: the row the fader treats as the thumb's position.
void PaintCapLines(QPainter& painter, int nWidth, int nHeight, bool bLit)
{
    const int yCentre = nHeight / 2;
    const int nQuarter = nHeight / 4;
    for (int y : {yCentre - nQuarter, yCentre + nQuarter}) {
        painter.fillRect(3, y, nWidth - 6, 1, QColor(0, 0, 0, 0x40));
        painter.fillRect(3, y + 1, nWidth - 6, 1, QColor(255, 255, 255, 0x70));
    }
    const QColor crLine(bLit ? SkinColors::kCapLineLit : SkinColors::kCapLine);
    painter.fillRect(1, yCentre, nWidth - 2, 1, crLine);
    painter.fillRect(2, yCentre + 1, nWidth - 4, 1, QColor(255, 255, 255, 0x90));
}

QPixmap PaintThumb(const FaderLook& look, bool bLit)
{
    QImage img = ScaledCanvas(look.nThumbWidth, look.nThumbHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter painter(&img);
    painter.scale(SkinPaintScale(), SkinPaintScale());
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintCapBody(painter, look.nThumbWidth, look.nThumbHeight);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintCapLines(painter, look.nThumbWidth, look.nThumbHeight, bLit);
    painter.end();
    return QPixmap::fromImage(KeyOut(img));
}

}  // namespace

QPixmap PaintSkinFader(int nResource)
{
    if (nResource <= 0)
        return {};
    for (const FaderLook& look : kFaders) {
        if (nResource == look.nChannel || nResource == look.nChannelLit)
            return PaintChannel(look, nResource == look.nChannelLit);
        if (nResource == look.nThumb || nResource == look.nThumbLit)
            return PaintThumb(look, nResource == look.nThumbLit);
    }
    return {};
}
