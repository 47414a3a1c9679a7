#pragma once
// Everything Zandrell needs from the operating system. One POSIX and one Win32
// implementation live beside this header; nothing else includes OS headers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zandrell::platform {

// --- standard handles and the pipe wire ---
void TakeStandardHandles();
void CloseStandardHandles();
// Blocks until input arrives. Returns the number of bytes read (> 0), 0 at end of
// input (the peer closed the pipe or the read failed for good), or -1 when the read
// was interrupted (look at TerminationRequested()).
int ReadStandardInput(char* buffer, int capacity);
void WriteStandardOutput(const char* data, std::size_t size);
// Takes what has arrived on standard input without waiting: the number of bytes
// (> 0), or 0 when nothing is waiting now (StandardInputClosed() then tells whether
// anything ever will be). For looking at commands while the engine thinks.
int TakeWaitingInput(char* buffer, int capacity);
// True once the writer of standard input has closed it and nothing is left to read.
// Takes no command from the input.
bool StandardInputClosed();

// --- process ---
// SIGINT-style interrupts are ignored; a termination request (SIGTERM, console close)
// only raises a flag that the engine polls, so it can shut down in order.
void InstallTerminationHandling();
bool TerminationRequested();
[[noreturn]] void ExitProcess(int code);
// A window program run from a console writes there: standard output and error
// that lead nowhere are joined to the console of the process that started it.
// Nothing changes where they are already connected (a pipe, a file, a console).
void UseParentConsole();
void ProcessPendingMessages();

// --- clocks ---
std::int64_t PerformanceFrequency();  // 0 when there is no high-resolution counter
float SecondsSinceMidnight();         // the runtime's timer of the day, wraps at midnight
double MonotonicSeconds();            // never wraps, for elapsed times

// --- files and folders ---
extern const char kPathSeparator;  // '\\' on Windows, '/' elsewhere
std::string ProgramFolder();       // folder of the running executable, no trailing separator
std::string ExecutablePath();      // full path of the running executable
std::string ExecutableBaseName();  // file name of the executable without its extension
bool FileExists(const std::string& path);  // an existing file, not a folder
bool FolderExists(const std::string& path);
// What tells a changed file from the one read before: size, time of the last
// write and, where the system has one, the file's identity. Size -1: no file.
struct FileStamp {
  std::int64_t Size = -1;
  std::int64_t Modified = 0;
  std::uint64_t Identity = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOfFile(const std::string& path);
// Creates the folder and any missing parents; true when the folder is there after.
bool MakeFolders(const std::string& path);
std::string EnvironmentVariable(const std::string& name);  // "" when unset
std::string HomeFolder();  // the user's home folder, "" when unknown
// Appends text and a CR LF to the file, creating it when missing. False when the
// file cannot be opened or written.
bool AppendLine(const std::string& path, std::string_view text);
std::string LocalDateTimeText();  // short date, a blank, long time
// What stands at a path, looked at without opening it (symbolic links followed).
enum class FileKind { kNothing, kFile, kFolder, kPipe, kDevice, kSocket, kLinkLoop, kUnknown };
FileKind KindOfFile(const std::string& path);
// What a path that is not a file holds, for messages: "a folder", "a FIFO", ...;
// "" for a file and for nothing at all.
std::string FileKindText(FileKind kind);
// The whole of a regular file as it is on disk. Anything else (a folder, a FIFO, a
// device, a loop of symbolic links) is refused at once, never waited on. On
// failure reason, when given, holds the system's description of the error or
// what stands there instead of a file.
bool ReadWholeFile(const std::string& path, std::string& content, std::string* reason = nullptr);
// Creates or truncates the file and writes all of content through to the disk.
// False (and the file possibly partial) when any step fails.
bool WriteWholeFile(const std::string& path, std::string_view content);
// Moves from over to in one step, replacing an existing file of that name.
// (Not ReplaceFile: windows.h takes that name for a macro.)
bool MoveFileOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);

// --- settings files (the profile-string semantics of Windows) ---
// Returns the value, or the default when the file, section or key is missing; both
// cut to 259 characters.
std::string IniRead(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& defaultValue);
bool IniWrite(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);

// --- user interface ---
enum class BoxIcon { kNone, kExclamation, kCritical };
void ShowMessage(const std::string& text, BoxIcon icon);
bool UserLanguageIsItalian();
std::string LoadString(int id);  // string table 101..107, English or Italian

}  // namespace zandrell::platform
