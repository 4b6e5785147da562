// Colours of the skin, in one place: graphite controls with a lit accent
// for the pressed state, on the light panel of the main form.
#pragma once

#include <QRgb>

namespace SkinColors {

// Thumbs are keyed on this colour (their top-left pixel); nothing else of
// the skin may use it.
constexpr QRgb kKey = qRgb(0xFF, 0x00, 0xFF);

// ---- buttons ------------------------------------------------------------------
struct Face {
    QRgb crTop;
    QRgb crBottom;
    QRgb crBorder;
    QRgb crText;
};

constexpr Face kGraphite {qRgb(0x4C, 0x51, 0x5C), qRgb(0x2B, 0x2F, 0x37),
                          qRgb(0x14, 0x16, 0x1A), qRgb(0xEE, 0xF0, 0xF4)};
constexpr Face kTeal {qRgb(0x3F, 0xCF, 0xC1), qRgb(0x17, 0x8E, 0x85),
                      qRgb(0x0B, 0x4A, 0x45), qRgb(0xFF, 0xFF, 0xFF)};
constexpr Face kRed {qRgb(0xF0, 0x5A, 0x55), qRgb(0xB8, 0x1F, 0x1F),
                     qRgb(0x5C, 0x0E, 0x0E), qRgb(0xFF, 0xFF, 0xFF)};
constexpr Face kAmber {qRgb(0xFF, 0xC8, 0x4A), qRgb(0xE0, 0x8E, 0x0B),
                       qRgb(0x6E, 0x44, 0x05), qRgb(0x22, 0x18, 0x08)};
constexpr Face kGreen {qRgb(0x6A, 0xD0, 0x6E), qRgb(0x2A, 0x93, 0x35),
                       qRgb(0x12, 0x4A, 0x18), qRgb(0xFF, 0xFF, 0xFF)};
constexpr Face kBlue {qRgb(0x5E, 0x9C, 0xEE), qRgb(0x24, 0x5F, 0xB8),
                      qRgb(0x0E, 0x2C, 0x5C), qRgb(0xFF, 0xFF, 0xFF)};

// Highlight along the top edge, shadow inside a held button (alpha).
constexpr QRgb kBevelLight = qRgba(0xFF, 0xFF, 0xFF, 0x38);
constexpr QRgb kBevelShadow = qRgba(0x00, 0x00, 0x00, 0x60);
constexpr int kHoverLighter = 112;   // QColor::lighter factor
constexpr int kHeldDarker = 125;     // QColor::darker factor

// ---- faders --------------------------------------------------------------------
constexpr QRgb kPanelTop = qRgb(0x2E, 0x32, 0x3A);
constexpr QRgb kPanelBottom = qRgb(0x22, 0x25, 0x2B);
constexpr QRgb kPanelBorder = qRgb(0x12, 0x14, 0x17);
constexpr QRgb kPanelRim = qRgb(0x45, 0x4A, 0x55);
constexpr QRgb kSlot = qRgb(0x07, 0x08, 0x0A);
constexpr QRgb kSlotRim = qRgb(0x50, 0x55, 0x60);
constexpr QRgb kSlotLitTop = qRgb(0x4F, 0xE3, 0xD4);
constexpr QRgb kSlotLitBottom = qRgb(0x15, 0x86, 0x7D);
constexpr QRgb kTickMajor = qRgb(0xA4, 0xAA, 0xB6);
constexpr QRgb kTickMinor = qRgb(0x62, 0x68, 0x74);
constexpr QRgb kCapLight = qRgb(0xF6, 0xF7, 0xF9);
constexpr QRgb kCapMid = qRgb(0xC2, 0xC6, 0xCD);
constexpr QRgb kCapDark = qRgb(0x9C, 0xA1, 0xAA);
constexpr QRgb kCapBorder = qRgb(0x26, 0x29, 0x2F);
constexpr QRgb kCapLine = qRgb(0x12, 0x14, 0x17);
constexpr QRgb kCapLineLit = qRgb(0x12, 0xA8, 0x9B);
// Edge pixels of a cap are blended over this before keying, so no pink
// fringe survives the hard mask.
constexpr QRgb kCapMatte = qRgb(0x5A, 0x5E, 0x66);

// ---- form background ------------------------------------------------------------
constexpr QRgb kFormBase = qRgb(0xE3, 0xE4, 0xEE);
constexpr QRgb kFormTop = qRgb(0xEB, 0xEC, 0xF4);
constexpr QRgb kFormBottom = qRgb(0xDA, 0xDB, 0xE6);
constexpr QRgb kHeaderTop = qRgb(0x3E, 0x43, 0x4F);
constexpr QRgb kHeaderBottom = qRgb(0x2C, 0x30, 0x39);
constexpr QRgb kHeaderAccent = qRgb(0x2E, 0xB8, 0xAA);
constexpr QRgb kHeaderText = qRgb(0xD4, 0xD8, 0xE2);

}  // namespace SkinColors
