#include "CtlRoomApply.h"

#include <algorithm>
#include <sstream>

#include "CtlRoomOptions.h"
#include "FilterSetMapping.h"
#include "GlobalData.h"
#include "Processor.h"

int ParseLinkOption(CtlContext& ctx, int nChannel, std::vector<int>* pLinks)
{
    const auto found = ctx.line.values.find("--link");
    if (found == ctx.line.values.end())
        return kExitOk;
    std::stringstream list(found->second);
    std::vector<int> links;
    for (std::string strItem; std::getline(list, strItem, ',');) {
        int nLinked = 0;
        std::string strError;
        if (!ParseOutputNumber(strItem, &nLinked, &strError))
            return Refuse(ctx, strError);
        const std::string strOutput = "output " + std::to_string(nLinked);
        if (nLinked == nChannel)
            return Refuse(ctx, ctx.inv.strCommand + ": --link names " + strOutput +
                                   ", which the bands go to: link other outputs"),
                   kExitUsage;
        if (std::find(links.begin(), links.end(), nLinked) != links.end())
            return Refuse(ctx, ctx.inv.strCommand + ": --link names " + strOutput + " twice"), kExitUsage;
        links.push_back(nLinked);
    }
    if (links.empty())
        return Refuse(ctx, ctx.inv.strCommand + ": --link needs other outputs: --link 3 or --link 3,4"), kExitUsage;
    *pLinks = std::move(links);
    return kExitOk;
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

std::string ApplyToOutputs(CProcessor& processor, int nChannel, const FilterMapping& mapping,
                           const std::vector<int>& links, const char* pVerb)
{
    std::vector<int> outputs;
    for (const int nLinked : links)
        outputs.push_back(nLinked - 1);
    processor.ApplyFilterMapping(nChannel - 1, mapping, outputs);
    std::string strText = "output " + std::to_string(nChannel) + ": parametric mode, " +
                          std::to_string(mapping.bands.size()) + (mapping.bands.size() == 1 ? " band " : " bands ") +
                          pVerb + '\n';
    for (const int nLinked : links)
        strText += "output " + std::to_string(nLinked) + ": follows output " + std::to_string(nChannel) + '\n';
    return strText;
}
