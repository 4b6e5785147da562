// A room's settings as the API shows them: every zr470ctl parameter by its
// name, on channel 0 (the processor, "system") and the outputs 1 … 6, with
// the values `get` prints as JSON (numbers, on/off as booleans, words).
//
// Threads: the room's thread, which owns the processor.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "ParamTable.h"

class CProcessor;
using Json = nlohmann::json;

// The names of the parameters channel nChannel has, in a fixed order.
const std::vector<std::string>& ParamNamesOf(int nChannel);
// A value as JSON, and a JSON value as the text ParseParamValue reads.
Json ParamJson(const ParamText& value);
std::string ParamTextOf(const Json& value);
Json ReadParamJson(CProcessor& processor, const ParamRef& ref);

// {"system": {…}, "outputs": {"1": {…}, …}, "programs": [10 names], "scene": …,
// "identification": …}
Json RoomSettingsJson(CProcessor& processor);
// The six output meters as the processor last reported them (0 … 255).
Json LevelsJson(CProcessor& processor);
