#pragma once
#include <functional>
#include <string>

#include "platform/launcher_platform.h"

namespace zandrell {

// "Zandrell   ver. 0.03.0022" for version 0.3.22: the minor number in at least two
// digits, the revision in at least four.
std::string WindowCaption(int major, int minor, int revision);
// The caption of this build's version.
std::string WindowCaption();

// Every text of the window, strings 103 to 107 taken from loadString (the program's
// string table in the user's language).
platform::LauncherWindowTexts LauncherTexts(const std::function<std::string(int)>& loadString);

// The launcher's messages are Italian in every language.
inline constexpr const char* kWinboardStartFailed =
    "Impossibile avviare Winboard: verificare che il percorso scelto sia corretto.";
inline constexpr const char* kQuirettoStartFailed =
    "Impossibile avviare Quiretto: verificare che il file sia nella stessa cartella di Zandrell.";
// The legal notice of the program's version information.
inline constexpr const char* kLegalNotice = "Copyright (C) Zandrell authors";

}  // namespace zandrell
