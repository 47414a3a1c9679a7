#pragma once
// The one place that pulls in the Windows headers for the platform layer.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The headers map LoadString to LoadStringA; the platform layer has a function of
// that name, which must keep it in every translation unit.
#undef LoadString

#include <string>

namespace zandrell::platform::win32 {

// True when message boxes must not wait for a click: the environment variable
// ZANDRELL_HEADLESS is set to anything but "0" or the empty text (the tests set
// it), or the process runs on a window station without a visible desktop (a
// service, a scheduled job).
bool Headless();

// Writes all of text to the standard error handle, unconverted.
void WriteStandardError(const std::string& text);

// Our texts (UTF-8, or the system's code page when they are not UTF-8) for the
// wide calls, and back to UTF-8.
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace zandrell::platform::win32
