#include "platform/platform.h"

namespace zandrell::platform {

std::string FileKindText(FileKind kind) {
  switch (kind) {
    case FileKind::kFolder: return "a folder";
    case FileKind::kPipe: return "a FIFO (named pipe)";
    case FileKind::kDevice: return "a device";
    case FileKind::kSocket: return "a socket";
    case FileKind::kLinkLoop: return "a loop of symbolic links";
    default: return "";
  }
}

}  // namespace zandrell::platform
