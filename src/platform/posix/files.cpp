#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

#include "platform/ini_text.h"
#include "platform/platform.h"

namespace zandrell::platform {

namespace {
// Writes until all is written or the file refuses; short writes continue.
bool WriteAll(int fd, std::string_view text) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(fd, data, left);
    if (n <= 0) return false;
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}
}  // namespace

const char kPathSeparator = '/';

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string ProgramFolder() {
  std::string path = ExecutablePath();
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string ExecutableBaseName() {
  std::string path = ExecutablePath();
  std::string name = path.substr(path.rfind('/') + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {
FileKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kFile;
  if (S_ISDIR(mode)) return FileKind::kFolder;
  if (S_ISFIFO(mode)) return FileKind::kPipe;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::kDevice;
  if (S_ISSOCK(mode)) return FileKind::kSocket;
  return FileKind::kUnknown;
}
}  // namespace

FileKind KindOfFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileKind::kNothing;
    return errno == ELOOP ? FileKind::kLinkLoop : FileKind::kUnknown;
  }
  return KindOfMode(info.st_mode);
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string* reason) {
  auto fail = [&](const std::string& why) {
    if (reason != nullptr) *reason = why;
    return false;
  };
  // Without O_NONBLOCK opening a FIFO waits for a writer that may never come.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return fail(errno == ELOOP ? FileKindText(FileKind::kLinkLoop) : std::strerror(errno));
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const std::string why = std::strerror(errno);
    ::close(fd);
    return fail(why);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    const std::string kind = FileKindText(KindOfMode(info.st_mode));
    return fail(kind.empty() ? "not a regular file" : kind);
  }
  std::string text;
  text.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[64 * 1024];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const std::string why = std::string(std::strerror(errno)) + " reading " + path;
      ::close(fd);
      return fail(why);
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  content = std::move(text);
  return true;
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FileStamp StampOfFile(const std::string& path) {
  struct stat info {};
  FileStamp stamp;
  if (::stat(path.c_str(), &info) != 0) return stamp;
  stamp.Size = static_cast<std::int64_t>(info.st_size);
  stamp.Modified =
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  stamp.Identity =
      static_cast<std::uint64_t>(info.st_ino) ^ (static_cast<std::uint64_t>(info.st_dev) << 32);
  return stamp;
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  if (FolderExists(path)) return true;
  std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) return false;
  // Private to the user, as per-user settings and state folders are.
  return ::mkdir(path.c_str(), 0700) == 0 || (errno == EEXIST && FolderExists(path));
}

std::string EnvironmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

std::string HomeFolder() {
  std::string home = EnvironmentVariable("HOME");
  if (!home.empty()) return home;
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
      found->pw_dir) {
    return found->pw_dir;
  }
  return {};
}

bool AppendLine(const std::string& path, std::string_view text) {
  // O_NONBLOCK: a FIFO in the log's place is not waited on (no effect on a file).
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::string line(text);
  line += "\r\n";
  // One write per entry keeps entries of two processes from interleaving.
  bool ok = WriteAll(fd, line);
  ::close(fd);
  return ok;
}

std::string LocalDateTimeText() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%x %X", &local);
  return buffer;
}

std::string IniRead(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& defaultValue) {
  std::string content;
  if (ReadWholeFile(file, content)) {
    if (auto value = IniLookup(content, section, key)) return *value;
  }
  return defaultValue.substr(0, kProfileValueLimit);
}

bool IniWrite(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
  std::string content;
  ReadWholeFile(file, content);  // a missing file starts empty
  std::string updated = IniAssign(content, section, key, value);
  // Write beside the file and rename, so a failed write never leaves half a file.
  std::string temporary = file + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << updated;
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), file.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace zandrell::platform

namespace zandrell::platform {

bool WriteWholeFile(const std::string& path, std::string_view content) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, content);
  // On disk before a rename can make it the real file.
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace zandrell::platform
