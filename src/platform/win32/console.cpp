// The pipe wire on the standard handles, and the console's termination events.
#include <algorithm>
#include <atomic>
#include <string>

#include "platform/platform.h"
#include "platform/win32/windows_api.h"

#include <io.h>

#include <cstdio>

namespace zandrell::platform {

namespace {
// Read by the reader thread and the console handler's thread as well as the
// engine's: atomics, so every thread sees each change whole.
std::atomic<HANDLE> stdInHandle{INVALID_HANDLE_VALUE};
std::atomic<HANDLE> stdOutHandle{INVALID_HANDLE_VALUE};
// Once closed, the handle values may be reused by files opened later (the log);
// nothing may read or write through them again.
std::atomic<bool> handlesClosed{false};

void TakeHandlesOnFirstUse() {
  if (stdInHandle.load() == INVALID_HANDLE_VALUE && !handlesClosed.load()) TakeStandardHandles();
}

bool Usable(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }

// Standard input is read by a thread of its own into a queue, so the engine can
// look at commands while it thinks: a console or a pipe may block a read, and only
// a pipe can be asked how much is waiting.
struct InputQueue {
  CRITICAL_SECTION Lock;
  HANDLE Ready = nullptr;  // set while bytes or the end are waiting
  std::string Bytes;
  bool Ended = false;
};
// Published whole, lock and event made, before the reader starts; it lives as
// long as the process, since the reader may still be blocked in its read when
// the process ends.
std::atomic<InputQueue*> inputQueue{nullptr};
// Set once the reader runs: the input handle is then never closed under it (a
// close can wait for its read to finish); the end of the process ends it.
std::atomic<bool> readerRunning{false};

std::atomic<LONG> terminationFlag{0};
std::atomic<HANDLE> mainThread{nullptr};  // the engine's thread, woken from its wait

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT: return TRUE;  // interfaces interrupt version-1 engines; nothing to do
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: {
      terminationFlag.store(1);
      if (InputQueue* queue = inputQueue.load(); queue != nullptr) SetEvent(queue->Ready);
      const HANDLE engine = mainThread.load();
      if (engine != nullptr) {
        CancelSynchronousIo(engine);
        // Returning would let the system end the process before the engine has
        // logged its end; wait for the main thread to end the process instead.
        // The system's own grace period still bounds this.
        if (event != CTRL_BREAK_EVENT) WaitForSingleObject(engine, INFINITE);
      }
      return TRUE;
    }
    default: return FALSE;
  }
}

}  // namespace

void TakeStandardHandles() {
  handlesClosed.store(false);
  stdInHandle.store(GetStdHandle(STD_INPUT_HANDLE));
  stdOutHandle.store(GetStdHandle(STD_OUTPUT_HANDLE));
}

void CloseStandardHandles() {
  handlesClosed.store(true);
  const HANDLE input = stdInHandle.exchange(INVALID_HANDLE_VALUE);
  const HANDLE output = stdOutHandle.exchange(INVALID_HANDLE_VALUE);
  // The reader may be in its read, or about to start one: closing the handle
  // under it could wait for that read or let it read another file given the
  // same value. It stays open until the process ends, which ends the reader.
  if (Usable(input) && !readerRunning.load()) CloseHandle(input);
  if (Usable(output)) CloseHandle(output);
}

namespace {

DWORD WINAPI ReadInputIntoQueue(LPVOID parameter) {
  InputQueue& queue = *static_cast<InputQueue*>(parameter);
  const HANDLE input = stdInHandle.load();
  char buffer[4096];
  for (;;) {
    DWORD n = 0;
    BOOL ok = ReadFile(input, buffer, sizeof buffer, &n, nullptr);
    if (!ok && GetLastError() == ERROR_OPERATION_ABORTED && !handlesClosed.load()) continue;
    EnterCriticalSection(&queue.Lock);
    // A failed read is the interface gone; an empty successful one is the end of
    // a file or console, and what wine reports at the end of a host pipe.
    if (ok && n > 0) {
      queue.Bytes.append(buffer, n);
    } else {
      queue.Ended = true;
    }
    SetEvent(queue.Ready);
    const bool ended = queue.Ended;
    LeaveCriticalSection(&queue.Lock);
    if (ended) return 0;
  }
}

// Starts the reader at the first look at the input (only the engine's thread
// looks). False without an input handle.
InputQueue* StartReader() {
  TakeHandlesOnFirstUse();
  if (InputQueue* queue = inputQueue.load(); queue != nullptr) return queue;
  if (!Usable(stdInHandle.load())) return nullptr;
  auto* queue = new InputQueue;
  InitializeCriticalSection(&queue->Lock);
  queue->Ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  readerRunning.store(true);
  const HANDLE thread = CreateThread(nullptr, 0, ReadInputIntoQueue, queue, 0, nullptr);
  if (thread == nullptr) {
    readerRunning.store(false);
    queue->Ended = true;
  } else {
    CloseHandle(thread);  // it runs on until the input ends or the process does
  }
  inputQueue.store(queue);
  return queue;
}

// Takes up to capacity queued bytes; 0 when none are queued.
int TakeQueued(InputQueue& queue, char* buffer, int capacity) {
  EnterCriticalSection(&queue.Lock);
  const std::size_t n = std::min(queue.Bytes.size(), static_cast<std::size_t>(capacity));
  queue.Bytes.copy(buffer, n);
  queue.Bytes.erase(0, n);
  if (queue.Bytes.empty() && !queue.Ended) ResetEvent(queue.Ready);
  LeaveCriticalSection(&queue.Lock);
  return static_cast<int>(n);
}

bool QueueClosed(InputQueue& queue) {
  EnterCriticalSection(&queue.Lock);
  const bool closed = queue.Ended && queue.Bytes.empty();
  LeaveCriticalSection(&queue.Lock);
  return closed;
}

}  // namespace

int ReadStandardInput(char* buffer, int capacity) {
  InputQueue* queue = capacity > 0 ? StartReader() : nullptr;
  if (queue == nullptr) return 0;
  for (;;) {
    if (terminationFlag.load() != 0) return -1;
    const int n = TakeQueued(*queue, buffer, capacity);
    if (n > 0) return n;
    if (QueueClosed(*queue)) return 0;
    // The console handler sets the event too when asked to end.
    WaitForSingleObject(queue->Ready, INFINITE);
  }
}

int TakeWaitingInput(char* buffer, int capacity) {
  InputQueue* queue = capacity > 0 ? StartReader() : nullptr;
  return queue == nullptr ? 0 : TakeQueued(*queue, buffer, capacity);
}

bool StandardInputClosed() {
  InputQueue* queue = StartReader();
  return queue != nullptr && QueueClosed(*queue);
}

void WriteStandardOutput(const char* data, std::size_t size) {
  TakeHandlesOnFirstUse();
  const HANDLE output = stdOutHandle.load();
  if (!Usable(output)) return;
  while (size > 0) {
    DWORD part = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(output, data, part, &written, nullptr) || written == 0) return;
    data += written;
    size -= written;
  }
}

void InstallTerminationHandling() {
  if (mainThread.load() == nullptr) {
    HANDLE engine = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &engine, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    mainThread.store(engine);
  }
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool TerminationRequested() { return terminationFlag.load() != 0; }

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
