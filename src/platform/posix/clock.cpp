#include <ctime>

#include "platform/platform.h"

namespace zandrell::platform {

std::int64_t PerformanceFrequency() {
  timespec resolution{};
  if (::clock_getres(CLOCK_MONOTONIC, &resolution) != 0) return 0;
  if (resolution.tv_sec > 0 || resolution.tv_nsec <= 0) return 1;
  return 1000000000LL / resolution.tv_nsec;
}

float SecondsSinceMidnight() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::time_t seconds = now.tv_sec;
  std::tm local{};
  ::localtime_r(&seconds, &local);
  double sinceMidnight = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                         static_cast<double>(now.tv_nsec) / 1e9;
  return static_cast<float>(sinceMidnight);
}

double MonotonicSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace zandrell::platform
