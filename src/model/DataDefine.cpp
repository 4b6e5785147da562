#include "DataDefine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ProcessorState.h"
#include "TextTable.h"

namespace {

// Axis anchors every 24 points (one octave); the points between follow the
// geometric spacing of their octave.
constexpr std::array<double, 11> kAxisAnchors = {19.7, 39.4, 78.7, 158.0, 315.0, 630.0,
                                                 1260.0, 2520.0, 5000.0, 10079.0, 20000.0};

std::array<double, kAxisPoints> MakeAxis()
{
    std::array<double, kAxisPoints> axis{};
    for (int i = 0; i < kAxisPoints; ++i) {
        const int nOctave = std::min(i / 24, 9);
        const double dLow = kAxisAnchors[nOctave];
        const double dHigh = kAxisAnchors[nOctave + 1];
        const int nStep = i - 24 * nOctave;
        axis[i] = nStep == 0 ? dLow : (nStep == 24 ? dHigh : dLow * std::pow(dHigh / dLow, nStep / 24.0));
    }
    return axis;
}

std::array<double, kQEntries> MakeQTable()
{
    std::array<double, kQEntries> table{};
    for (int i = 0; i < kQEntries; ++i) {
        const double dPow = std::pow(2.0, 0.05 + 0.01 * i);
        table[i] = std::round(std::sqrt(dPow) / (dPow - 1.0) * 1000.0) / 1000.0;
    }
    return table;
}

}  // namespace

const std::array<double, kAxisPoints> g_dFreqAxis = MakeAxis();
const std::array<double, kQEntries> g_dQTable = MakeQTable();

const std::array<int, kGraphicBands> g_nGraphicFreq = {
    20,   25,   32,   40,   50,   63,   80,   100,  125,   160,   200,   250,   315,   400,   500,  630,
    800,  1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};
const std::array<int, kInputBands> g_nInputBandFreq = {40, 80, 160, 317, 632, 1261, 2515, 5018, 10000};
const std::array<int, kEffectBands> g_nEffectBandFreq = {100, 1000, 10000};

// Both limit the value while it is a double: a gain of 1e10 dB read from a
// file must not overflow the integer.
int GainToCode(double dGain)
{
    const double dCode = (dGain + 20.0) * 10.0 + 0.5;
    return dCode >= 0.0 ? static_cast<int>(std::min(dCode, static_cast<double>(kGainCodeMax))) : 0;
}

double CodeToGain(int nCode)
{
    // (code − 200) / 10 keeps 0.0 dB exact, which the bypass rules test.
    return (nCode - kGainCodeZero) / 10.0;
}

int BandwidthToCode(double dOct)
{
    const double dCode = (dOct - 0.05) / 0.01 + 0.05;
    return dCode >= 0.0 ? static_cast<int>(std::min(dCode, static_cast<double>(kBandwidthCodeMax))) : 0;
}

double CodeToBandwidth(int nCode)
{
    return 0.05 + 0.01 * nCode;
}

int NearestAxisIndex(double dFreq)
{
    const auto it = std::lower_bound(g_dFreqAxis.begin(), g_dFreqAxis.end(), dFreq);
    if (it == g_dFreqAxis.end())
        return kAxisPoints - 1;
    const int i = static_cast<int>(it - g_dFreqAxis.begin());
    if (i > 0 && dFreq - g_dFreqAxis[i - 1] < g_dFreqAxis[i] - dFreq)
        return i - 1;
    return i;
}

int QTableIndex(double dQ)
{
    for (int i = 0; i < kQEntries; ++i) {
        if (g_dQTable[i] <= dQ)
            return i;
    }
    return kQEntries - 1;
}

double QTableEntry(int nIndex)
{
    return g_dQTable[std::clamp(nIndex, 0, kQEntries - 1)];
}

int DbToRow(double dDb, int nHeight)
{
    return static_cast<int>(nHeight / 40.0 * (20.0 - dDb) + 0.5);
}

double DbToRowF(double dDb, int nHeight)
{
    return nHeight / 40.0 * (20.0 - dDb);
}

double FreqToColF(double dFreq, int nWidth)
{
    return std::log10(dFreq / 20.0) * (nWidth / 3);
}

int FreqToCol(double dFreq, int nWidth)
{
    return static_cast<int>(FreqToColF(dFreq, nWidth));
}

double ColToFreq(double dCol, int nWidth)
{
    const int nDecade = nWidth / 3;
    if (nDecade <= 0)
        return kMinFreq;
    const double dFreq = 20.0 * std::pow(10.0, dCol / nDecade);
    return std::clamp(dFreq, static_cast<double>(kMinFreq), static_cast<double>(kMaxFreq));
}

double RowToDb(double dRow, int nHeight)
{
    if (nHeight <= 0)
        return 0.0;
    const double dDb = 20.0 - dRow * 40.0 / nHeight;
    return std::round(dDb * 10.0) / 10.0;  // std::round rounds halves away from zero
}

bool CopyFixed(uint8_t* pDest, int nBytes, const std::string& str)
{
    if (static_cast<int>(str.size()) >= nBytes)
        return false;
    std::memset(pDest, 0, nBytes);
    std::memcpy(pDest, str.data(), str.size());
    return true;
}

const char* CharLenErrorText()
{
    return TextNow(kTxtCharLenError);
}

std::string Trim(const std::string& str)
{
    const auto nFirst = str.find_first_not_of(' ');
    if (nFirst == std::string::npos)
        return {};
    const auto nLast = str.find_last_not_of(' ');
    return str.substr(nFirst, nLast - nFirst + 1);
}

bool IsNameChar(char c)
{
    return c >= 0x20 && c <= 0x7E;
}

std::string BytesToName(const uint8_t* pSrc, int nBytes)
{
    std::string str;
    for (int i = 0; i < nBytes - 1 && pSrc[i] != 0; ++i) {
        const char c = static_cast<char>(pSrc[i]);
        str.push_back(IsNameChar(c) ? c : ' ');
    }
    return Trim(str);
}

bool IsBlank(const std::string& str)
{
    return Trim(str).empty();
}

namespace {

// The significant characters of a name as the processor keeps them,
// without the trailing spaces its padding (spaces or zeros) leaves.
std::string KeptName(const uint8_t* pName)
{
    std::string str(kNameChars, ' ');
    for (int i = 0; i < kNameChars; ++i) {
        const char c = static_cast<char>(pName[i]);
        if (IsNameChar(c))
            str[i] = c;
    }
    str.erase(str.find_last_not_of(' ') + 1);
    return str;
}

}  // namespace

bool IsDuplicateName(CProcessorState& state, int nProgram, const uint8_t* pField)
{
    const std::string strName = KeptName(pField);
    ModelLock lock(state.m_csModel);
    for (int n = 1; n <= kScenePrograms; ++n) {
        if (n != nProgram && KeptName(state.SceneEntry(n)) == strName)
            return true;
    }
    return false;
}

void WriteFlatBandGroups(uint8_t* pBlock, int nBands)
{
    constexpr int kGroupBytes = 8;
    for (int g = 0; g < nBands; ++g) {
        uint8_t* p = pBlock + kGroupBytes * g;
        PutWord(p, 1000);
        PutWord(p + 2, kGainCodeZero + kGainWireOffset);
        PutWord(p + 4, 0);
        p[6] = 0;
        p[7] = 0;
    }
}
