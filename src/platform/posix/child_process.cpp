#include "platform/child_process.h"
#include "platform/child_output.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace zandrell::platform {

struct ChildProcess::State {
  pid_t pid = -1;
  int input = -1;
  int output = -1;
  int error = -1;
  std::string pendingOutput;
  int exitCode = -1;
  bool reaped = false;
};

namespace {
using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

// Reads what one poll allows; false once the stream has ended or the time is up.
bool ReadSome(int fd, std::string& into, Clock::time_point deadline) {
  if (fd < 0) return false;
  pollfd watch{fd, POLLIN, 0};
  int ready = ::poll(&watch, 1, MillisecondsLeft(deadline));
  if (ready <= 0) return false;
  char buffer[4096];
  ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n <= 0) return false;
  into.append(buffer, static_cast<std::size_t>(n));
  return true;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}
}  // namespace

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() {
  CloseFd(state_->input);
  if (state_->pid > 0 && !state_->reaped) {
    if (Wait(2000) < 0) {
      Kill();
      Wait(2000);
    }
  }
  CloseFd(state_->output);
  CloseFd(state_->error);
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& extraEnvironment,
                         const std::string& workingFolder) {
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) != 0) return false;
  if (::pipe2(out, O_CLOEXEC) != 0) return false;
  if (::pipe2(err, O_CLOEXEC) != 0) return false;

  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    std::string name = text.substr(0, text.find('='));
    bool replaced = false;
    for (const std::string& extra : extraEnvironment) {
      if (extra.substr(0, extra.find('=')) == name) replaced = true;
    }
    if (!replaced) environment.push_back(text);
  }
  for (const std::string& extra : extraEnvironment) environment.push_back(extra);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);

  pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    ::dup2(in[0], STDIN_FILENO);
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) ::_exit(126);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  state_->pid = pid;
  state_->input = in[1];
  state_->output = out[0];
  state_->error = err[0];
  return true;
}

bool ChildProcess::Write(std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(state_->input, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void ChildProcess::CloseInput() { CloseFd(state_->input); }

std::string ChildProcess::ReadUntil(std::string_view needle, int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string& text = state_->pendingOutput;
  while (text.find(needle) == std::string::npos) {
    if (!ReadSome(state_->output, text, deadline)) break;
  }
  return TakeThrough(text, needle);
}

std::string ChildProcess::ReadToEnd(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (ReadSome(state_->output, state_->pendingOutput, deadline)) {}
  std::string result;
  result.swap(state_->pendingOutput);
  return result;
}

std::string ChildProcess::ReadErrorToEnd(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string text;
  while (ReadSome(state_->error, text, deadline)) {}
  return text;
}

int ChildProcess::Wait(int timeoutMs) {
  if (state_->reaped) return state_->exitCode;
  if (state_->pid <= 0) return -1;
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    pid_t done = ::waitpid(state_->pid, &status, WNOHANG);
    if (done == state_->pid) {
      state_->reaped = true;
      state_->exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return state_->exitCode;
    }
    if (Clock::now() >= deadline) return -1;
    ::usleep(2000);
  }
}

void ChildProcess::SendTerminate() {
  if (state_->pid > 0 && !state_->reaped) ::kill(state_->pid, SIGTERM);
}

void ChildProcess::SendInterrupt() {
  if (state_->pid > 0 && !state_->reaped) ::kill(state_->pid, SIGINT);
}

void ChildProcess::Kill() {
  if (state_->pid > 0 && !state_->reaped) ::kill(state_->pid, SIGKILL);
}

}  // namespace zandrell::platform
