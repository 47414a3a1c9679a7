#pragma once
// Output of a child process kept between reads, handed out up to a needle.
#include <string>
#include <string_view>

namespace zandrell::platform {

// Everything in pending up to and including needle (all of it when needle is
// absent), removed from pending.
inline std::string TakeThrough(std::string& pending, std::string_view needle) {
  const std::size_t at = pending.find(needle);
  const std::size_t end = at == std::string::npos ? pending.size() : at + needle.size();
  std::string taken = pending.substr(0, end);
  pending.erase(0, end);
  return taken;
}

}  // namespace zandrell::platform
