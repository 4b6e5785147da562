#include "ValueScales.h"

#include <algorithm>
#include <cstdio>

#include "DataDefine.h"
#include "GlobalData.h"
#include "TextFormat.h"
#include "TextTable.h"

double LevelToDb(int nLevel)
{
    return std::clamp(nLevel, 0, kLevelMax) - 60.0;
}

double ThresholdToDbu(int nIndex)
{
    return (std::clamp(nIndex, 0, kThresholdMax) - 300) / 10.0;
}

double AttackToMs(int nIndex)
{
    nIndex = std::clamp(nIndex, 0, kAttackMax);
    return nIndex <= 6 ? (nIndex + 3) / 10.0 : nIndex - 6.0;
}

std::string AttackText(int nIndex)
{
    const double dMs = AttackToMs(nIndex);
    if (std::clamp(nIndex, 0, kAttackMax) <= 6)
        return StrFormat("%0.1fms", dMs);
    return StrFormat("%dms", static_cast<int>(dMs));
}

std::string ReleaseText(int nIndex)
{
    static const char* const kTexts[] = {"Atk * 2", "Atk * 4", "Atk * 6", "Atk * 8", "Atk * 16", "Atk * 32"};
    return kTexts[std::clamp(nIndex, 0, kReleaseMax)];
}

std::string PolarityText(int nPolarity)
{
    return TextNow(nPolarity ? kTxtPolarityInverted : kTxtPolarityNormal);
}

double DelayToMs(int nCode)
{
    return nCode / 48.0;
}
