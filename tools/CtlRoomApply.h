// What eq-import and eq-fit do to the outputs once their bands are known:
// the bands on the output, the outputs given with --link following it.
//
// Threads: the command's thread (a model edit).
#pragma once

#include <string>
#include <vector>

class CKTV_Data;
struct FilterMapping;

// One line a band, the flat rest, and the mapping's notes.
std::string MappingText(const FilterMapping& mapping);
// Links the outputs in links (1 … 6) with output nChannel, puts the mapping
// on it in parametric mode and returns the lines that say so: "output 2:
// parametric mode, 3 bands imported" with pVerb "imported".
std::string ApplyToOutputs(CKTV_Data& data, int nChannel, const FilterMapping& mapping, const std::vector<int>& links,
                           const char* pVerb);
