// The room fit's refinement on continuous values: Levenberg–Marquardt over
// every band at once (log frequency, gain, log bandwidth), with a numeric
// Jacobian and every step held inside the limits, so that a band may not
// boost beyond the largest boost even between iterations.
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
    // The sum of squares of the bands moved by step, their responses in
    // m_trial.
    double TrialSse(const std::vector<double>& step);

    const CRoomFitProblem& m_problem;
    std::vector<FitBand> m_bands;
    std::vector<FitBand> m_trialBands;
    CRoomFitSum m_sum;
    std::vector<AxisResponse> m_columns;  // ∂ deviation / ∂ unknown at the span's points
    std::vector<AxisResponse> m_trial;
    std::vector<double> m_normal;          // Jᵀ J, row-major
    std::vector<double> m_gradient;        // Jᵀ r
    double m_dLambda = 1e-3;
};
