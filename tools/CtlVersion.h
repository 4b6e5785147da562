// The version zr470ctl reports with --version; raised with every release
// of the editor and its tools.
#pragma once

#include <string_view>

constexpr std::string_view kCtlVersion = "0.9.0";
