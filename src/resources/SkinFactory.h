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

// The cached image; a null pixmap for an unknown number.
const QPixmap& SkinImage(int nResource);

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
