#pragma once
// An engine in this process laid out as an installed copy under its temporary
// folder: prefix/games holds the program, prefix/share/games/zandrell its data,
// home the user's folders.
#include <string>

#include "support/test_engine.h"

namespace zandrell::testing {

inline constexpr const char* kInstalledPrograms = "prefix/games/";
inline constexpr const char* kInstalledData = "prefix/share/games/zandrell/";
inline constexpr const char* kUserSettings = "home/.config/zandrell/";
inline constexpr const char* kUserState = "home/.local/state/zandrell/";

// Lays out the folders and points the engine's file locations at them.
void LayOutInstalledCopy(TestEngine& t);

}  // namespace zandrell::testing
