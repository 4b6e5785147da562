// eq-import CH FILE [--dry-run] [--link CH,…] [--channel NAME], eq-export CH [--format apo|rew]
#include "CtlCommands.h"
#include "CtlDevice.h"
#include "CtlRoomApply.h"
#include "CtlRoomOptions.h"
#include "CtlText.h"
#include "FilterSetMapping.h"
#include "KTV_Data.h"

namespace {

// {"band":1,"type":"peaking","freq_hz":63,"gain_db":-5,"q":4.209,"slope_db_oct":null}
std::string BandJson(int nBand, const RoomFilter& filter)
{
    const bool bPeaking = filter.kind == RoomFilterKind::Peaking;
    const char* pType = bPeaking ? "peaking" : filter.kind == RoomFilterKind::LowShelf ? "low_shelf" : "high_shelf";
    std::string strJson = "{\"band\":";
    strJson += std::to_string(nBand);
    strJson += ",\"type\":\"";
    strJson += pType;
    strJson += "\",\"freq_hz\":" + FormatExact(filter.dFreq);
    strJson += ",\"gain_db\":" + FormatTrimmed(filter.dGain, 1);
    strJson += ",\"q\":" + (bPeaking ? FormatExact(filter.dQ) : std::string("null"));
    strJson += ",\"slope_db_oct\":" + (bPeaking ? std::string("null") : FormatTrimmed(filter.dSlope, 0));
    return strJson + '}';
}

std::string BandsJson(const std::vector<RoomFilter>& filters)
{
    std::vector<std::string> items;
    for (size_t i = 0; i < filters.size(); ++i)
        items.push_back(BandJson(static_cast<int>(i) + 1, filters[i]));
    return JsonArray(items);
}

std::string ImportJson(int nChannel, const FilterMapping& mapping, const std::vector<int>& links, bool bDryRun)
{
    std::vector<RoomFilter> filters;
    for (const MappedBand& band : mapping.bands)
        filters.push_back(FilterOfMappedBand(band));
    std::vector<std::string> notes;
    for (const std::string& strNote : mapping.notes.Lines())
        notes.push_back(JsonString(strNote));
    std::vector<std::string> linked;
    for (const int nLinked : links)
        linked.push_back(std::to_string(nLinked));
    std::string strJson = "{\"channel\":";
    strJson += std::to_string(nChannel);
    strJson += ",\"mode\":\"peq\",\"bands\":" + BandsJson(filters);
    strJson += ",\"notes\":" + JsonArray(notes);
    strJson += ",\"linked\":" + JsonArray(linked);
    strJson += bDryRun ? ",\"dry_run\":true}\n" : ",\"dry_run\":false}\n";
    return strJson;
}

}  // namespace

int RunEqImport(CtlContext& ctx)
{
    const CommandLine& options = ctx.line;
    std::string strError;
    int nChannel = 0;
    std::vector<int> links;
    if (!ParseOutputNumber(options.positional[0], &nChannel, &strError) ||
        (options.values.count("--link") && !ParseLinks(OptionValue(options, "--link"), nChannel, &links, &strError)))
        return Refuse(ctx, strError);
    const FilterSetResult read = ReadFilterSetFile(options.positional[1], OptionValue(options, "--channel"));
    if (!read.bOk)
        return Refuse(ctx, read.strError);
    const FilterMapping mapping = MapFilterSet(read.set);
    const bool bDryRun = options.flags.count("--dry-run") > 0;
    if (ctx.inv.bJson && bDryRun) {
        ctx.out << ImportJson(nChannel, mapping, links, true);
        return kExitOk;
    }
    if (!ctx.inv.bJson)
        ctx.out << MappingText(mapping);
    if (bDryRun)
        return kExitOk;
    return RunOnProcessor(ctx, [&](CCtlDevice&, CKTV_Data& data, std::string* pResult) {
        const std::string strApplied = ApplyToOutputs(data, nChannel, mapping, links, "imported");
        *pResult = ctx.inv.bJson ? ImportJson(nChannel, mapping, links, false) : strApplied;
        return kExitOk;
    });
}

int RunEqExport(CtlContext& ctx)
{
    std::string strError;
    int nChannel = 0;
    if (!ParseOutputNumber(ctx.line.positional[0], &nChannel, &strError))
        return Refuse(ctx, strError);
    const std::string strFormat = OptionValue(ctx.line, "--format", "apo");
    const FilterSetFormat format = strFormat == "rew" ? FilterSetFormat::Rew : FilterSetFormat::Apo;
    return RunOnProcessor(ctx, [&](CCtlDevice&, CKTV_Data& data, std::string* pResult) {
        const CKTV_OutData& out = data.Output(nChannel - 1);
        const std::vector<RoomFilter> filters = FiltersOfBands(out.EQ());
        if (ctx.inv.bJson) {
            *pResult = "{\"channel\":";
            *pResult += std::to_string(nChannel);
            *pResult += ",\"format\":" + JsonString(strFormat) + ",\"bands\":" + BandsJson(filters) + "}\n";
            return kExitOk;
        }
        *pResult = WriteFilterSet(filters, format,
                                  "ZR-470 output " + std::to_string(nChannel) + " (" + out.GetName() + ")");
        return kExitOk;
    });
}
