// The output numbers and options that the room-tuning commands (eq-import,
// eq-fit, eq-export, response) take.
//
// Threads: pure functions.
#pragma once

#include <string>
#include <vector>

#include "CtlOptions.h"

struct RoomFitInput;

// Output 1 … 6 from its text; false with *pError.
bool ParseOutputNumber(const std::string& strText, int* pChannel, std::string* pError);
// "a,b,c" into its parts.
std::vector<std::string> SplitCommas(const std::string& strText);
// Two or more different outputs 1 … 6; false with *pError.
bool ParseOutputList(const std::vector<std::string>& texts, std::vector<int>* pOutputs, std::string* pError);
// The option's value, or pDefault when it was not given.
std::string OptionValue(const CommandLine& line, const char* pName, const char* pDefault = "");
// --range LO-HI, --bands N, --max-boost DB and --max-cut DB of eq-fit into
// *pInput (the defaults where not given); false with *pError for a value
// outside what the fit takes.
bool ParseFitOptions(const CommandLine& line, RoomFitInput* pInput, std::string* pError);
