// Text typed into a number field, read back under every display kind the
// forms use: whatever is typed, the index stays within the field's range,
// and a value the field shows reads back as that same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "NumKinds.h"

namespace {

struct FieldSetup {
    int nKind;
    double dStep;
    double dOffset;
    int nMin;
    int nMax;
};

// The fields of the main form, the output page and the settings dialogs.
const FieldSetup kFields[] = {
    {CNumKinds::kDelayMs, 0, 0, 0, 960},        {CNumKinds::kDelayMsWide, 0, 0, 0, 960},
    {CNumKinds::kDistanceCm, 0, 0, 0, 960},     {CNumKinds::kDistanceInch, 0, 0, 0, 960},
    {CNumKinds::kInteger, 0, 0, 0, 60},         {CNumKinds::kAttack, 0, 0, 0, 106},
    {CNumKinds::kFraction, 0.01, 0, 0, 295},    {CNumKinds::kFrequency, 0, 0, 20, 20000},
    {CNumKinds::kGain, 0.1, 20, 0, 400},        {CNumKinds::kQ, 0, 0, 0, 295},
    {CNumKinds::kPercent, 1, 0, 0, 100},        {CNumKinds::kGateDbu, 1, 120, 0, 120},
    {CNumKinds::kThresholdDbu, 0.1, 30, 0, 360}, {CNumKinds::kGainDbOffAtMin, 1, 60, 0, 60},
    {CNumKinds::kFrequencyLimited, 0, 0, 20, 1000}, {CNumKinds::kGainDbOffAtMax, 0.1, 80, 0, 80},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize < 3)
        return 0;
    const FieldSetup& field = kFields[pData[0] % (sizeof(kFields) / sizeof(kFields[0]))];
    CNumKinds kinds;
    kinds.nKind = field.nKind;
    kinds.dStep = field.dStep;
    kinds.dOffset = field.dOffset;
    kinds.nMin = field.nMin;
    kinds.nMax = field.nMax;
    const int nCurrent = field.nMin + (pData[1] | (pData[2] << 8)) % (field.nMax - field.nMin + 1);
    const QString strTyped = QString::fromUtf8(reinterpret_cast<const char*>(pData + 3), static_cast<int>(nSize - 3));

    const int nCommitted = kinds.ReadOnFocusLoss(strTyped, nCurrent);
    if (nCommitted < field.nMin || nCommitted > field.nMax)
        std::abort();
    if (const std::optional<int> read = kinds.ReadBack(strTyped); read && (*read < field.nMin || *read > field.nMax))
        std::abort();
    // What the field then shows must read back as what it holds.
    const std::optional<int> shown = kinds.ReadBack(kinds.Format(nCommitted));
    if (shown && *shown != nCommitted)
        std::abort();
    return 0;
}
