#include "ValueScales.h"

#include <algorithm>
#include <cstdio>

#include "DataDefine.h"
#include "GlobalData.h"
#include "TextFormat.h"

double LevelToDb(int nLevel)
{
    return std::clamp(nLevel, 0, kLevelMax) - 60.0;
}

std::string LevelText(int nLevel, int bMute)
{
    return StrFormat("%0.1fdB", bMute ? -60.0 : LevelToDb(nLevel));
}

double ThresholdToDbu(int nIndex)
{
    return (std::clamp(nIndex, 0, kThresholdMax) - 300) / 10.0;
}

std::string ThresholdText(int nIndex)
{
    return StrFormat("%0.1fdBu", ThresholdToDbu(nIndex));
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
    if (g_bChinese)
        return nPolarity ? "反相" : "正相";
    return nPolarity ? "Pol-" : "Pol+";
}

std::string NoiseGateText(int nIndex)
{
    if (nIndex <= 0)
        return "OFF";
    return StrFormat("%ddBu", std::min(nIndex, 100) - 120);
}

double DelayToMs(int nCode)
{
    return nCode / 48.0;
}

std::string OffsetDbText(int nValue)
{
    return StrFormat("%0.1fdB", nValue - 80.0);
}

std::string SecondaryGainText(int nValue)
{
    return nValue == 80 ? "OFF" : OffsetDbText(nValue);
}
