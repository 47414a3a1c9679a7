#include "base/numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace zandrell {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// &H and &O numbers are 16-bit when short enough and 32-bit otherwise, with the
// top bit as the sign, as the runtime that reads settings treats them.
double RadixValue(const std::string& text, std::size_t start, int radix) {
  double value = 0;
  int digits = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    int digit =
        radix == 16 ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '7' ? text[i] - '0' : -1);
    if (digit < 0) break;
    value = value * radix + digit;
    ++digits;
  }
  if (value <= 32767.0) return value;
  if (value <= 65535.0 && ((radix == 16 && digits <= 4) || (radix == 8 && digits <= 6))) {
    return value - 65536.0;
  }
  if (value <= 4294967295.0 && value > 2147483647.0) return value - 4294967296.0;
  return value;
}

}  // namespace

double NumericValue(std::string_view raw) {
  std::string text;
  text.reserve(raw.size());
  for (char c : raw) {
    if (c != ' ' && c != '\t' && c != '\n') text += c;
  }
  if (text.size() >= 2 && text[0] == '&') {
    char kind = text[1];
    if (kind == 'h' || kind == 'H') return RadixValue(text, 2, 16);
    if (kind == 'o' || kind == 'O') return RadixValue(text, 2, 8);
    return 0;
  }

  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t mantissaStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  bool anyDigit = i > mantissaStart;
  if (i < text.size() && text[i] == '.') {
    std::size_t fractionStart = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    anyDigit = anyDigit || i > fractionStart;
  }
  if (!anyDigit) return 0;
  std::size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t exponentStart = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > exponentStart) end = j;
  }
  std::string number = text.substr(0, end);
  for (char& c : number) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  double value = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(value)) {
    return value > 0 ? std::numeric_limits<double>::max() : std::numeric_limits<double>::lowest();
  }
  return value;
}

double NumericValueIn(std::string_view text, double low, double high) {
  return std::clamp(NumericValue(text), low, high);
}

namespace {
template <typename Int>
Int RoundClamped(double value) {
  constexpr double kLow = static_cast<double>(std::numeric_limits<Int>::min());
  constexpr double kHigh = static_cast<double>(std::numeric_limits<Int>::max());
  if (std::isnan(value)) return 0;
  double rounded = std::nearbyint(value);  // the default rounding mode sends halves to even
  if (rounded <= kLow) return std::numeric_limits<Int>::min();
  if (rounded >= kHigh) return std::numeric_limits<Int>::max();
  return static_cast<Int>(rounded);
}
}  // namespace

std::int16_t ToInteger16(double value) { return RoundClamped<std::int16_t>(value); }
std::int32_t ToInteger32(double value) { return RoundClamped<std::int32_t>(value); }

}  // namespace zandrell
