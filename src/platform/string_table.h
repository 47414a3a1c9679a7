#pragma once
#include <string>

namespace zandrell::platform {

// The program's string table: ids 101..107 in English and Italian. Unknown ids give "".
std::string StringTableEntry(int id, bool italian);

}  // namespace zandrell::platform
