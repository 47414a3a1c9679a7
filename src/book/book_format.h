#pragma once
// The two book files as the engine reads them and the book program writes them:
// text lines of four-character moves after one blank, and a flag file of
// little-endian 32-bit ply masks, one per line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zandrell {

constexpr std::size_t kBookMoveLength = 4;
constexpr int kBookMaxPlies = 20;  // the engine asks the book during the first 20 plies
constexpr const char* kBookLineEnd = "\r\n";

// Lines end with CR LF, a lone CR or a lone LF; a last line without an ending counts.
std::vector<std::string> SplitBookLines(const std::string& text);
// Entry n of a flag file's bytes, or fallback when the file ends before it.
std::int32_t FlagEntry(const std::string& flags, std::size_t entry, std::int32_t fallback);
void AppendFlagEntry(std::string& flags, std::int32_t mask);

}  // namespace zandrell
