#include "book/book_format.h"

namespace zandrell {

std::vector<std::string> SplitBookLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::int32_t FlagEntry(const std::string& flags, std::size_t entry, std::int32_t fallback) {
  if (4 * entry + 4 > flags.size()) return fallback;
  const auto* bytes = reinterpret_cast<const unsigned char*>(flags.data() + 4 * entry);
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
      static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

void AppendFlagEntry(std::string& flags, std::int32_t mask) {
  const auto bits = static_cast<std::uint32_t>(mask);
  for (int shift = 0; shift < 32; shift += 8) flags += static_cast<char>(bits >> shift & 0xFFu);
}

}  // namespace zandrell
