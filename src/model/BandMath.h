// Display responses of equalizer bands and crossover filters, in dB at the
// axis points. Each band is modelled as second-order digital sections at
// 96 kHz; the curves are for the graph only and never reach the processor.
//
// Pure functions of their arguments: no band object, no globals besides the
// constant axis. Safe on any thread.
#pragma once

#include <array>
#include <complex>

#include "DataDefine.h"

using AxisResponse = std::array<double, kAxisPoints>;
using ComplexAxis = std::array<std::complex<double>, kAxisPoints>;

// H(z) = (b0 + b1·z⁻¹ + b2·z⁻²) / (a0 + a1·z⁻¹ + a2·z⁻²). The default is the
// neutral section (0 dB everywhere).
struct BiquadSection {
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a0 = 1.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

// Crossover characteristic as stored in the band: filter type 0 Linkwitz-Riley,
// 1 Bessel, 2 Butterworth; slope index 0 … 6 = 12 … 48 dB/oct (7 is off).
// Two-slope filters (microphone, music) offer 12 and 24 dB/oct as slopes 0, 1.
struct CrossoverShape {
    int nType = 0;
    int nSlope = 0;
    bool bTwoSlope = false;
};

constexpr int kCrossoverSections = 4;
constexpr int kSectionSets = 7;

// The sections of one band, in the order their dB values are added. A band
// with no sections is flat (0 dB, no phase shift).
struct SectionList {
    std::array<BiquadSection, kCrossoverSections> sections{};
    int nCount = 0;
    void Add(const BiquadSection& sec) { sections[static_cast<std::size_t>(nCount++)] = sec; }
    const BiquadSection* begin() const { return sections.data(); }
    const BiquadSection* end() const { return sections.data() + nCount; }
};

// Magnitude in dB of one section at angular frequency ω (radians per sample).
double SectionDb(const BiquadSection& sec, double dOmega);

// The sum of the sections' dB values at every axis point.
void SectionsResponse(const SectionList& list, AxisResponse& out);

// Multiplies inout by the sections' complex values at every axis point.
void MultiplySections(const SectionList& list, ComplexAxis& inout);
// Adds the sections' group delay in samples (at 96 kHz) at every axis point.
void AddSectionsDelay(const SectionList& list, AxisResponse& inout);

// Each builder gives the sections the matching response function below
// evaluates; values outside the tables give none.
SectionList PeakingSections(double dCentre, double dGain, double dBandwidth);
SectionList ShelfSections(bool bHigh, double dFreq, double dGain, int nSlope);
SectionList HighPassSections(double dFreq, const CrossoverShape& shape);
SectionList LowPassSections(double dFreq, const CrossoverShape& shape);

// Section set 0 … 6 of a crossover, or −1 when the slope has none (off or a
// value outside the tables).
int CrossoverSectionSet(int nSlope, bool bTwoSlope);

// Each function overwrites all of out. Values outside the tables (shelf slope
// other than 0/1, crossover type above 2, slope without a section set) and a
// frequency of 0 Hz or less give a flat 0 dB.
void PeakingResponse(double dFreq, double dGain, double dBandwidth, AxisResponse& out);
// The peaking section centred on dCentre itself, written to axis points
// nFirst … nLast only (the rest of out is left alone). The room fit moves
// the centre between axis points while it refines and evaluates only the
// points it fits.
void PeakingSpanResponse(double dCentre, double dGain, double dBandwidth, int nFirst, int nLast, AxisResponse& out);
void LowShelfResponse(double dFreq, double dGain, int nSlope, AxisResponse& out);
void HighShelfResponse(double dFreq, double dGain, int nSlope, AxisResponse& out);
void HighPassResponse(double dFreq, const CrossoverShape& shape, AxisResponse& out);
void LowPassResponse(double dFreq, const CrossoverShape& shape, AxisResponse& out);
