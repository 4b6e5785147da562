// A measurement on the response axis: interpolated on a log scale to the
// axis points it covers and offset so that its 200 Hz … 2 kHz average sits
// at 0 dB, which puts it on the graph's scale whatever the microphone's
// calibration. The predicted response is the measurement plus the output's
// summed curve.
//
// Threads: plain values; the graph keeps one per output on the
// user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "BandMath.h"
#include "MeasurementFile.h"

class CKTVEQ;

class CRoomCurve {
public:
    // False (and the curve unchanged) when no axis point lies within the
    // measured range.
    bool Assign(const std::vector<MeasurementPoint>& points, std::string* pError);
    void Clear();
    bool IsEmpty() const { return m_nFirst > m_nLast; }
    // The axis points covered: First() … Last().
    int First() const { return m_nFirst; }
    int Last() const { return m_nLast; }
    // Offset measurement in dB at axis point i (First() … Last()).
    double At(int i) const { return m_dDb[static_cast<std::size_t>(i)]; }
    double Offset() const { return m_dOffset; }
    // Whether the file gave a phase, and the phase in degrees at axis point i.
    bool HasPhase() const { return m_bPhase; }
    double PhaseAt(int i) const { return m_dPhase[static_cast<std::size_t>(i)]; }
    // Measurement plus the summed curve of the set at the covered points.
    void Predict(const CKTVEQ& eq, AxisResponse& out) const;

private:
    AxisResponse m_dDb{};
    int m_nFirst = 1;
    int m_nLast = 0;
    double m_dOffset = 0.0;
    AxisResponse m_dPhase{};
    bool m_bPhase = false;
};

// The set's summed response in dB: every band and both crossover filters.
void SummedResponse(const CKTVEQ& eq, AxisResponse& out);
