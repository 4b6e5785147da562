#include "AppGlobals.h"

#include "ButtonTexts.h"

QFont g_fontSmall;
QFont g_fontMedium;
QFont g_fontLarge;
QColor g_brushDialog(0xE3, 0xE4, 0xEE);
CQM7100View* g_pMainView = nullptr;

QFont ArialFont(int nPixelHeight, int nWeight)
{
    // "Arial" resolves to the metric-compatible Liberation Sans where Arial
    // itself is not installed.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(nPixelHeight);
    font.setWeight(static_cast<QFont::Weight>(nWeight));
    return font;
}

void CreateSharedResources()
{
    g_fontSmall = ArialFont(12);
    g_fontMedium = ArialFont(16);
    g_fontLarge = ArialFont(18);
    g_brushDialog = QColor(0xE3, 0xE4, 0xEE);
    CButtonTexts::Install();
}
