// What eq-import and eq-fit do to the outputs once their bands are known:
// the bands on the output, the outputs given with --link following it.
//
// Threads: the command's thread (a model edit).
#pragma once

#include <string>
#include <vector>

#include "CtlContext.h"

class CProcessor;
struct FilterMapping;

// --link "2,3" of ctx.line: the outputs the editor would have linked with
// output nChannel, in *pLinks. An output twice, or nChannel itself, is a
// usage mistake; an output outside 1 … 6 is refused. Returns the exit code,
// the line already printed.
int ParseLinkOption(CtlContext& ctx, int nChannel, std::vector<int>* pLinks);
// One line a band, the flat rest, and the mapping's notes.
std::string MappingText(const FilterMapping& mapping);
// Links the outputs in links (1 … 6) with output nChannel, puts the mapping
// on it in parametric mode and returns the lines that say so: "output 2:
// parametric mode, 3 bands imported" with pVerb "imported".
std::string ApplyToOutputs(CProcessor& processor, int nChannel, const FilterMapping& mapping,
                           const std::vector<int>& links, const char* pVerb);
