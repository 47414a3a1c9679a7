// The pipe wire on the standard handles, and the console's termination events.
#include "platform/platform.h"
#include "platform/win32/windows_api.h"

#include <io.h>

#include <cstdio>

namespace zandrell::platform {

namespace {
HANDLE stdInHandle = INVALID_HANDLE_VALUE;
HANDLE stdOutHandle = INVALID_HANDLE_VALUE;
// Once closed, the handle values may be reused by files opened later (the log);
// nothing may read or write through them again.
bool handlesClosed = false;

void TakeHandlesOnFirstUse() {
  if (stdInHandle == INVALID_HANDLE_VALUE && !handlesClosed) TakeStandardHandles();
}

volatile LONG terminationFlag = 0;
HANDLE mainThread = nullptr;  // the thread that reads; its blocked read gets cancelled

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT: return TRUE;  // interfaces interrupt version-1 engines; nothing to do
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      InterlockedExchange(&terminationFlag, 1);
      if (mainThread != nullptr) {
        CancelSynchronousIo(mainThread);
        // Returning would let the system end the process before the engine has
        // logged its end; wait for the main thread to end the process instead.
        // The system's own grace period still bounds this.
        if (event != CTRL_BREAK_EVENT) WaitForSingleObject(mainThread, INFINITE);
      }
      return TRUE;
    default: return FALSE;
  }
}

bool IsPipe(HANDLE handle) { return GetFileType(handle) == FILE_TYPE_PIPE; }

}  // namespace

void TakeStandardHandles() {
  handlesClosed = false;
  stdInHandle = GetStdHandle(STD_INPUT_HANDLE);
  stdOutHandle = GetStdHandle(STD_OUTPUT_HANDLE);
}

void CloseStandardHandles() {
  if (stdInHandle != INVALID_HANDLE_VALUE && stdInHandle != nullptr) CloseHandle(stdInHandle);
  if (stdOutHandle != INVALID_HANDLE_VALUE && stdOutHandle != nullptr) CloseHandle(stdOutHandle);
  stdInHandle = INVALID_HANDLE_VALUE;
  stdOutHandle = INVALID_HANDLE_VALUE;
  handlesClosed = true;
}

int ReadStandardInput(char* buffer, int capacity) {
  TakeHandlesOnFirstUse();
  if (stdInHandle == INVALID_HANDLE_VALUE || capacity <= 0) return 0;
  for (;;) {
    if (terminationFlag != 0) return -1;
    DWORD n = 0;
    BOOL ok = ReadFile(stdInHandle, buffer, static_cast<DWORD>(capacity), &n, nullptr);
    if (ok && n > 0) return static_cast<int>(n);
    if (ok) {
      // A pipe delivers an empty read when the writer wrote zero bytes; only a
      // file or console reports its end that way.
      if (IsPipe(stdInHandle)) continue;
      return 0;
    }
    DWORD error = GetLastError();
    if (error == ERROR_OPERATION_ABORTED && terminationFlag != 0) return -1;
    if (error == ERROR_OPERATION_ABORTED) continue;
    return 0;  // broken pipe (the interface went away) or a failure for good
  }
}

bool StandardInputClosed() {
  TakeHandlesOnFirstUse();
  if (stdInHandle == INVALID_HANDLE_VALUE || stdInHandle == nullptr) return false;
  if (!IsPipe(stdInHandle)) return false;
  DWORD available = 0;
  if (PeekNamedPipe(stdInHandle, nullptr, 0, nullptr, &available, nullptr)) return false;
  // The pipe reports its broken end only once the waiting bytes are read.
  return GetLastError() == ERROR_BROKEN_PIPE;
}

void WriteStandardOutput(const char* data, std::size_t size) {
  TakeHandlesOnFirstUse();
  if (stdOutHandle == INVALID_HANDLE_VALUE) return;
  while (size > 0) {
    DWORD part = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(stdOutHandle, data, part, &written, nullptr) || written == 0) return;
    data += written;
    size -= written;
  }
}

void InstallTerminationHandling() {
  if (mainThread == nullptr) {
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &mainThread, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
  }
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool TerminationRequested() { return terminationFlag != 0; }

void ExitProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }

void ProcessPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace zandrell::platform

namespace zandrell::platform {

void UseParentConsole() {
  auto leadsNowhere = [](DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
  };
  const bool output = leadsNowhere(STD_OUTPUT_HANDLE);
  const bool error = leadsNowhere(STD_ERROR_HANDLE);
  if (!output && !error) return;
  if (AttachConsole(ATTACH_PARENT_PROCESS) == 0) return;
  if (output && std::freopen("CONOUT$", "w", stdout) != nullptr) {
    SetStdHandle(STD_OUTPUT_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout))));
  }
  if (error && std::freopen("CONOUT$", "w", stderr) != nullptr) {
    SetStdHandle(STD_ERROR_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stderr))));
  }
}

}  // namespace zandrell::platform
