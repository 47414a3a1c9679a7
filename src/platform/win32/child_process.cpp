// A program started with CreateProcess and pipes on its standard handles, the
// way WinBoard starts an engine. The engine's input is an anonymous pipe; its
// output and error come back through named pipes that we read overlapped, so
// every read can give up at a deadline.
#include "platform/child_process.h"
#include "platform/child_output.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstring>

#include "platform/win32/windows_api.h"

namespace zandrell::platform {

namespace {
using Clock = std::chrono::steady_clock;

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle& operator=(HANDLE handle) {
    Close();
    handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    return *this;
  }
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Close() {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

DWORD MillisecondsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() <= 0 ? 0 : static_cast<DWORD>(left.count());
}

// Our end of one output stream of the child, read overlapped.
struct Reader {
  Handle pipe;
  Handle event;
  OVERLAPPED overlapped{};
  char buffer[4096];
  bool pending = false;
  bool ended = false;

  // Appends what arrives before the deadline; false once the stream has ended or
  // the time is up.
  bool ReadSome(std::string& into, Clock::time_point deadline) {
    if (ended || !pipe) return false;
    DWORD n = 0;
    if (!pending) {
      std::memset(&overlapped, 0, sizeof overlapped);
      overlapped.hEvent = event.get();
      if (ReadFile(pipe.get(), buffer, sizeof buffer, &n, &overlapped)) {
        return Deliver(n, into);
      }
      if (GetLastError() != ERROR_IO_PENDING) {
        ended = true;
        return false;
      }
      pending = true;
    }
    if (WaitForSingleObject(event.get(), MillisecondsLeft(deadline)) != WAIT_OBJECT_0) return false;
    pending = false;
    if (!GetOverlappedResult(pipe.get(), &overlapped, &n, FALSE)) {
      ended = true;
      return false;
    }
    return Deliver(n, into);
  }

  bool Deliver(DWORD n, std::string& into) {
    into.append(buffer, n);
    return true;  // an empty read (a zero-byte write) is not the end
  }

  void Close() {
    if (pending) {
      CancelIoEx(pipe.get(), &overlapped);
      DWORD n = 0;
      GetOverlappedResult(pipe.get(), &overlapped, &n, TRUE);
      pending = false;
    }
    pipe.Close();
  }
};

std::atomic<unsigned> pipeCounter{0};

// A pipe whose server end (ours) reads overlapped and whose client end is
// handed to the child, inheritable.
bool MakeOutputPipe(Reader& reader, Handle& childEnd) {
  std::string name = "\\\\.\\pipe\\zandrell-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(pipeCounter.fetch_add(1));
  HANDLE server = CreateNamedPipeA(
      name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 65536, 65536, 0, nullptr);
  if (server == INVALID_HANDLE_VALUE) return false;
  reader.pipe = server;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  childEnd = CreateFileA(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  reader.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  return static_cast<bool>(childEnd) && static_cast<bool>(reader.event);
}

// One argument quoted so that the C runtime of the child splits it back out.
void AppendArgument(std::string& line, const std::string& argument) {
  if (!line.empty()) line += ' ';
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    line += argument;
    return;
  }
  line += '"';
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      line.append(backslashes * 2 + 1, '\\');
    } else {
      line.append(backslashes, '\\');
    }
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, '\\');
  line += '"';
}

std::string VariableName(const std::string& entry) {
  // Entries such as "=C:=C:\\work" begin with the separator itself.
  std::size_t equals = entry.find('=', 1);
  std::string name = entry.substr(0, equals);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string EnvironmentBlock(const std::vector<std::string>& extra) {
  std::vector<std::string> entries;
  if (char* current = GetEnvironmentStringsA()) {
    for (const char* entry = current; *entry != '\0'; entry += std::strlen(entry) + 1) {
      std::string text = entry;
      bool replaced = std::any_of(extra.begin(), extra.end(), [&](const std::string& e) {
        return VariableName(e) == VariableName(text);
      });
      if (!replaced) entries.push_back(text);
    }
    FreeEnvironmentStringsA(current);
  }
  entries.insert(entries.end(), extra.begin(), extra.end());
  std::stable_sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
    return VariableName(a) < VariableName(b);
  });
  std::string block;
  for (const std::string& entry : entries) {
    block += entry;
    block += '\0';
  }
  block += '\0';
  return block;
}
}  // namespace

