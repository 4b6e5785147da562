#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "ModelFixture.h"
#include "MeasurementAverage.h"
#include "RoomFit.h"

namespace {

struct Mode {
    double dFreq;
    double dDb;
    double dWidthOct;
};

struct Room {
    const char* szName;
    std::vector<Mode> modes;
    double dTiltPerDecade;
    double dRippleDb;
};

// Modes and dips below 300 Hz, a tilt and some ripple, at 48 points an octave.
std::vector<MeasurementPoint> RoomPoints(const Room& room)
{
    std::vector<MeasurementPoint> points;
    for (double f = 10.0; f < 24000.0; f *= std::exp2(1.0 / 48.0)) {
        double dDb = 75.0 + room.dTiltPerDecade * std::log10(f / 1000.0) + room.dRippleDb * std::sin(7.3 * std::log2(f));
        for (const Mode& mode : room.modes)
            dDb += mode.dDb * std::exp(-0.5 * std::pow(std::log2(f / mode.dFreq) / mode.dWidthOct, 2.0));
        points.push_back({f, dDb});
    }
    return points;
}

const std::vector<Room>& Rooms()
{
    static const std::vector<Room> rooms = {
        {"modes", {{42, 9, 0.08}, {68, 6, 0.1}, {85, -10, 0.07}, {115, 7, 0.1}, {160, -6, 0.12}}, -3.0, 0.5},
        {"dips", {{55, -12, 0.1}, {95, 4, 0.2}, {130, -8, 0.08}, {240, 3, 0.15}}, -2.0, 1.0},
        {"dense", {{31, 5, 0.1}, {40, -5, 0.1}, {50, 5, 0.1}, {63, -5, 0.1}, {80, 5, 0.1}, {100, -5, 0.1},
                   {125, 5, 0.1}, {160, -5, 0.1}, {200, 5, 0.1}, {250, -5, 0.1}}, 0.0, 0.3},
        {"hump", {{60, 8, 0.7}, {180, -4, 0.3}}, 4.0, 0.2},
        {"wide", {{38, 10, 0.05}, {150, 6, 0.04}, {290, -7, 0.2}, {2500, 4, 0.3}, {9000, -5, 0.5}}, -1.0, 1.5},
    };
    return rooms;
}

// Two to seven modes and dips of 3 … 12 dB between 25 and 500 Hz, a tilt and ripple.
Room RandomRoom(std::mt19937& random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Room room{"random", {}, -4.0 + 8.0 * unit(random), 1.5 * unit(random)};
    for (int n = 2 + static_cast<int>(random() % 6); n > 0; --n)
        room.modes.push_back({25.0 * std::exp2(4.3 * unit(random)), (unit(random) < 0.5 ? -1.0 : 1.0) * (3.0 + 9.0 * unit(random)),
                              0.04 + 0.26 * unit(random)});
    return room;
}

// The state of the tests' greedy placement (RoomFit::GreedyBands).
struct Greedy {
    const RoomFitInput* pInput;
    AxisResponse predicted;
    AxisResponse sum;  // the bands' own
    std::vector<MappedBand> bands;
    double dRms;

