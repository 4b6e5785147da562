// The skin: every image of the skinned controls and form backgrounds,
// painted with QPainter on first use and kept for the life of the program.
// Keyed by the resource numbers of SkinIds.h. UI thread only.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <array>
#include <vector>

#include "SkinIds.h"

// The cached image; a null pixmap for an unknown number. At a scale other
// than 1 the image is painted anew at that scale (buttons and faders; the
// others only at 1), so a scaled form stays sharp.
const QPixmap& SkinImage(int nResource, double dScale = 1.0);
// The scale SkinImage paints at now, for the painters below.
double SkinPaintScale();

// The six image numbers of a button base (pressed-normal, pressed-hover,
// pressed-held, released-normal, released-hover, released-held) in the
// language of g_bChinese.
std::array<int, 6> SkinButtonImages(int nBase);

// Every button base the skin knows, in ascending order.
std::vector<int> SkinButtonBases();
// Size of a button base's images; empty for an unknown base.
QSize SkinButtonSize(int nBase);
// Base of any image number of a button (base + 0 … 11); 0 if none.
int SkinButtonBaseOf(int nResource);

// Painters behind the cache: a fresh image, null for a number they do
// not draw.
QPixmap PaintSkinButton(int nResource);
QPixmap PaintSkinFader(int nResource);
QPixmap PaintSkinForm(int nResource);
QPixmap PaintSkinRoom(int nResource);
// The form's background at any size: the brand plate at the top of the
// right-hand column, which starts nPlateShift form pixels further right.
QPixmap PaintFormBackground(bool bChinese, const QSize& size, double dScale, int nPlateShift);
