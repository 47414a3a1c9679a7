// Reads one entry of a string table in a chosen language. LoadStringA takes the
// language from the thread, which Windows and wine settle differently; asking
// for the block of the language we picked gives the same entry everywhere.
#include "platform/win32/string_resource.h"

#include "platform/win32/windows_api.h"

namespace zandrell::platform::win32 {

namespace {
constexpr int kTableId = 101;  // first entry of the program's table

WORD TableLanguage(bool italian) {
  return italian ? MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN)
                 : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

// Strings live in blocks of 16: block n + 1 holds ids 16n .. 16n + 15, each a
// length-prefixed run of UTF-16 units.
HRSRC FindBlock(int id, bool italian) {
  auto block = static_cast<ULONG_PTR>((static_cast<unsigned>(id) >> 4) + 1);
  return FindResourceExA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(6),  // RT_STRING
                         reinterpret_cast<LPCSTR>(block), TableLanguage(italian));
}
}  // namespace

std::string LoadStringResource(int id, bool italian) {
  if (id < 0 || id > 0xFFFF) return {};
  HRSRC found = FindBlock(id, italian);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(GetModuleHandleA(nullptr), found);
  if (loaded == nullptr) return {};
  const auto* units = static_cast<const WCHAR*>(LockResource(loaded));
  DWORD unitCount = SizeofResource(GetModuleHandleA(nullptr), found) / sizeof(WCHAR);
  if (units == nullptr) return {};

  DWORD at = 0;
  for (int entry = 0; entry < (id & 15); ++entry) {
    if (at >= unitCount) return {};
    at += 1u + units[at];
  }
  if (at >= unitCount) return {};
  DWORD length = units[at];
  if (length == 0 || at + 1 + length > unitCount) return {};

  const WCHAR* text = units + at + 1;
  int bytes =
      WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string result(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), result.data(), bytes, nullptr,
                      nullptr);
  return result;
}

bool HasStringTable() { return FindBlock(kTableId, false) != nullptr; }

}  // namespace zandrell::platform::win32