    bool Free(int nHz) const
    {
        return nHz >= pInput->dLowHz && nHz <= pInput->dHighHz &&
               std::none_of(bands.begin(), bands.end(), [&](const MappedBand& band) { return band.nFreq == nHz; });
    }
    double Deviation(int i) const { return predicted[static_cast<std::size_t>(i)] - pInput->target.At(i); }
    // The gain limits of a new band at point i.
    std::pair<double, double> Room(int i) const
    {
        const double dSum = sum[static_cast<std::size_t>(i)];
        return {std::max(pInput->dMaxCutDb, pInput->dMaxCutDb - dSum), std::min(pInput->dMaxBoostDb, pInput->dMaxBoostDb - dSum)};
    }
    int WorstPoint(const std::vector<bool>& missed) const
    {
        int nWorst = -1;
        double dWorst = 0.05;
        for (int i = 0; i < kAxisPoints; ++i) {
            const double f = g_dFreqAxis[static_cast<std::size_t>(i)];
            const double dFix = Deviation(i) > 0 ? std::min(Deviation(i), -Room(i).first) : std::min(-Deviation(i), Room(i).second);
            if (f >= pInput->dLowHz && f <= pInput->dHighHz && dFix > dWorst && !missed[static_cast<std::size_t>(i)] &&
                (Free(static_cast<int>(std::floor(f))) || Free(static_cast<int>(std::ceil(f))))) {
                dWorst = dFix;
                nWorst = i;
            }
        }
        return nWorst;
    }
    // The best band on nHz for the deviation at point i: the state it
    // leaves, if it lowers the RMS within the limits.
    std::optional<Greedy> With(int i, int nHz) const
    {
        const auto [dLow, dHigh] = Room(i);
        const int nLowCode = static_cast<int>(std::ceil((dLow + 20.0) * 10.0 - 1e-6));
        const int nHighCode = static_cast<int>(std::floor((dHigh + 20.0) * 10.0 + 1e-6));
        MappedBand band;
        band.nFreq = nHz;
        band.nGainCode = std::clamp(GainToCode(-Deviation(i)), nLowCode, nHighCode);
        if (!Free(nHz) || nLowCode > nHighCode || band.nGainCode == kGainCodeZero)
            return std::nullopt;
        std::optional<Greedy> best;
        for (int c = 0; c <= kBandwidthCodeMax; ++c) {
            AxisResponse response{};
            PeakingResponse(nHz, CodeToGain(band.nGainCode), CodeToBandwidth(c), response);
            Greedy trial = *this;
            bool bWithin = true;
            for (std::size_t n = 0; n < response.size(); ++n) {
                trial.predicted[n] += response[n];
                trial.sum[n] += response[n];
                bWithin = bWithin && trial.sum[n] <= pInput->dMaxBoostDb + 1e-6 && trial.sum[n] >= pInput->dMaxCutDb - 1e-6;
            }
            trial.dRms = PredictedResidual(trial.predicted, *pInput).dRmsDb;
            if (bWithin && trial.dRms < (best ? best->dRms : dRms)) {
                band.nBandwidthCode = c;
                trial.bands.push_back(band);
                best = trial;
            }
        }
        return best;
    }
};

}  // namespace

class RoomFit : public ModelTest {
protected:
    CKTV_OutData& Out() { return Data().Output(0); }

    RoomFitInput Input(const Room& room) { return Input(RoomPoints(room)); }
    RoomFitInput Input(const std::vector<MeasurementPoint>& points)
    {
        Out().EQ().HighPass().SetFrequency(35, false);
        RoomFitInput input;
        std::string strError;
        EXPECT_TRUE(input.measurement.Assign(points, &strError)) << strError;
        input.crossover = CrossoverResponse(Out().EQ());
        return input;
    }

    // The bands on the output record through the import's path, predicted
    // by the graph's curve code.
    RoomResidual AppliedResidual(const RoomFitInput& input, const std::vector<MappedBand>& bands)
    {
        RoomFitResult applied;
        applied.bands = bands;
        ApplyRoomFit(Out(), applied);
        AxisResponse predicted{};
        input.measurement.Predict(Out().EQ(), predicted);
        return PredictedResidual(predicted, input);
    }

