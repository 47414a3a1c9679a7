// Program folder, log appends, local time text and the profile (INI) functions.
#include <vector>

#include "platform/ini_text.h"
#include "platform/platform.h"
#include "platform/win32/windows_api.h"

namespace zandrell::platform {

const char kPathSeparator = '\\';

std::string ExecutablePath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);  // cut short: the path is longer than the buffer
    if (buffer.size() > 32768 * 2) return {};
  }
}

namespace {
std::size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }
}  // namespace

std::string ProgramFolder() {
  std::string path = ExecutablePath();
  std::size_t separator = LastSeparator(path);
  if (separator == std::string::npos) return ".";
  // A drive root keeps its separator ("C:\"); any other folder loses it.
  if (separator == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, separator);
}

std::string ExecutableBaseName() {
  std::string path = ExecutablePath();
  std::size_t separator = LastSeparator(path);
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FileKind KindOfFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_INVALID_NAME) {
      return FileKind::kNothing;
    }
    return error == ERROR_CANT_RESOLVE_FILENAME ? FileKind::kLinkLoop : FileKind::kUnknown;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileKind::kFolder;
  // Device names (CON, NUL, COM1) and pipes report attributes too: ask the handle.
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FileKind::kFile;
  const DWORD type = GetFileType(file);
  CloseHandle(file);
  if (type == FILE_TYPE_DISK) return FileKind::kFile;
  if (type == FILE_TYPE_PIPE) return FileKind::kPipe;
  if (type == FILE_TYPE_CHAR) return FileKind::kDevice;
  return FileKind::kUnknown;
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string* reason) {
  auto fail = [&](const std::string& why) {
    if (reason != nullptr) *reason = why;
    return false;
  };
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // The runtime's own texts, as the C library gives them for the same failures.
    if (FolderExists(path)) return fail(FileKindText(FileKind::kFolder));
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return fail("No such file or directory");
    }
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
      return fail("Permission denied");
    }
    if (error == ERROR_CANT_RESOLVE_FILENAME) return fail(FileKindText(FileKind::kLinkLoop));
    return fail("Invalid argument");
  }
  // Only a file on disk: reading a console, a pipe or a device would wait.
  const DWORD type = GetFileType(file);
  if (type != FILE_TYPE_DISK) {
    CloseHandle(file);
    if (type == FILE_TYPE_PIPE) return fail(FileKindText(FileKind::kPipe));
    if (type == FILE_TYPE_CHAR) return fail(FileKindText(FileKind::kDevice));
    return fail("not a regular file");
  }
  std::string text;
  char buffer[64 * 1024];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      CloseHandle(file);
      return fail("Input/output error reading " + path);
    }
    if (n == 0) break;
    text.append(buffer, n);
  }
  CloseHandle(file);
  content = std::move(text);
  return true;
}

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileStamp StampOfFile(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  FileStamp stamp;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
  stamp.Size = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                         data.nFileSizeLow);
  stamp.Modified = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
      data.ftLastWriteTime.dwLowDateTime);
  return stamp;
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  if (FolderExists(path)) return true;
  std::size_t separator = LastSeparator(path);
  if (separator != std::string::npos && separator > 0 && path[separator - 1] != ':' &&
      !MakeFolders(path.substr(0, separator))) {
    return false;
  }
  return CreateDirectoryA(path.c_str(), nullptr) != 0 || FolderExists(path);
}

std::string EnvironmentVariable(const std::string& name) {
  DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::vector<char> buffer(size);
  DWORD n = GetEnvironmentVariableA(name.c_str(), buffer.data(), size);
  if (n == 0 || n >= size) return {};
  return std::string(buffer.data(), n);
}

std::string HomeFolder() { return EnvironmentVariable("USERPROFILE"); }

bool AppendLine(const std::string& path, std::string_view text) {
  // Append access only: every write lands at the current end of the file, so
  // entries of two processes sharing the log never overwrite each other.
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string line(text);
  line += "\r\n";
  DWORD written = 0;
  BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == line.size();
}

std::string LocalDateTimeText() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char date[128] = "";
  char time[128] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, sizeof time);
  return std::string(date) + ' ' + time;
}

std::string IniRead(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& defaultValue) {
  char buffer[kProfileValueLimit + 1];
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                     sizeof buffer, file.c_str());
  if (n > kProfileValueLimit) n = kProfileValueLimit;
  return std::string(buffer, n);
}

bool IniWrite(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace zandrell::platform

namespace zandrell::platform {

bool WriteWholeFile(const std::string& path, std::string_view content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const char* data = content.data();
  std::size_t left = content.size();
  bool ok = true;
  while (left > 0) {
    DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) {
      ok = false;
      break;
    }
    data += written;
    left -= written;
  }
  // On disk before a rename can make it the real file.
  if (ok && !FlushFileBuffers(file)) ok = false;
  if (!CloseHandle(file)) ok = false;
  return ok;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

}  // namespace zandrell::platform
