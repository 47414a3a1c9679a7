#include "platform/platform.h"
#include "platform/win32/windows_api.h"

namespace zandrell::platform {

std::int64_t PerformanceFrequency() {
  LARGE_INTEGER frequency{};
  if (!QueryPerformanceFrequency(&frequency)) return 0;
  return frequency.QuadPart;
}

float SecondsSinceMidnight() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  double seconds =
      now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
  return static_cast<float>(seconds);
}

double MonotonicSeconds() {
  static const std::int64_t frequency = PerformanceFrequency();
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  if (frequency <= 0) return static_cast<double>(GetTickCount64()) / 1000.0;
  // Whole seconds and remainder apart, so large counts keep their precision.
  std::int64_t whole = counter.QuadPart / frequency;
  std::int64_t rest = counter.QuadPart % frequency;
  return static_cast<double>(whole) + static_cast<double>(rest) / static_cast<double>(frequency);
}

}  // namespace zandrell::platform
