#pragma once
#include <string>

#include "platform/launcher_platform.h"

namespace zandrell {

// "Zandrell   ver. 0.03.0022" for version 0.3.22: the minor number in at least two
// digits, the revision in at least four.
std::string WindowCaption(int major, int minor, int revision);
// The caption of this build's version.
std::string WindowCaption();

// Every text of the window in English or Italian (strings 103 to 107).
platform::LauncherWindowTexts LauncherTexts(bool italian);

// The launcher's messages are Italian in every language.
inline constexpr const char* kWinboardStartFailed =
    "Impossibile avviare Winboard: verificare che il percorso scelto sia corretto.";
inline constexpr const char* kQuirettoStartFailed =
    "Impossibile avviare Quiretto: verificare che il file sia nella stessa cartella di Zandrell.";
inline constexpr const char* kLegalNotice = "\xC2\xA9 2026";

}  // namespace zandrell
