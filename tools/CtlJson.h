// The JSON zr470ctl prints, built with nlohmann-json: one compact object a
// line, fields in the order the man page gives them.
//
// Threads: pure functions.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

using Json = nlohmann::ordered_json;

// The value on one line with its line end. Text that is not valid UTF-8
// (names from the processor or from files are bytes) has each invalid byte
// replaced by U+FFFD: the output is always valid JSON, never an exception.
std::string JsonLine(const Json& value);
// The same without the line end.
std::string JsonText(const Json& value);
// dValue rounded to nDecimals; a whole number prints without a point
// ("2", not "2.0"), as a script compares it.
Json JsonNumber(double dValue, int nDecimals);
// dValue exactly, as the shortest decimal that reads back as itself.
Json JsonExact(double dValue);
