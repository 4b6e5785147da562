// The main window on a laptop's 1280 × 720 screen and maximised on a
// 1920 × 1080 monitor, each with a desktop panel of 32 pixels.
#pragma once

#include <QString>

class CQM7100View;
class CMainFrame;

bool SaveScreenSizes(CQM7100View& view, CMainFrame& frame, const QString& strOut);
