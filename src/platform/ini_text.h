#pragma once
// Profile-file logic on the text of a settings file, shared by the platforms that
// have no profile functions of their own.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zandrell::platform {

constexpr std::size_t kProfileValueLimit = 259;

// The value of key in section, trimmed and unquoted; nullopt when either is missing.
std::optional<std::string> IniLookup(std::string_view content, std::string_view section,
                                     std::string_view key);

// One section of a settings file parsed once, for many look-ups: each key's first
// value in the file, read as IniLookup reads it (keys without regard to case,
// values trimmed, unquoted and cut). Records holds "key=value\n" per key, the key
// in lower case; Slots is an open-addressing index of record offsets plus one (0
// free), never more than half full.
struct IniTable {
  std::string Records;
  std::vector<std::uint32_t> Slots;
  std::size_t Count = 0;
};

// Every part of the text headed by section, in file order.
IniTable IniParseSection(std::string_view content, std::string_view section);
std::optional<std::string_view> IniTableLookup(const IniTable& table, std::string_view key);
// What the table holds after a write of key=value, as IniAssign writes it, is read
// again. False when no table can say that (a key with "=", a line break): read the
// file again instead.
bool IniTableAssign(IniTable& table, std::string_view key, std::string_view value);

// The file text with key set to value in section. The key's line is replaced in
// place; a missing key is added at the end of its section, a missing section at the
// end of the text. Every other line stays as it was.
std::string IniAssign(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace zandrell::platform