    // The bands' sum on the output record, as the graph's curve code draws it.
    AxisResponse EqSum(const std::vector<MappedBand>& bands)
    {
        RoomFitResult applied;
        applied.bands = bands;
        ApplyRoomFit(Out(), applied);
        AxisResponse sum{};
        for (int b = 0; b < Out().EQ().BandCount(); ++b)
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i] += Out().EQ()[b].Response()[i];
        return sum;
    }

    // The limits hold on the sum at every axis point, and no two bands share a frequency.
    void ExpectSummedLimits(const RoomFitInput& input, const std::vector<MappedBand>& bands, const std::string& strCase)
    {
        const AxisResponse sum = EqSum(bands);
        EXPECT_LE(*std::max_element(sum.begin(), sum.end()), input.dMaxBoostDb + 1e-6) << strCase;
        EXPECT_GE(*std::min_element(sum.begin(), sum.end()), input.dMaxCutDb - 1e-6) << strCase;
        for (std::size_t k = 1; k < bands.size(); ++k)
            EXPECT_LT(bands[k - 1].nFreq, bands[k].nFreq) << strCase;
    }

    // The baseline, the plain greedy placement: one band at a time at the
    // largest deviation a band corrects within the limits (its own, and
    // what the bands before it leave of the sum's), on a whole hertz next to
    // it that no band has, with the gain code nearest to cancelling it there
    // and the bandwidth code that lowers the RMS most within the limits; the
    // next largest deviation where no band helps, four times in a row.
    std::vector<MappedBand> GreedyBands(const RoomFitInput& input)
    {
        Greedy greedy{&input, {}, {}, {}, 0.0};
        AppliedResidual(input, {});
        input.measurement.Predict(Out().EQ(), greedy.predicted);
        greedy.dRms = PredictedResidual(greedy.predicted, input).dRmsDb;
        std::vector<bool> missed(kAxisPoints);
        for (int nMisses = 0; static_cast<int>(greedy.bands.size()) < input.nBands && nMisses < 4;) {
            const int nWorst = greedy.WorstPoint(missed);
            if (nWorst < 0)
                break;
            const double f = g_dFreqAxis[static_cast<std::size_t>(nWorst)];
            std::optional<Greedy> next = greedy.With(nWorst, static_cast<int>(std::floor(f)));
            if (const std::optional<Greedy> upper = greedy.With(nWorst, static_cast<int>(std::ceil(f)));
                upper && (!next || upper->dRms < next->dRms))
                next = upper;
            missed[static_cast<std::size_t>(nWorst)] = !next;
            nMisses = next ? 0 : nMisses + 1;
            if (next) {
                greedy = *next;
                missed.assign(missed.size(), false);
            }
        }
        return greedy.bands;
    }
};


TEST_F(RoomFit, BandsStayOnTheProcessorGridAndWithinTheLimits)
{
    for (const Room& room : Rooms()) {
        for (const auto& [dLow, dHigh, nBands, dBoost, dCut] :
             {std::tuple{20.0, 500.0, 10, 0.0, -20.0}, {30.5, 300.0, 6, 6.0, -12.0}, {20.0, 20000.0, 31, 3.0, -15.0}}) {
            if (nBands == kRoomFitMaxBands && &room != &Rooms().back())
                continue;  // the whole axis once, on the room with features above 300 Hz
            RoomFitInput input = Input(room);
            input.dLowHz = dLow;
            input.dHighHz = dHigh;
            input.nBands = nBands;
            input.dMaxBoostDb = dBoost;
            input.dMaxCutDb = dCut;
            const RoomFitResult result = FitRoom(input);
            ASSERT_EQ(result.status, RoomFitStatus::Done) << result.strError;
            EXPECT_FALSE(result.bands.empty());
            EXPECT_LE(static_cast<int>(result.bands.size()), nBands);
            for (const MappedBand& band : result.bands) {
                EXPECT_EQ(band.nShelfMode, 0);
                EXPECT_GE(band.nFreq, dLow);
                EXPECT_LE(band.nFreq, dHigh);
                EXPECT_LE(CodeToGain(band.nGainCode), dBoost);
                EXPECT_GE(CodeToGain(band.nGainCode), dCut);
                EXPECT_NE(band.nGainCode, kGainCodeZero) << "a band that does nothing stays";
                EXPECT_GE(band.nBandwidthCode, 0);
                EXPECT_LE(band.nBandwidthCode, kBandwidthCodeMax);
            }
            ExpectSummedLimits(input, result.bands, room.szName);
        }
    }
}

