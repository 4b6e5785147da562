// Codes the processor uses for channel settings, and how they are shown.
// Every function accepts any code: values read from the processor are not
// checked, so a code outside its range is limited before it is used.
#pragma once

#include <string>

double LevelToDb(int nLevel);                 // index − 60, index limited to 0 … 70
double ThresholdToDbu(int nIndex);            // index × 0.1 − 30
double AttackToMs(int nIndex);                // ≤ 6: (index + 3) × 0.1 ms, else index − 6 ms
std::string AttackText(int nIndex);           // "%0.1fms" up to index 6, then "%dms"
std::string ReleaseText(int nIndex);          // "Atk * 2" … "Atk * 32"
std::string PolarityText(int nPolarity);      // "Pol+" / "Pol-" (Chinese "正相" / "反相")
double DelayToMs(int nCode);                  // 1/48 ms units
