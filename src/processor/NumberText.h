// Strict number parsing and number formatting for values the user types
// and reads: zr470ctl's arguments and the parameters it gets and sets.
// A value typed by the user is taken only when the whole text is a plain
// decimal number: "6.5", "-6", "+6"; never "6dB", "0x10", "inf" or "".
//
// Threads: pure functions.
#pragma once

#include <string>
#include <string_view>

bool ParseDecimal(std::string_view text, double* pValue);
// A whole number (no fraction part, no exponent).
bool ParseWhole(std::string_view text, int* pValue);
// True when dValue is a multiple of dStep, within rounding of the decimal text.
bool IsOnStep(double dValue, double dStep);
std::string ToLower(std::string_view text);
// Typed text as a message quotes it: at most about 40 characters, control
// bytes and broken UTF-8 as \xNN, so that a megabyte word or an escape
// sequence never reaches the terminal whole.
std::string EchoText(std::string_view typed);

// Fixed decimals; a negative zero prints without its sign.
std::string FormatFixed(double dValue, int nDecimals);
// At most nMaxDecimals, trailing zeros and a bare point dropped: 0.5, 1, 2.021.
std::string FormatTrimmed(double dValue, int nMaxDecimals);
// The shortest plain decimal that reads back as exactly dValue: 19.7, 1000,
// 20.274084792819372. For values that other programs compare.
std::string FormatExact(double dValue);
