// Value scales, constant tables and the image layout shared by the model,
// the protocol and the pages. No Qt here: the core is plain C++.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class CProcessorState;

// ---- Response axis and band tables -------------------------------------

constexpr int kAxisPoints = 241;      // 24 points per octave, 19.7 Hz … 20 kHz
constexpr int kQEntries = 296;        // bandwidth codes 0 … 295
constexpr int kGraphicBands = 31;     // output equalizer bands
constexpr int kInputBands = 9;        // microphone and music equalizer bands
constexpr int kEffectBands = 3;

constexpr int kMinFreq = 20;
constexpr int kMaxFreq = 20000;

// Stored axis frequencies; every curve is computed at these points.
extern const std::array<double, kAxisPoints> g_dFreqAxis;
// Q for every bandwidth code, rounded to three decimals as the processor's
// own tables are.
extern const std::array<double, kQEntries> g_dQTable;

extern const std::array<int, kGraphicBands> g_nGraphicFreq;
extern const std::array<int, kInputBands> g_nInputBandFreq;
extern const std::array<int, kEffectBands> g_nEffectBandFreq;

// ---- Codes on the wire ---------------------------------------------------

constexpr int kGainCodeMax = 400;     // gain code 0 … 400 = −20 … +20 dB
constexpr int kGainWireOffset = 400;  // the wire carries code + 400
constexpr int kGainCodeZero = 200;    // 0.0 dB; a bypassed band sends this
constexpr int kBandwidthCodeMax = 295;
constexpr int kLevelMax = 70;         // level index 0 … 70 = −60 … +10 dB
constexpr int kDelayMax = 960;        // 1/48 ms units, 20 ms
constexpr int kThresholdMax = 360;
constexpr int kAttackMax = 106;
constexpr int kReleaseMax = 5;
constexpr int kCrossoverSlopeOff = 7;

int GainToCode(double dGain);          // truncate((g + 20) × 10 + 0.5), limited to 0 … 400
double CodeToGain(int nCode);          // code × 0.1 − 20
int BandwidthToCode(double dOct);      // truncate((B − 0.05) / 0.01 + 0.05), limited to 0 … 295
double CodeToBandwidth(int nCode);     // 0.05 + 0.01 × code

// ---- Helpers ---------------------------------------------------------------

// First axis index whose value is ≥ f, or the previous one when f is closer
// to it; 240 above the last point.
int NearestAxisIndex(double dFreq);
// First index whose entry is ≤ the value; 295 when none is.
int QTableIndex(double dQ);
// Entry i of the Q table; an index outside 0 … 295 is limited to the table.
double QTableEntry(int nIndex);

// Pixel rules of the response graph; rows grow downwards (+20 dB is row 0).
int DbToRow(double dDb, int nHeight);
double DbToRowF(double dDb, int nHeight);
int FreqToCol(double dFreq, int nWidth);
double FreqToColF(double dFreq, int nWidth);
double ColToFreq(double dCol, int nWidth);   // limited to 20 … 20000
double RowToDb(double dRow, int nHeight);    // rounded half away from zero to 0.1 dB

// Copies a string into an n-byte field: zero-padded with byte n − 1 zero.
// Returns false and leaves the field untouched when the string does not fit;
// the caller decides how to tell the user ("char Len error!").
bool CopyFixed(uint8_t* pDest, int nBytes, const std::string& str);
const char* CharLenErrorText();
// The processor keeps the first 13 characters of a program name and turns
// every byte that is not printable ASCII into a space.
constexpr int kNameChars = 13;
constexpr int kScenePrograms = 10;  // the scene programs users name: store entries 1 … 10
bool IsNameChar(char c);
// The name a field of n bytes holds as the processor keeps it, the one form
// every name is shown in: n − 1 bytes cut at the first zero byte, every other
// byte outside printable ASCII read as a space, trimmed at both ends.
std::string BytesToName(const uint8_t* pSrc, int nBytes);
std::string Trim(const std::string& str);
bool IsBlank(const std::string& str);
// True when a scene program other than nProgram carries the name in
// pField. Names are the same when the processor keeps the same characters of
// them up to trailing spaces: a name read back space-padded equals the typed,
// zero-padded one. Leading spaces and case count.
bool IsDuplicateName(CProcessorState& state, int nProgram, const uint8_t* pField);

// Band groups 0 … nBands − 1 of a block at their start-up values: 1000 Hz,
// 0.0 dB, the narrowest bandwidth, peaking.
void WriteFlatBandGroups(uint8_t* pBlock, int nBands);

// Little-endian 16-bit fields of the byte images.
inline int GetWord(const uint8_t* p) { return p[0] | (p[1] << 8); }
inline void PutWord(uint8_t* p, int nValue)
{
    p[0] = static_cast<uint8_t>(nValue & 0xFF);
    p[1] = static_cast<uint8_t>((nValue >> 8) & 0xFF);
}