TEST_F(RoomFit, LimitsHoldOnTheSumWhereBandsWouldStack)
{
    // A deep dip, tall peaks, and a flat room under a target 12 dB up at 20 Hz.
    const Room dip{"dip", {{100, -12, 0.12}}, 0.0, 0.0};
    const Room peaks{"peaks", {{70, 14, 0.15}, {150, 12, 0.2}}, 0.0, 0.0};
    const Room flat{"flat", {}, 0.0, 0.0};
    std::vector<MeasurementPoint> tilt;
    for (const double f : {10.0, 200.0, 2000.0, 24000.0})
        tilt.push_back({f, f < 200.0 ? 12.0 * std::log10(200.0 / f) : 0.0});
    for (const auto& [pRoom, dBoost, dCut, bTilted] :
         {std::tuple{&dip, 3.0, -20.0, false}, {&peaks, 0.0, -6.0, false}, {&flat, 6.0, -20.0, true}}) {
        RoomFitInput input = Input(*pRoom);
        input.dMaxBoostDb = dBoost;
        input.dMaxCutDb = dCut;
        std::string strError;
        ASSERT_TRUE(!bTilted || input.target.Assign(tilt, &strError)) << strError;
        const RoomFitResult result = FitRoom(input);
        ASSERT_EQ(result.status, RoomFitStatus::Done) << result.strError;
        EXPECT_LT(result.after.dRmsDb, result.before.dRmsDb) << pRoom->szName;
        ExpectSummedLimits(input, result.bands, pRoom->szName);
    }
}

// Slow under the sanitizers: the Release tree alone runs it (tests/CMakeLists.txt).
TEST_F(RoomFit, NeverWorseThanGreedyOnRandomRoomsAndBetterOnAverage)
{
    std::mt19937 random(470);
    double dRatioSum = 0.0;
    double dWorstRatio = 0.0;
    constexpr int kRooms = 200;
    for (int n = 0; n < kRooms; ++n) {
        RoomFitInput input = Input(RandomRoom(random));
        input.nBands = std::array{10, 6, 10, 16}[n % 4];
        input.dMaxBoostDb = std::array{3.0, 0.0, 6.0}[n % 3];
        input.dMaxCutDb = std::array{-20.0, -8.0}[n % 2];
        const double dGreedy = AppliedResidual(input, GreedyBands(input)).dRmsDb;
        const RoomFitResult result = FitRoom(input);
        ASSERT_EQ(result.status, RoomFitStatus::Done) << n;
        EXPECT_LE(result.after.dRmsDb, dGreedy + 1e-9) << "room " << n;
        ExpectSummedLimits(input, result.bands, "room " + std::to_string(n));
        dRatioSum += result.after.dRmsDb / dGreedy;
        dWorstRatio = std::max(dWorstRatio, result.after.dRmsDb / dGreedy);
    }
    std::cout << "fit / greedy RMS: mean " << dRatioSum / kRooms << ", worst " << dWorstRatio << '\n';
    // Most of what is left are dips no band may fill, within the limits.
    EXPECT_LT(dRatioSum / kRooms, 0.95);
}

TEST_F(RoomFit, ReportedResidualIsThatOfTheAppliedBands)
{
    RoomFitInput input = Input(Rooms().front());
    input.dMaxBoostDb = 6.0;
    const RoomFitResult result = FitRoom(input);
    const RoomResidual applied = AppliedResidual(input, result.bands);
    EXPECT_NEAR(result.after.dRmsDb, applied.dRmsDb, 1e-9);
    EXPECT_NEAR(result.after.dMaxDb, applied.dMaxDb, 1e-9);
    EXPECT_NEAR(result.before.dRmsDb, AppliedResidual(input, {}).dRmsDb, 1e-9);
    EXPECT_LT(result.after.dRmsDb, result.before.dRmsDb);
}

TEST_F(RoomFit, WithoutBoostItOnlyCuts)
{
    RoomFitInput input = Input(Rooms()[1]);  // deep dips a boost would fill
    input.dMaxBoostDb = 6.0;
    const RoomFitResult boosted = FitRoom(input);
    EXPECT_TRUE(std::any_of(boosted.bands.begin(), boosted.bands.end(),
                            [](const MappedBand& band) { return band.nGainCode > kGainCodeZero; }));
    input.dMaxBoostDb = 0.0;
    for (const MappedBand& band : FitRoom(input).bands)
        EXPECT_LT(band.nGainCode, kGainCodeZero);
}

TEST_F(RoomFit, CancelledFitStopsAndSaysSo)
{
    RoomFitInput input = Input(Rooms().front());
    int nPolls = 0;
    RoomFitHooks hooks;
    hooks.isCancelled = [&] { return ++nPolls >= 3; };
    const RoomFitResult result = FitRoom(input, hooks);
    EXPECT_EQ(result.status, RoomFitStatus::Cancelled);
    EXPECT_TRUE(result.bands.empty());
    EXPECT_EQ(nPolls, 3);
}

