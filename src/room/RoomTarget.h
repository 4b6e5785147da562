// The response a room fit aims at: flat (0 dB) or a house curve read from a
// file in the measurement formats.
//
// A house curve is put on the axis exactly as a measurement is (CRoomCurve):
// interpolated on a log scale and moved so that its 200 Hz … 2 kHz average
// is 0 dB. Only its shape counts, then, and it sits on the measurement's
// level whatever level the file was written at. Beyond the frequencies the
// file covers it holds its end values.
//
// Threads: plain values.
#pragma once

#include <string>
#include <vector>

#include "MeasurementFile.h"
#include "RoomCurve.h"

class CRoomTarget {
public:
    // False (and the target unchanged) as CRoomCurve::Assign refuses.
    bool Assign(const std::vector<MeasurementPoint>& points, std::string* pError);
    // False with *pError, which names the file, when the file cannot be
    // read or is refused: a fit reads a measurement too, and a line number
    // alone would not say which file it is in.
    bool Load(const std::string& strPath, std::string* pError);
    void SetFlat() { m_curve.Clear(); }
    bool IsFlat() const { return m_curve.IsEmpty(); }
    // Target in dB at axis point i.
    double At(int i) const;

private:
    CRoomCurve m_curve;  // empty: flat
};
