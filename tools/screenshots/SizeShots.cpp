#include "SizeShots.h"

#include "EvidenceShots.h"
#include "MainFrm.h"
#include "QM7100View.h"

namespace {

bool ShotAt(CQM7100View& view, CMainFrame& frame, const QSize& szWindow, const QString& strPath)
{
    frame.resize(szWindow);
    return Settle(view, 400) && Save(&frame, strPath);
}

}  // namespace

bool SaveScreenSizes(CQM7100View& view, CMainFrame& frame, const QString& strOut)
{
    const QSize szOld = frame.size();
    const bool bSaved =
        ShotAt(view, frame, CMainFrame::OpeningSize(QSize(1280, 688)), strOut + "/screen-1280x720.png") &&
        ShotAt(view, frame, QSize(1920, 1048), strOut + "/screen-1920x1080.png");
    frame.resize(szOld);
    return bSaved && Settle(view, 200);
}