TEST_F(RoomFit, ProgressRisesToAHundred)
{
    std::vector<int> seen;
    RoomFitHooks hooks;
    hooks.onProgress = [&](int nPercent) { seen.push_back(nPercent); };
    ASSERT_EQ(FitRoom(Input(Rooms().front()), hooks).status, RoomFitStatus::Done);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
}

TEST_F(RoomFit, HouseCurveCountsByItsShapeNotItsLevel)
{
    RoomFitInput input = Input(Rooms()[3]);
    std::vector<MeasurementPoint> house = RoomPoints(Rooms()[3]);
    for (MeasurementPoint& point : house)
        point.dDb -= 11.0;
    std::string strError;
    ASSERT_TRUE(input.target.Assign(house, &strError)) << strError;
    input.crossover.fill(0.0);
    const RoomFitResult result = FitRoom(input);
    ASSERT_EQ(result.status, RoomFitStatus::Done);
    EXPECT_NEAR(result.before.dRmsDb, 0.0, 1e-9);
    EXPECT_TRUE(result.bands.empty());
}

TEST_F(RoomFit, RefusesWhatItCannotFit)
{
    RoomFitInput input = Input(Rooms().front());
    input.nBands = kRoomFitMaxBands + 1;
    EXPECT_EQ(FitRoom(input).status, RoomFitStatus::Refused);
    input = Input(Rooms().front());
    input.dLowHz = 600.0;
    EXPECT_EQ(FitRoom(input).status, RoomFitStatus::Refused);
    EXPECT_EQ(FitRoom(RoomFitInput{}).status, RoomFitStatus::Refused);
}

TEST_F(RoomFit, FindsTheBandsThatMadeTheRoom)
{
    // A room that three of the processor's own bands would flatten.
    std::vector<MappedBand> truth(3);
    truth[0] = {0, 47, GainToCode(-9.5), 12};
    truth[1] = {0, 88, GainToCode(-6.0), 60};
    truth[2] = {0, 150, GainToCode(-4.2), 25};
    AxisResponse made{};
    for (const MappedBand& band : truth) {
        AxisResponse response{};
        PeakingResponse(band.nFreq, -CodeToGain(band.nGainCode), CodeToBandwidth(band.nBandwidthCode), response);
        for (std::size_t i = 0; i < response.size(); ++i)
            made[i] += response[i];
    }
    std::vector<MeasurementPoint> points;
    for (std::size_t i = 0; i < made.size(); ++i)
        points.push_back({g_dFreqAxis[i], made[i]});
    RoomFitInput input;
    std::string strError;
    ASSERT_TRUE(input.measurement.Assign(points, &strError)) << strError;
    input.nBands = 3;
    const RoomFitResult result = FitRoom(input);
    ASSERT_EQ(result.bands.size(), truth.size());
    // The measurement's offset to 0 dB leaves the true bands a little off.
    EXPECT_LE(result.after.dRmsDb, AppliedResidual(input, truth).dRmsDb);
    for (std::size_t k = 0; k < truth.size(); ++k)
        EXPECT_NEAR(std::log2(result.bands[k].nFreq / static_cast<double>(truth[k].nFreq)), 0.0, 1.0 / 12) << k;
}

TEST_F(RoomFit, FitOfThePowerAverageServesTheAverageAtLeastAsWellAsSingleFits)
{
    std::mt19937 random(35);
    Positions positions;
    for (int n = 0; n < 3; ++n)
        positions.push_back(RoomPoints(RandomRoom(random)));
    std::vector<MeasurementPoint> average;
    std::string strError;
    ASSERT_TRUE(PowerAverage(positions, &average, &strError)) << strError;
    const RoomFitInput averaged = Input(average);
    double dSingles = 0.0;
    for (const auto& points : positions)
        dSingles += AppliedResidual(averaged, FitRoom(Input(points)).bands).dRmsDb / 3.0;
    const RoomFitResult fit = FitRoom(averaged);
    ASSERT_EQ(fit.status, RoomFitStatus::Done);
    EXPECT_LE(fit.after.dRmsDb, dSingles);
}
