#pragma once
#include <string>

namespace zandrell::platform::win32 {

// Entry id of the executable's string table in the Italian or the English
// (United States) language resource; "" when the entry or the table is missing.
std::string LoadStringResource(int id, bool italian);

// True when the executable carries the program's string table at all.
bool HasStringTable();

}  // namespace zandrell::platform::win32