struct ChildProcess::State {
  Handle process;
  DWORD processId = 0;
  Handle input;
  Reader output;
  Reader error;
  std::string pendingOutput;
};

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() {
  CloseInput();
  if (state_->process && Wait(2000) < 0) {
    Kill();
    Wait(2000);
  }
  state_->output.Close();
  state_->error.Close();
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& extraEnvironment,
                         const std::string& workingFolder) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE inputRead = nullptr;
  HANDLE inputWrite = nullptr;
  if (!CreatePipe(&inputRead, &inputWrite, &inherit, 0)) return false;
  Handle childInput(inputRead);
  state_->input = inputWrite;
  SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);

  Handle childOutput;
  Handle childError;
  if (!MakeOutputPipe(state_->output, childOutput)) return false;
  if (!MakeOutputPipe(state_->error, childError)) return false;

  std::string application = program;
  std::replace(application.begin(), application.end(), '/', '\\');
  std::string commandLine;
  AppendArgument(commandLine, application);
  for (const std::string& argument : arguments) AppendArgument(commandLine, argument);
  std::string environment = EnvironmentBlock(extraEnvironment);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput.get();
  startup.hStdOutput = childOutput.get();
  startup.hStdError = childError.get();
  PROCESS_INFORMATION started{};
  // A process group of its own, so a break event reaches the child alone; no
  // console window when we have none to share.
  DWORD flags = CREATE_NEW_PROCESS_GROUP;
  if (GetConsoleWindow() == nullptr) flags |= CREATE_NO_WINDOW;
  BOOL ok = CreateProcessA(
      application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, environment.data(),
      workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &started);
  if (!ok) return false;
  CloseHandle(started.hThread);
  state_->process = started.hProcess;
  state_->processId = started.dwProcessId;
  return true;
}

bool ChildProcess::Write(std::string_view data) {
  while (!data.empty()) {
    DWORD written = 0;
    DWORD part = data.size() > 65536 ? 65536 : static_cast<DWORD>(data.size());
    if (!state_->input || !WriteFile(state_->input.get(), data.data(), part, &written, nullptr) ||
        written == 0) {
      return false;
    }
    data.remove_prefix(written);
  }
  return true;
}

void ChildProcess::CloseInput() { state_->input.Close(); }

std::string ChildProcess::ReadUntil(std::string_view needle, int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string& text = state_->pendingOutput;
  while (text.find(needle) == std::string::npos) {
    if (!state_->output.ReadSome(text, deadline)) break;
  }
  return TakeThrough(text, needle);
}

std::string ChildProcess::ReadToEnd(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (state_->output.ReadSome(state_->pendingOutput, deadline)) {}
  std::string result;
  result.swap(state_->pendingOutput);
  return result;
}

std::string ChildProcess::ReadErrorToEnd(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string text;
  while (state_->error.ReadSome(text, deadline)) {}
  return text;
}

int ChildProcess::Wait(int timeoutMs) {
  if (!state_->process) return -1;
  DWORD wait = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  if (WaitForSingleObject(state_->process.get(), wait) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  if (!GetExitCodeProcess(state_->process.get(), &code)) return -1;
  return static_cast<int>(code);
}

void ChildProcess::SendTerminate() {
  if (state_->process && Wait(0) < 0) GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, state_->processId);
}

void ChildProcess::SendInterrupt() {
  if (state_->process && Wait(0) < 0) GenerateConsoleCtrlEvent(CTRL_C_EVENT, state_->processId);
}

void ChildProcess::Kill() {
  if (state_->process && Wait(0) < 0) TerminateProcess(state_->process.get(), 137);
}

}  // namespace zandrell::platform
