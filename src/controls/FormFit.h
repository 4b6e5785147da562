// How a form laid out in pixels at one size is shown in another: scaled
// down as a whole where the window is smaller (never below what stays
// legible), and spread into the extra room where it is larger. Each form
// decides which of its parts take the extra room; this only says how much
// there is, in the form's own pixels, and scales rectangles.
#pragma once

#include <QRect>
#include <QSize>

struct CFormFit {
    // Below this the 12-pixel lettering would fall under 7 points: the
    // window shows the form at this scale in a scroll area instead.
    static constexpr double kMinScale = 0.8;

    double dScale = 1.0;
    int nExtraX = 0;  // form pixels (before scaling) beyond the base size
    int nExtraY = 0;

    // The fit of a form of size szBase shown at szShown.
    static CFormFit For(const QSize& szBase, const QSize& szShown);
    // The smallest size the form is shown at.
    static QSize MinimumOf(const QSize& szBase);

    bool IsBase() const { return dScale == 1.0 && nExtraX == 0 && nExtraY == 0; }
    int Scaled(int n) const;
    // Edges scaled, so that neighbours stay neighbours.
    QRect Scaled(const QRect& rc) const;
};
