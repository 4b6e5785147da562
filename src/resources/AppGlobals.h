// Process-wide objects of the editor's user interface: the shared fonts,
// the dialog background colour and the main view. User-interface thread only.
#pragma once

#include <QColor>
#include <QFont>

class CQM7100View;

extern QFont g_fontSmall;    // Arial 12 px: editor pages
extern QFont g_fontMedium;   // Arial 16 px
extern QFont g_fontLarge;    // Arial 18 px
extern QColor g_brushDialog; // background of every form and dialog
extern CQM7100View* g_pMainView;

// Creates the fonts and the background colour (start-up, before any window).
void CreateSharedResources();
QFont ArialFont(int nPixelHeight, int nWeight = QFont::Normal);
