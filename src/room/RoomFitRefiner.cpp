#include "RoomFitRefiner.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxIterations = 150;
// Forward-difference steps: 1/10000 octave, 1/1000 dB, 1/10000 of log2 octaves.
constexpr FitBand kDifferenceStep = {1e-4, 1e-3, 1e-4};
constexpr double kLambdaMin = 1e-9;
constexpr double kLambdaMax = 1e8;
constexpr double kLambdaDown = 0.3;
constexpr double kLambdaUp = 4.0;
// A band at a limit has no curvature in some directions; this keeps the
// system solvable there.
constexpr double kRidge = 1e-9;
// Iterations that gain less than this share of the sum of squares count as
// converged.
constexpr double kConverged = 1e-5;
// Weight of the sum's squared excess over the limits against the squared
// deviation: the fit settles where the excess is about 1/100 of the
// deviation it would remove.
constexpr double kExcessWeight = 100.0;

}  // namespace

CRoomFitRefiner::CRoomFitRefiner(const CRoomFitProblem& problem, std::vector<FitBand> bands)
    : m_problem(problem),
      m_bands(std::move(bands)),
      m_trialBands(m_bands),
      m_sum(problem, m_bands),
      m_columns(static_cast<std::size_t>(Unknowns())),
      m_trial(m_bands.size()),
      m_normal(static_cast<std::size_t>(Unknowns() * Unknowns())),
      m_gradient(static_cast<std::size_t>(Unknowns()))
{
    m_dObjective = Objective(m_sum.Total());
}

void CRoomFitRefiner::Run(CRoomFitRun& run, int nFrom, int nTo)
{
    for (int n = 0; n < kMaxIterations && !m_bands.empty() && !run.Cancelled(); ++n) {
        const double dBefore = m_dObjective;
        if (!Iterate() || dBefore - m_dObjective < kConverged * dBefore)
            return;
        run.Progress(nFrom + (nTo - nFrom) * n / kMaxIterations);
    }
}

bool CRoomFitRefiner::Iterate()
{
    Jacobian();
    NormalEquations();
    std::vector<double> step(static_cast<std::size_t>(Unknowns()));
    for (; m_dLambda <= kLambdaMax; m_dLambda *= kLambdaUp) {
        if (!Solve(m_dLambda, step))
            continue;
        if (const double dTrial = TrialObjective(step); dTrial < m_dObjective) {
            m_bands = m_trialBands;
            for (std::size_t k = 0; k < m_bands.size(); ++k)
                m_sum.Replace(static_cast<int>(k), m_trial[k]);
            m_dObjective = dTrial;
            m_dLambda = std::max(m_dLambda * kLambdaDown, kLambdaMin);
            return true;
        }
    }
    return false;
}

void CRoomFitRefiner::Jacobian()
{
    const FitSpan& span = m_problem.Span();
    AxisResponse moved{};
    for (std::size_t k = 0; k < m_bands.size(); ++k) {
        for (int j = 0; j < kFitParams; ++j) {
            const auto p = static_cast<std::size_t>(j);
            FitBand band = m_bands[k];
            // Backwards at the upper limit: the response is never asked outside the limits.
            const double h = band[p] + kDifferenceStep[p] > m_problem.Upper(j) ? -kDifferenceStep[p] : kDifferenceStep[p];
            band[p] += h;
            m_problem.Response(band, moved);
            AxisResponse& column = m_columns[k * kFitParams + p];
            for (int i = span.nFirst; i <= span.nLast; ++i) {
                const auto n = static_cast<std::size_t>(i);
                column[n] = (moved[n] - m_sum.BandResponse(static_cast<int>(k))[n]) / h;
            }
        }
    }
}

