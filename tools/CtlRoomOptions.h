// The output number that the room-tuning commands (eq-import, eq-export,
// response) take.
//
// Threads: pure functions.
#pragma once

#include <string>

// Output 1 … 6 from its text; false with *pError.
bool ParseOutputNumber(const std::string& strText, int* pChannel, std::string* pError);
