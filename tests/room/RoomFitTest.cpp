#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <tuple>
#include <vector>

#include "ModelFixture.h"
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

}  // namespace

class RoomFit : public ModelTest {
protected:
    CKTV_OutData& Out() { return Data().Output(0); }

    RoomFitInput Input(const Room& room)
    {
        Out().EQ().HighPass().SetFrequency(35, false);
        RoomFitInput input;
        std::string strError;
        EXPECT_TRUE(input.measurement.Assign(RoomPoints(room), &strError)) << strError;
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

    // The baseline: one band at a time at the largest deviation a band
    // within the limits corrects, with the gain that cancels it there and
    // the bandwidth code that lowers the RMS most.
    std::vector<MappedBand> GreedyBands(const RoomFitInput& input)
    {
        std::vector<MappedBand> bands;
        AxisResponse predicted{};
        AppliedResidual(input, bands);
        input.measurement.Predict(Out().EQ(), predicted);
        double dRms = PredictedResidual(predicted, input).dRmsDb;
        while (static_cast<int>(bands.size()) < input.nBands) {
            int nWorst = -1;
            double dWorst = 0.05;
            for (int i = 0; i < kAxisPoints; ++i) {
                const double f = g_dFreqAxis[static_cast<std::size_t>(i)];
                const double d = predicted[static_cast<std::size_t>(i)] - input.target.At(i);
                const double dFix = d > 0 ? std::min(d, -input.dMaxCutDb) : std::min(-d, input.dMaxBoostDb);
                if (f >= input.dLowHz && f <= input.dHighHz && dFix > dWorst) {
                    dWorst = dFix;
                    nWorst = i;
                }
            }
            if (nWorst < 0)
                break;
            const double dDev = predicted[static_cast<std::size_t>(nWorst)] - input.target.At(nWorst);
            MappedBand band;
            band.nFreq = std::clamp(static_cast<int>(std::lround(g_dFreqAxis[static_cast<std::size_t>(nWorst)])),
                                    static_cast<int>(std::ceil(input.dLowHz)), static_cast<int>(input.dHighHz));
            band.nGainCode = GainToCode(std::clamp(-dDev, input.dMaxCutDb, input.dMaxBoostDb));
            AxisResponse best = predicted;
            for (int c = 0; c <= kBandwidthCodeMax; ++c) {
                AxisResponse response{};
                PeakingResponse(band.nFreq, CodeToGain(band.nGainCode), CodeToBandwidth(c), response);
                for (std::size_t i = 0; i < response.size(); ++i)
                    response[i] += predicted[i];
                const double dTrial = PredictedResidual(response, input).dRmsDb;
                if (dTrial < dRms) {
                    dRms = dTrial;
                    best = response;
                    band.nBandwidthCode = c;
                }
            }
            if (best == predicted)
                break;
            predicted = best;
            bands.push_back(band);
        }
        return bands;
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
        }
    }
}

TEST_F(RoomFit, NeverWorseThanGreedyAndBetterOnAverage)
{
    double dRatioSum = 0.0;
    int nFits = 0;
    for (const Room& room : Rooms()) {
        for (const double dBoost : {0.0, 6.0}) {
            RoomFitInput input = Input(room);
            input.dMaxBoostDb = dBoost;
            const double dGreedy = AppliedResidual(input, GreedyBands(input)).dRmsDb;
            const RoomFitResult result = FitRoom(input);
            std::cout << room.szName << " boost " << dBoost << ": before " << result.before.dRmsDb << " greedy "
                      << dGreedy << " fit " << result.after.dRmsDb << " dB RMS, max " << result.after.dMaxDb
                      << " dB, " << result.bands.size() << " bands\n";
            EXPECT_LE(result.after.dRmsDb, dGreedy + 1e-9) << room.szName;
            dRatioSum += result.after.dRmsDb / dGreedy;
            ++nFits;
        }
    }
    // Without boost most of what is left are dips no band may fill.
    EXPECT_LT(dRatioSum / nFits, 0.9);
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
