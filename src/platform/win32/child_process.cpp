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
  HANDLE Get() const { return handle_; }
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
  Handle Pipe;
  Handle Event;
  OVERLAPPED Overlapped{};
  char Buffer[4096];
  bool Pending = false;
  bool Ended = false;

  // Appends what arrives before the deadline; false once the stream has ended or
  // the time is up.
  bool ReadSome(std::string& into, Clock::time_point deadline) {
    if (Ended || !Pipe) return false;
    DWORD n = 0;
    if (!Pending) {
      std::memset(&Overlapped, 0, sizeof Overlapped);
      Overlapped.hEvent = Event.Get();
      if (ReadFile(Pipe.Get(), Buffer, sizeof Buffer, &n, &Overlapped)) {
        return Deliver(n, into);
      }
      if (GetLastError() != ERROR_IO_PENDING) {
        Ended = true;
        return false;
      }
      Pending = true;
    }
    if (WaitForSingleObject(Event.Get(), MillisecondsLeft(deadline)) != WAIT_OBJECT_0) return false;
    Pending = false;
    if (!GetOverlappedResult(Pipe.Get(), &Overlapped, &n, FALSE)) {
      Ended = true;
      return false;
    }
    return Deliver(n, into);
  }

  bool Deliver(DWORD n, std::string& into) {
    into.append(Buffer, n);
    return true;  // an empty read (a zero-byte write) is not the end
  }

  void Close() {
    if (Pending) {
      CancelIoEx(Pipe.Get(), &Overlapped);
      DWORD n = 0;
      GetOverlappedResult(Pipe.Get(), &Overlapped, &n, TRUE);
      Pending = false;
    }
    Pipe.Close();
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
  reader.Pipe = server;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  childEnd = CreateFileA(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  reader.Event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  return static_cast<bool>(childEnd) && static_cast<bool>(reader.Event);
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
  Handle Process;
  DWORD ProcessId = 0;
  Handle Input;
  Reader Output;
  Reader Error;
  std::string PendingOutput;
};

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() {
  CloseInput();
  if (state_->Process && Wait(2000) < 0) {
    Kill();
    Wait(2000);
  }
  state_->Output.Close();
  state_->Error.Close();
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& extraEnvironment,
                         const std::string& workingFolder) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE inputRead = nullptr;
  HANDLE inputWrite = nullptr;
  if (!CreatePipe(&inputRead, &inputWrite, &inherit, 0)) return false;
  Handle childInput(inputRead);
  state_->Input = inputWrite;
  SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);

  Handle childOutput;
  Handle childError;
  if (!MakeOutputPipe(state_->Output, childOutput)) return false;
  if (!MakeOutputPipe(state_->Error, childError)) return false;

  std::string application = program;
  std::replace(application.begin(), application.end(), '/', '\\');
  std::string commandLine;
  AppendArgument(commandLine, application);
  for (const std::string& argument : arguments) AppendArgument(commandLine, argument);
  std::string environment = EnvironmentBlock(extraEnvironment);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput.Get();
  startup.hStdOutput = childOutput.Get();
  startup.hStdError = childError.Get();
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
  state_->Process = started.hProcess;
  state_->ProcessId = started.dwProcessId;
  return true;
}

bool ChildProcess::Write(std::string_view data) {
  while (!data.empty()) {
    DWORD written = 0;
    DWORD part = data.size() > 65536 ? 65536 : static_cast<DWORD>(data.size());
    if (!state_->Input || !WriteFile(state_->Input.Get(), data.data(), part, &written, nullptr) ||
        written == 0) {
      return false;
    }
    data.remove_prefix(written);
  }
  return true;
}

void ChildProcess::CloseInput() { state_->Input.Close(); }

std::string ChildProcess::ReadUntil(std::string_view needle, int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string& text = state_->PendingOutput;
  while (text.find(needle) == std::string::npos) {
    if (!state_->Output.ReadSome(text, deadline)) break;
  }
  return TakeThrough(text, needle);
}

std::string ChildProcess::ReadToEnd(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (state_->Output.ReadSome(state_->PendingOutput, deadline)) {}
  std::string result;
  result.swap(state_->PendingOutput);
  return result;
}

std::string ChildProcess::ReadErrorToEnd(int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string text;
  while (state_->Error.ReadSome(text, deadline)) {}
  return text;
}

int ChildProcess::Wait(int timeoutMs) {
  if (!state_->Process) return -1;
  DWORD wait = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  if (WaitForSingleObject(state_->Process.Get(), wait) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  if (!GetExitCodeProcess(state_->Process.Get(), &code)) return -1;
  return static_cast<int>(code);
}

void ChildProcess::SendTerminate() {
  if (state_->Process && Wait(0) < 0) GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, state_->ProcessId);
}

void ChildProcess::SendInterrupt() {
  if (state_->Process && Wait(0) < 0) GenerateConsoleCtrlEvent(CTRL_C_EVENT, state_->ProcessId);
}

long ChildProcess::PeakMemoryKb() const { return 0; }  // not needed on Windows

void ChildProcess::Kill() {
  if (state_->Process && Wait(0) < 0) TerminateProcess(state_->Process.Get(), 137);
}

}  // namespace zandrell::platform
