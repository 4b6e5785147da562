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

}  // namespace

int RunEqImport(CtlContext& ctx)
{
    RoomOptions options;
    std::string strError;
    int nChannel = 0;
    std::vector<int> links;
    if (!SplitRoomOptions(ctx.inv.args, 2, {"--dry-run"}, {"--link", "--channel"}, &options, &strError) ||
        !ParseOutputNumber(options.positional[0], &nChannel, &strError) ||
        (options.values.count("--link") && !ParseLinks(options.values["--link"], nChannel, &links, &strError)))
        return Refuse(ctx, strError);
    const FilterSetResult read = ReadFilterSetFile(options.positional[1], options.values["--channel"]);
    if (!read.bOk)
        return Refuse(ctx, read.strError);
    const FilterMapping mapping = MapFilterSet(read.set);
    ctx.out << MappingText(mapping);
    if (options.flags.count("--dry-run"))
        return kExitOk;
    return RunOnProcessor(ctx, [&](CCtlDevice&, CKTV_Data& data, std::string* pResult) {
        for (const int nLinked : links)
            SetLinkGroup(nLinked - 1, g_nLinkGroup[nChannel - 1]);
        ApplyFilterMapping(data.Output(nChannel - 1), mapping);
        *pResult = "output " + std::to_string(nChannel) + ": parametric mode, " +
                   std::to_string(mapping.bands.size()) + " bands imported\n";
        for (const int nLinked : links)
            *pResult += "output " + std::to_string(nLinked) + ": follows output " + std::to_string(nChannel) + '\n';
        return kExitOk;
    });
}

int RunEqExport(CtlContext& ctx)
{
    RoomOptions options;
    std::string strError;
    int nChannel = 0;
    if (!SplitRoomOptions(ctx.inv.args, 1, {}, {"--format"}, &options, &strError) ||
        !ParseOutputNumber(options.positional[0], &nChannel, &strError))
        return Refuse(ctx, strError);
    const std::string strFormat = options.values.count("--format") ? ToLower(options.values["--format"]) : "apo";
    if (strFormat != "apo" && strFormat != "rew")
        return Refuse(ctx, "--format \"" + strFormat + "\" refused: apo or rew");
    const FilterSetFormat format = strFormat == "rew" ? FilterSetFormat::Rew : FilterSetFormat::Apo;
    return RunOnProcessor(ctx, [&](CCtlDevice&, CKTV_Data& data, std::string* pResult) {
        const CKTV_OutData& out = data.Output(nChannel - 1);
        *pResult = WriteFilterSet(FiltersOfBands(out.EQ()), format,
                                  "ZR-470 output " + std::to_string(nChannel) + " (" + out.GetName() + ")");
        return kExitOk;
    });
}
