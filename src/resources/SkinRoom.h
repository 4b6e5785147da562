// The delay manager's picture: a room seen from above with the six outputs
// along its walls and the four listening positions in the middle. The
// dialog puts its fields and buttons on the points the picture is drawn
// around, so both read them from here. UI thread only.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "GlobalData.h"

namespace SkinRoom {

constexpr int kWidth = 675;    // 450 × 298 dialog units of 1.5 × 1.625 px
constexpr int kHeight = 484;

// The dialog's own buttons, in image order.
enum Button : int { kUnitMs, kUnitInch, kUnitCm, kLoad, kSave, kOk, kCancel, kButtons };
enum Touch : int { kNormal, kHover, kHeld, kTouches };

constexpr QSize kButtonSize(96, 26);
constexpr QSize kFieldSize(104, 22);   // a delay field; its spin follows on the right

// Image number of a button face (0 for an unknown button).
int ButtonImage(int nButton, bool bChinese, int nTouch);
// The unit button's image base for a delay unit (0 ms, 1 inches, 2 cm).
int UnitButton(int nUnit);

// Top-left corner of output k's delay field; its caption sits just above.
QPoint FieldOrigin(int nOutput);
// Centre of listening position p, where its button goes.
QPoint SeatCentre(int nPosition);
// Top-left corners of the bottom row of buttons.
QPoint ButtonOrigin(int nButton);

}  // namespace SkinRoom
