#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>

#include <csignal>
#include <cstdlib>

#include "platform/platform.h"

namespace zandrell::platform {

namespace {
volatile std::sig_atomic_t terminationFlag = 0;

void OnTerminate(int) { terminationFlag = 1; }
}  // namespace

void TakeStandardHandles() {}

void CloseStandardHandles() {
  ::close(STDIN_FILENO);
  ::close(STDOUT_FILENO);
}

int ReadStandardInput(char* buffer, int capacity) {
  for (;;) {
    ssize_t n = ::read(STDIN_FILENO, buffer, static_cast<size_t>(capacity));
    if (n > 0) return static_cast<int>(n);
    if (n == 0) return 0;
    if (errno == EINTR) {
      if (terminationFlag) return -1;
      continue;
    }
    return 0;
  }
}

bool StandardInputClosed() {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&input, 1, 0);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return false;
  // A pipe whose writers are all gone reports a hang-up once it is drained.
  if ((input.revents & POLLIN) == 0) return (input.revents & (POLLHUP | POLLERR)) != 0;
  // Waiting bytes on a socket may be its end: peek without taking any.
  char byte;
  ssize_t n = ::recv(STDIN_FILENO, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  return n == 0;
}

void WriteStandardOutput(const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(STDOUT_FILENO, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the interface went away; nothing to do about it
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

void InstallTerminationHandling() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGINT, &ignore, nullptr);   // xboard interrupts version-1 engines before moves
  ::sigaction(SIGPIPE, &ignore, nullptr);  // a closed pipe shows up as a failed write instead

  struct sigaction terminate {};
  terminate.sa_handler = OnTerminate;
  sigemptyset(&terminate.sa_mask);
  terminate.sa_flags = 0;  // no SA_RESTART: a blocked read returns so the loop can shut down
  ::sigaction(SIGTERM, &terminate, nullptr);
}

bool TerminationRequested() { return terminationFlag != 0; }

void ExitProcess(int code) { std::_Exit(code); }

void ProcessPendingMessages() {}

void UseParentConsole() {}  // a program's output always goes where it was started from

}  // namespace zandrell::platform
