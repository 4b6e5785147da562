// printf-style formatting into a std::string, for the short value texts.
#pragma once

#include <string>

[[gnu::format(printf, 1, 2)]] std::string StrFormat(const char* pFormat, ...);
