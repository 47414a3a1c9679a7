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
// The end of the input, once a look at it has seen it.
bool inputEnded = false;

void OnTerminate(int) { terminationFlag = 1; }
}  // namespace

void TakeStandardHandles() {}

void CloseStandardHandles() {
  ::close(STDIN_FILENO);
  ::close(STDOUT_FILENO);
}

int ReadStandardInput(char* buffer, int capacity) {
  // SIGTERM is held back from the look at the flag until the wait, and let in
  // only by ppoll itself: one that comes in between ends the wait at once
  // instead of waiting for the next input.
  sigset_t terminate;
  sigemptyset(&terminate);
  sigaddset(&terminate, SIGTERM);
  for (;;) {
    if (inputEnded) return 0;
    sigset_t outside;
    ::sigprocmask(SIG_BLOCK, &terminate, &outside);
    if (terminationFlag) {
      ::sigprocmask(SIG_SETMASK, &outside, nullptr);
      return -1;
    }
    sigset_t waiting = outside;
    sigdelset(&waiting, SIGTERM);
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = ::ppoll(&input, 1, nullptr, &waiting);
    const int pollError = errno;
    ::sigprocmask(SIG_SETMASK, &outside, nullptr);
    if (ready < 0) {
      if (pollError == EINTR) continue;  // the flag is looked at again
      return 0;
    }
    // Readable or hung up: the read returns at once, with bytes or with the end.
    ssize_t n = ::read(STDIN_FILENO, buffer, static_cast<size_t>(capacity));
    if (n > 0) return static_cast<int>(n);
    if (n == 0) return 0;
    if (errno == EINTR || errno == EAGAIN) continue;
    return 0;
  }
}

namespace {
// Whether standard input has bytes, or its end, to deliver without blocking.
bool InputReady(bool& hangUp) {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&input, 1, 0);
  } while (ready < 0 && errno == EINTR);
  hangUp = ready > 0 && (input.revents & POLLIN) == 0 && (input.revents & (POLLHUP | POLLERR)) != 0;
  return ready > 0 && (input.revents & POLLIN) != 0;
}
}  // namespace

int TakeWaitingInput(char* buffer, int capacity) {
  if (inputEnded || capacity <= 0) return 0;
  bool hangUp = false;
  if (!InputReady(hangUp)) {
    // A pipe whose writers are all gone reports a hang-up once it is drained.
    if (hangUp) inputEnded = true;
    return 0;
  }
  // Readable: the read returns at once, with bytes or with the end.
  ssize_t n;
  do {
    n = ::read(STDIN_FILENO, buffer, static_cast<size_t>(capacity));
  } while (n < 0 && errno == EINTR && !terminationFlag);
  if (n > 0) return static_cast<int>(n);
  if (n == 0 || (errno != EAGAIN && errno != EINTR)) inputEnded = true;
  return 0;
}

bool StandardInputClosed() {
  if (inputEnded) return true;
  bool hangUp = false;
  if (!InputReady(hangUp)) return hangUp;
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
