// The room fit's refinement on continuous values: Levenberg–Marquardt over
// every band at once (log frequency, gain, log bandwidth), with a numeric
// Jacobian and every step held inside each band's limits, so that a band
// may not boost beyond the largest boost even between iterations.
//
// The limits on the bands' sum cannot be held that way: a step that would
// cross them is not wrong in its other values, and refusing it would stop
// the fit the first time the sum touches a limit. What the sum exceeds at
// the span's points is squared into the objective instead, heavily weighted;
// the small excess left is removed on the grid (RepairBands).
//
// Threads: plain values, on the fitting thread.
#pragma once

#include <vector>

#include "RoomFitProblem.h"
#include "RoomFitRun.h"
#include "RoomFitSum.h"

class CRoomFitRefiner {
public:
    CRoomFitRefiner(const CRoomFitProblem& problem, std::vector<FitBand> bands);

    // Iterates until converged or cancelled; progress runs from nFrom to nTo.
    void Run(CRoomFitRun& run, int nFrom, int nTo);
    const std::vector<FitBand>& Bands() const { return m_bands; }

private:
    int Unknowns() const { return static_cast<int>(m_bands.size()) * kFitParams; }
    double& At(std::vector<double>& m, int r, int c) const { return m[static_cast<std::size_t>(r * Unknowns() + c)]; }
    // False once no damping finds a step that lowers the sum of squares.
    bool Iterate();
    void Jacobian();
    void NormalEquations();
    bool Solve(double dLambda, std::vector<double>& step) const;
    // The objective of the bands moved by step, their responses in m_trial.
    double TrialObjective(const std::vector<double>& step);
    // Sum of squares of the deviation plus the weighted squares of the
    // sum's excess over the limits, both at the span's points.
    double Objective(const AxisResponse& total) const;
    double Excess(const AxisResponse& total, std::size_t n) const;

    const CRoomFitProblem& m_problem;
    std::vector<FitBand> m_bands;
    std::vector<FitBand> m_trialBands;
    CRoomFitSum m_sum;
    std::vector<AxisResponse> m_columns;  // ∂ deviation / ∂ unknown at the span's points
    std::vector<AxisResponse> m_trial;
    std::vector<double> m_normal;          // Jᵀ J, row-major
    std::vector<double> m_gradient;        // Jᵀ r
    double m_dObjective = 0.0;
    double m_dLambda = 1e-3;
};
