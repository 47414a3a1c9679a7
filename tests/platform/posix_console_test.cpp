// The POSIX wire's blocking read and SIGTERM, in a child process of the test.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "platform/platform.h"

namespace zandrell {
namespace {

// A SIGTERM that came before the read began, after the last look at the flag,
// must not leave the read waiting for input that may never come.
void ReadAfterTerminateRequest() {
  int fds[2];
  if (::pipe(fds) != 0 || ::dup2(fds[0], STDIN_FILENO) < 0) std::_Exit(2);
  platform::InstallTerminationHandling();
  std::raise(SIGTERM);
  ::alarm(10);  // a read left waiting is ended here, and the case fails
  char buffer[16];
  std::_Exit(platform::ReadStandardInput(buffer, sizeof buffer) == -1 ? 0 : 3);
}

TEST(PosixConsole, ATerminateRequestBeforeTheReadEndsItAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ReadAfterTerminateRequest(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zandrell
#endif  // _WIN32
