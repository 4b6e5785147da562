// eq-import CH FILE [--dry-run] [--link CH,…] [--channel NAME], eq-export CH [--format apo|rew]
#include <sstream>

#include "CtlCommands.h"
#include "CtlDevice.h"
#include "CtlRoomOptions.h"
#include "CtlText.h"
#include "FilterSetMapping.h"
#include "KTV_Data.h"

namespace {

// "2,3": the outputs the editor would have linked with the target; false
// for anything but distinct outputs 1 … 6.
bool ParseLinks(const std::string& strText, int nChannel, std::vector<int>* pLinks, std::string* pError)
{
    std::stringstream list(strText);
    std::string strItem;
    while (std::getline(list, strItem, ',')) {
        int nLinked = 0;
        if (!ParseOutputNumber(strItem, &nLinked, pError))
            return false;
        if (nLinked != nChannel)
            pLinks->push_back(nLinked);
    }
    if (pLinks->empty()) {
        *pError = "--link needs other outputs: --link 3 or --link 3,4";
        return false;
    }
    return true;
}

std::string OptionValue(const CommandLine& line, const char* pName, const char* pDefault = "")
{
    const auto found = line.values.find(pName);
    return found == line.values.end() ? pDefault : found->second;
}

std::string MappingText(const FilterMapping& mapping)
{
    std::string strText;
    for (size_t i = 0; i < mapping.bands.size(); ++i)
        strText += MappedBandText(static_cast<int>(i), mapping.bands[i]) + '\n';
    if (mapping.bands.size() < static_cast<size_t>(kGraphicBands))
        strText += "bands " + std::to_string(mapping.bands.size() + 1) + " … 31: flat, bypassed\n";
    for (const std::string& strNote : mapping.notes.Lines())
        strText += "note: " + strNote + '\n';
    return strText;
}

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

// "[a,b,…]" from items already in JSON.
std::string JsonArray(const std::vector<std::string>& items)
{
    std::string strJson = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            strJson += ',';
        strJson += items[i];
    }
    return strJson + "]";
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
        for (const int nLinked : links)
            SetLinkGroup(nLinked - 1, g_nLinkGroup[nChannel - 1]);
        ApplyFilterMapping(data.Output(nChannel - 1), mapping);
        if (ctx.inv.bJson) {
            *pResult = ImportJson(nChannel, mapping, links, false);
            return kExitOk;
        }
        *pResult = "output " + std::to_string(nChannel) + ": parametric mode, " +
                   std::to_string(mapping.bands.size()) + (mapping.bands.size() == 1 ? " band" : " bands") +
                   " imported\n";
        for (const int nLinked : links)
            *pResult += "output " + std::to_string(nLinked) + ": follows output " + std::to_string(nChannel) + '\n';
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
