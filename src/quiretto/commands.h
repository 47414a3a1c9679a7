#pragma once
// Quiretto's command line: import, list, check, allow, forbid, remove, merge.
#include <ostream>
#include <string>
#include <vector>

namespace zandrell::quiretto {

// Runs one command (arguments without the program name). Returns the exit
// status: 0 done, 1 the command failed or check found problems, 2 a usage error.
int RunQuiretto(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace zandrell::quiretto
