#pragma once
// Profile-file logic on the text of a settings file, shared by the platforms that
// have no profile functions of their own.
#include <optional>
#include <string>
#include <string_view>

namespace zandrell::platform {

constexpr std::size_t kProfileValueLimit = 259;

// The value of key in section, trimmed and unquoted; nullopt when either is missing.
std::optional<std::string> IniLookup(std::string_view content, std::string_view section,
                                     std::string_view key);

// The lines of every part of the text headed by section, under one header of that
// name: IniLookup and IniAssign give the same values of that section on it as on
// the whole text, which a caller can keep instead of the whole file.
std::string IniSectionText(std::string_view content, std::string_view section);

// The file text with key set to value in section. The key's line is replaced in
// place; a missing key is added at the end of its section, a missing section at the
// end of the text. Every other line stays as it was.
std::string IniAssign(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace zandrell::platform
