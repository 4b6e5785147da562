// Any bytes can be offered as a measurement or a filter set: the readers
// refuse with a kind of failure or return values the rest of the program relies
// on (rising frequencies within 1 Hz … 100 kHz, finite numbers, at most 31
// usable filters), and whatever they accept maps onto valid band codes and
// writes back into a filter set that reads again.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "DataDefine.h"
#include "FilterSetMapping.h"
#include "GlobalData.h"
#include "MeasurementFile.h"
#include "RoomCurve.h"

namespace {

void Check(bool bOk)
{
    if (!bOk)
        std::abort();
}

// A refusal has a kind, worded in both languages; an acceptance has none.
void CheckRefusal(bool bOk, const RoomFileError& error)
{
    Check(bOk ? error.kind == kTxtCount
              : !RoomFileErrorText(error, Language::English).empty() &&
                    !RoomFileErrorText(error, Language::Chinese).empty());
}

void CheckMeasurement(std::string_view text)
{
    const MeasurementResult result = ParseMeasurement(text);
    CheckRefusal(result.bOk, result.error);
    double dLast = 0.0;
    for (const MeasurementPoint& point : result.points) {
        Check(point.dFreq > dLast && point.dFreq <= kMeasureMaxFreq && std::isfinite(point.dDb));
        dLast = point.dFreq;
    }
    CRoomCurve curve;
    std::string strError;
    if (result.bOk && curve.Assign(result.points, &strError))
        Check(curve.First() <= curve.Last() && std::isfinite(curve.Offset()));
}

void CheckFilterSet(std::string_view text)
{
    const FilterSetResult result = ParseFilterSet(text);
    CheckRefusal(result.bOk, result.error);
    if (!result.bOk)
        return;
    const FilterMapping mapping = MapFilterSet(result.set);
    Check(mapping.bands.size() <= static_cast<std::size_t>(kGraphicBands));
    std::vector<RoomFilter> filters;
    for (const MappedBand& band : mapping.bands) {
        Check(band.nFreq >= kMinFreq && band.nFreq <= kMaxFreq && band.nGainCode >= 0 &&
              band.nGainCode <= kGainCodeMax && band.nBandwidthCode >= 0 && band.nBandwidthCode <= kBandwidthCodeMax &&
              band.nShelfMode >= 0 && band.nShelfMode <= 4);
        filters.push_back(FilterOfMappedBand(band));
    }
    if (!filters.empty())
        Check(ParseFilterSet(WriteFilterSet(filters, FilterSetFormat::Apo, "fuzz")).bOk);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    CheckMeasurement(text);
    CheckFilterSet(text);
    return 0;
}
