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
#include <fstream>

extern char** environ;

namespace zandrell::platform {

struct ChildProcess::State {
  pid_t Pid = -1;
  int Input = -1;
  int Output = -1;
  int Error = -1;
  std::string PendingOutput;
  int ExitCode = -1;
  bool Reaped = false;
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
  CloseFd(state_->Input);
  if (state_->Pid > 0 && !state_->Reaped) {
    if (Wait(2000) < 0) {
      Kill();
      Wait(2000);
    }
  }
  CloseFd(state_->Output);
  CloseFd(state_->Error);
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
  state_->Pid = pid;
  state_->Input = in[1];
  state_->Output = out[0];
  state_->Error = err[0];
  return true;
}

bool ChildProcess::Write(std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(state_->Input, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void ChildProcess::CloseInput() { CloseFd(state_->Input); }

std::string ChildProcess::ReadUntil(std::string_view needle, int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string& text = state_->PendingOutput;
  while (text.find(needle) == std::string::npos) {
    if (!ReadSome(state_->Output, text, deadline)) break;
  }
  return TakeThrough(text, needle);
}

std::string ChildProcess::ReadToEnd(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (ReadSome(state_->Output, state_->PendingOutput, deadline)) {}
  std::string result;
  result.swap(state_->PendingOutput);
  return result;
}

std::string ChildProcess::ReadErrorToEnd(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string text;
  while (ReadSome(state_->Error, text, deadline)) {}
  return text;
}

int ChildProcess::Wait(int timeoutMs) {
  if (state_->Reaped) return state_->ExitCode;
  if (state_->Pid <= 0) return -1;
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    pid_t done = ::waitpid(state_->Pid, &status, WNOHANG);
    if (done == state_->Pid) {
      state_->Reaped = true;
      state_->ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return state_->ExitCode;
    }
    if (Clock::now() >= deadline) return -1;
    ::usleep(2000);
  }
}

void ChildProcess::SendTerminate() {
  if (state_->Pid > 0 && !state_->Reaped) ::kill(state_->Pid, SIGTERM);
}

void ChildProcess::SendInterrupt() {
  if (state_->Pid > 0 && !state_->Reaped) ::kill(state_->Pid, SIGINT);
}

long ChildProcess::PeakMemoryKb() const {
  if (state_->Pid <= 0 || state_->Reaped) return 0;
  std::ifstream status("/proc/" + std::to_string(state_->Pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return 0;
}

void ChildProcess::Kill() {
  if (state_->Pid > 0 && !state_->Reaped) ::kill(state_->Pid, SIGKILL);
}

}  // namespace zandrell::platform
