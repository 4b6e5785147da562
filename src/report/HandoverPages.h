// The handover report's graph pages: after the parameter table, one page
// per output with its response (and its measurement and the prediction where
// there is one), and a page with the sum of the chosen outputs.
//
// User-interface thread (or the command's thread), like the print job.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <array>
#include <vector>

#include "GlobalData.h"
#include "RoomCurve.h"

class CKTV_Data;
class QPainter;

struct HandoverCurve {
    AxisResponse dDb{};
    int nFirst = 0;
    int nLast = kAxisPoints - 1;
    QColor colour;
    double dWidthMm = 0.5;
    bool bDashed = false;
};

struct HandoverPage {
    QString strTitle;
    QString strNote;  // "filters only", or empty
    std::vector<HandoverCurve> curves;
};

// What the editor's graph holds besides the model: each output's measurement
// (may be empty) and the outputs of the sum (none: no sum page).
struct HandoverInput {
    std::array<CRoomCurve, kOutputs> rooms;
    std::vector<int> sumOutputs;  // 0 … 5
};

std::vector<HandoverPage> BuildHandoverPages(CKTV_Data& data, const HandoverInput& input);

// The page's title and note, then its graph with grid and scales, in rcArea.
void DrawHandoverPage(QPainter& painter, const QRect& rcArea, const HandoverPage& page, const QFont& font);