// A point where the sum exceeds a limit counts in the deviation's rows and
// again, weighted, in the excess's rows; both have the same derivatives.
void CRoomFitRefiner::NormalEquations()
{
    const FitSpan& span = m_problem.Span();
    AxisResponse weight{};
    AxisResponse residual{};
    for (int i = span.nFirst; i <= span.nLast; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const double dExcess = Excess(m_sum.Total(), n);
        weight[n] = dExcess != 0.0 ? 1.0 + kExcessWeight : 1.0;
        residual[n] = m_sum.Total()[n] + kExcessWeight * dExcess;
    }
    for (int r = 0; r < Unknowns(); ++r) {
        const AxisResponse& a = m_columns[static_cast<std::size_t>(r)];
        double dGradient = 0.0;
        for (int i = span.nFirst; i <= span.nLast; ++i)
            dGradient += a[static_cast<std::size_t>(i)] * residual[static_cast<std::size_t>(i)];
        m_gradient[static_cast<std::size_t>(r)] = dGradient;
        for (int c = 0; c <= r; ++c) {
            const AxisResponse& b = m_columns[static_cast<std::size_t>(c)];
            double dDot = 0.0;
            for (int i = span.nFirst; i <= span.nLast; ++i)
                dDot += a[static_cast<std::size_t>(i)] * b[static_cast<std::size_t>(i)] * weight[static_cast<std::size_t>(i)];
            At(m_normal, r, c) = dDot;
            At(m_normal, c, r) = dDot;
        }
    }
}

// Cholesky of (JᵀJ + λ·diag(JᵀJ)) and the step that solves it against −Jᵀr.
bool CRoomFitRefiner::Solve(double dLambda, std::vector<double>& step) const
{
    const int n = Unknowns();
    std::vector<double> l(m_normal);
    for (int r = 0; r < n; ++r)
        At(l, r, r) += dLambda * At(l, r, r) + kRidge;
    for (int c = 0; c < n; ++c) {
        for (int k = 0; k < c; ++k)
            At(l, c, c) -= At(l, c, k) * At(l, c, k);
        if (At(l, c, c) <= 0.0)
            return false;
        At(l, c, c) = std::sqrt(At(l, c, c));
        for (int r = c + 1; r < n; ++r) {
            for (int k = 0; k < c; ++k)
                At(l, r, c) -= At(l, r, k) * At(l, c, k);
            At(l, r, c) /= At(l, c, c);
        }
    }
    for (int r = 0; r < n; ++r) {
        double d = -m_gradient[static_cast<std::size_t>(r)];
        for (int k = 0; k < r; ++k)
            d -= At(l, r, k) * step[static_cast<std::size_t>(k)];
        step[static_cast<std::size_t>(r)] = d / At(l, r, r);
    }
    for (int r = n - 1; r >= 0; --r) {
        double d = step[static_cast<std::size_t>(r)];
        for (int k = r + 1; k < n; ++k)
            d -= At(l, k, r) * step[static_cast<std::size_t>(k)];
        step[static_cast<std::size_t>(r)] = d / At(l, r, r);
    }
    return true;
}

double CRoomFitRefiner::TrialObjective(const std::vector<double>& step)
{
    const FitSpan& span = m_problem.Span();
    AxisResponse total = m_problem.Deviation();
    for (std::size_t k = 0; k < m_bands.size(); ++k) {
        FitBand band = m_bands[k];
        for (std::size_t j = 0; j < kFitParams; ++j)
            band[j] += step[k * kFitParams + j];
        m_trialBands[k] = m_problem.Clamped(band);
        m_problem.Response(m_trialBands[k], m_trial[k]);
        for (int i = span.nFirst; i <= span.nLast; ++i)
            total[static_cast<std::size_t>(i)] += m_trial[k][static_cast<std::size_t>(i)];
    }
    return Objective(total);
}

double CRoomFitRefiner::Excess(const AxisResponse& total, std::size_t n) const
{
    return m_problem.Excess(total[n] - m_problem.Deviation()[n]);
}

double CRoomFitRefiner::Objective(const AxisResponse& total) const
{
    const FitSpan& span = m_problem.Span();
    double dObjective = 0.0;
    for (int i = span.nFirst; i <= span.nLast; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const double dExcess = Excess(total, n);
        dObjective += total[n] * total[n] + kExcessWeight * dExcess * dExcess;
    }
    return dObjective;
}
