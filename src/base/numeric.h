#pragma once
// The numeric value of a text, as every protocol number and setting is read:
// blanks, tabs and line feeds are ignored wherever they stand, and the longest
// prefix that reads as a number counts (sign, digits, fraction, exponent, or the
// &H / &O prefixes of hexadecimal and octal digits); no number gives 0.
#include <cstdint>
#include <string_view>

namespace zandrell {

double NumericValue(std::string_view text);
// The numeric value limited to low..high: a number from a protocol line goes
// through this before any arithmetic, so an absurd one stays finite and in range.
double NumericValueIn(std::string_view text, double low, double high);

// Nearest integer, halves to the even neighbour, clamped to the stored width.
std::int16_t ToInteger16(double value);
std::int32_t ToInteger32(double value);

}  // namespace zandrell
