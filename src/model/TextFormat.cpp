#include "TextFormat.h"

#include <cstdarg>
#include <cstdio>

std::string StrFormat(const char* pFormat, ...)
{
    char buf[128];
    va_list args;
    va_start(args, pFormat);
    std::vsnprintf(buf, sizeof buf, pFormat, args);
    va_end(args);
    return buf;
}
