#pragma once
// Words of a UCI command line: separated by blanks or tabs, names compared
// without regard to case.
#include <string>
#include <string_view>
#include <vector>

namespace zandrell {

std::vector<std::string_view> UciWords(std::string_view line);
// The text without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace zandrell
