#include "FormFit.h"

#include <algorithm>
#include <cmath>

CFormFit CFormFit::For(const QSize& szBase, const QSize& szShown)
{
    CFormFit fit;
    if (szBase.isEmpty() || szShown.isEmpty())
        return fit;
    const double dFitX = static_cast<double>(szShown.width()) / szBase.width();
    const double dFitY = static_cast<double>(szShown.height()) / szBase.height();
    fit.dScale = std::clamp(std::min(dFitX, dFitY), kMinScale, 1.0);
    fit.nExtraX = std::max(0, static_cast<int>(std::floor(szShown.width() / fit.dScale)) - szBase.width());
    fit.nExtraY = std::max(0, static_cast<int>(std::floor(szShown.height() / fit.dScale)) - szBase.height());
    return fit;
}

QSize CFormFit::MinimumOf(const QSize& szBase)
{
    return {static_cast<int>(std::ceil(szBase.width() * kMinScale)),
            static_cast<int>(std::ceil(szBase.height() * kMinScale))};
}

int CFormFit::Scaled(int n) const
{
    return static_cast<int>(std::lround(n * dScale));
}

QRect CFormFit::Scaled(const QRect& rc) const
{
    const int nLeft = Scaled(rc.left());
    const int nTop = Scaled(rc.top());
    return {nLeft, nTop, Scaled(rc.left() + rc.width()) - nLeft, Scaled(rc.top() + rc.height()) - nTop};
}
