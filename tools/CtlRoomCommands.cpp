// eq-import CH FILE [--dry-run] [--link CH,…] [--channel NAME], eq-export CH [--format apo|rew]
#include "CtlCommands.h"
#include "ProcessorConversation.h"
#include "CtlJson.h"
#include "CtlRoomApply.h"
#include "CtlRoomOptions.h"
#include "FilterSetMapping.h"
#include "KTV_Data.h"

namespace {

// {"band":1,"type":"peaking","freq_hz":63,"gain_db":-5,"q":4.209,"slope_db_oct":null}
Json BandJson(int nBand, const RoomFilter& filter)
{
    const bool bPeaking = filter.kind == RoomFilterKind::Peaking;
    const char* pType = bPeaking ? "peaking" : filter.kind == RoomFilterKind::LowShelf ? "low_shelf" : "high_shelf";
    return {{"band", nBand},
            {"type", pType},
            {"freq_hz", JsonExact(filter.dFreq)},
            {"gain_db", JsonNumber(filter.dGain, 1)},
            {"q", bPeaking ? JsonExact(filter.dQ) : Json()},
            {"slope_db_oct", bPeaking ? Json() : JsonNumber(filter.dSlope, 0)}};
}

Json BandsJson(const std::vector<RoomFilter>& filters)
{
    Json bands = Json::array();
    for (size_t i = 0; i < filters.size(); ++i)
        bands.push_back(BandJson(static_cast<int>(i) + 1, filters[i]));
    return bands;
}

std::string ImportJson(int nChannel, const FilterMapping& mapping, const std::vector<int>& links, bool bDryRun)
{
    std::vector<RoomFilter> filters;
    for (const MappedBand& band : mapping.bands)
        filters.push_back(FilterOfMappedBand(band));
    return JsonLine({{"channel", nChannel},
                     {"mode", "peq"},
                     {"bands", BandsJson(filters)},
                     {"notes", mapping.notes.Lines()},
                     {"linked", links},
                     {"dry_run", bDryRun}});
}

}  // namespace

int RunEqImport(CtlContext& ctx)
{
    const CommandLine& options = ctx.line;
    std::string strError;
    int nChannel = 0;
    std::vector<int> links;
    if (!ParseOutputNumber(options.positional[0], &nChannel, &strError))
        return Refuse(ctx, strError);
    if (const int nExit = ParseLinkOption(ctx, nChannel, &links); nExit != kExitOk)
        return nExit;
    const FilterSetResult read = ReadFilterSetFile(options.positional[1], OptionValue(options, "--channel"));
    if (!read.bOk)
        return Refuse(ctx, RoomFileErrorText(read.error));
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
    return RunOnProcessor(ctx, [&](CProcessorConversation& device, CKTV_Data&, std::string* pResult) {
        const std::string strApplied = ApplyToOutputs(device.Processor(), nChannel, mapping, links, "imported");
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
    return RunOnProcessor(ctx, [&](CProcessorConversation&, CKTV_Data& data, std::string* pResult) {
        const CKTV_OutData& out = data.Output(nChannel - 1);
        const std::vector<RoomFilter> filters = FiltersOfBands(out.EQ());
        if (ctx.inv.bJson) {
            *pResult = JsonLine({{"channel", nChannel}, {"format", strFormat}, {"bands", BandsJson(filters)}});
            return kExitOk;
        }
        *pResult = WriteFilterSet(filters, format,
                                  "ZR-470 output " + std::to_string(nChannel) + " (" + out.GetName() + ")");
        return kExitOk;
    });
}
