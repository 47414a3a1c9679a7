#pragma once
// Things that stand where a file is expected: a FIFO (POSIX only) and a loop of
// symbolic links.
#include <string>

namespace zandrell::testing {

// Makes a FIFO at path with the system's mkfifo; false where there is none.
bool MakeFifo(const std::string& path);
// Makes path a symbolic link to itself; false where links cannot be made.
bool MakeLinkLoop(const std::string& path);

}  // namespace zandrell::testing
