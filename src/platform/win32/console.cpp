// The pipe wire on the standard handles, and the console's termination events.
#include <algorithm>
#include <string>

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

// Standard input is read by a thread of its own into a queue, so the engine can
// look at commands while it thinks: a console or a pipe may block a read, and only
// a pipe can be asked how much is waiting.
struct InputQueue {
  CRITICAL_SECTION Lock;
  HANDLE Ready = nullptr;  // set while bytes or the end are waiting
  std::string Bytes;
  bool Ended = false;
};
InputQueue* inputQueue = nullptr;
HANDLE readerThread = nullptr;

volatile LONG terminationFlag = 0;
HANDLE mainThread = nullptr;  // the engine's thread, woken from its wait for input

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT: return TRUE;  // interfaces interrupt version-1 engines; nothing to do
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      InterlockedExchange(&terminationFlag, 1);
      if (inputQueue != nullptr) SetEvent(inputQueue->Ready);
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

}  // namespace

void TakeStandardHandles() {
  handlesClosed = false;
  stdInHandle = GetStdHandle(STD_INPUT_HANDLE);
  stdOutHandle = GetStdHandle(STD_OUTPUT_HANDLE);
}

void CloseStandardHandles() {
  if (readerThread != nullptr) {
    handlesClosed = true;
    CancelSynchronousIo(readerThread);
  }
  if (stdInHandle != INVALID_HANDLE_VALUE && stdInHandle != nullptr) CloseHandle(stdInHandle);
  if (stdOutHandle != INVALID_HANDLE_VALUE && stdOutHandle != nullptr) CloseHandle(stdOutHandle);
  stdInHandle = INVALID_HANDLE_VALUE;
  stdOutHandle = INVALID_HANDLE_VALUE;
  handlesClosed = true;
}

namespace {

DWORD WINAPI ReadInputIntoQueue(LPVOID) {
  char buffer[4096];
  for (;;) {
    DWORD n = 0;
    BOOL ok = ReadFile(stdInHandle, buffer, sizeof buffer, &n, nullptr);
    if (!ok && GetLastError() == ERROR_OPERATION_ABORTED && !handlesClosed) continue;
    EnterCriticalSection(&inputQueue->Lock);
    // A failed read is the interface gone; an empty successful one is the end of
    // a file or console, and what wine reports at the end of a host pipe.
    if (ok && n > 0) {
      inputQueue->Bytes.append(buffer, n);
    } else {
      inputQueue->Ended = true;
    }
    SetEvent(inputQueue->Ready);
    const bool ended = inputQueue->Ended;
    LeaveCriticalSection(&inputQueue->Lock);
    if (ended) return 0;
  }
}

// Starts the reader at the first look at the input. False without an input handle.
bool StartReader() {
  TakeHandlesOnFirstUse();
  if (inputQueue != nullptr) return true;
  if (stdInHandle == INVALID_HANDLE_VALUE || stdInHandle == nullptr) return false;
  // Lives as long as the process: the reader may still be blocked in its read
  // when the process ends.
  inputQueue = new InputQueue;
  InitializeCriticalSection(&inputQueue->Lock);
  inputQueue->Ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  readerThread = CreateThread(nullptr, 0, ReadInputIntoQueue, nullptr, 0, nullptr);
  if (readerThread == nullptr) inputQueue->Ended = true;
  return true;
}

// Takes up to capacity queued bytes; 0 when none are queued.
int TakeQueued(char* buffer, int capacity) {
  EnterCriticalSection(&inputQueue->Lock);
  const std::size_t n = std::min(inputQueue->Bytes.size(), static_cast<std::size_t>(capacity));
  inputQueue->Bytes.copy(buffer, n);
  inputQueue->Bytes.erase(0, n);
  if (inputQueue->Bytes.empty() && !inputQueue->Ended) ResetEvent(inputQueue->Ready);
  LeaveCriticalSection(&inputQueue->Lock);
  return static_cast<int>(n);
}

}  // namespace

int ReadStandardInput(char* buffer, int capacity) {
  if (capacity <= 0 || !StartReader()) return 0;
  for (;;) {
    if (terminationFlag != 0) return -1;
    const int n = TakeQueued(buffer, capacity);
    if (n > 0) return n;
    if (StandardInputClosed()) return 0;
    // The console handler sets the event too when asked to end.
    WaitForSingleObject(inputQueue->Ready, INFINITE);
  }
}

int TakeWaitingInput(char* buffer, int capacity) {
  if (capacity <= 0 || !StartReader()) return 0;
  return TakeQueued(buffer, capacity);
}

bool StandardInputClosed() {
  if (!StartReader()) return false;
  EnterCriticalSection(&inputQueue->Lock);
  const bool closed = inputQueue->Ended && inputQueue->Bytes.empty();
  LeaveCriticalSection(&inputQueue->Lock);
  return closed;
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
