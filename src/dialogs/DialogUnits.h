// Dialogs are laid out in the dialog units of their templates. How many
// pixels a unit is depends on the template's font: most use an 8-point sans
// serif face (1.5 pixels across, 1.625 down); the program manager's uses the
// 8-point System font, whose units are 2 × 2 pixels, which is what fills
// its fixed 505 × 348 window.
#pragma once

#include <QRect>
#include <cmath>

struct CDialogUnits {
    double dX;
    double dY;

    int X(int nDlu) const { return static_cast<int>(std::lround(dX * nDlu)); }
    int Y(int nDlu) const { return static_cast<int>(std::lround(dY * nDlu)); }
    // A control's rectangle, given as x, y, width, height in dialog units.
    QRect Rect(int x, int y, int cx, int cy) const { return QRect(X(x), Y(y), X(cx), Y(cy)); }
};

inline constexpr CDialogUnits kSansSerifUnits{1.5, 1.625};
inline constexpr CDialogUnits kSystemUnits{2.0, 2.0};
