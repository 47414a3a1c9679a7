// quiretto: writes and checks Zandrell's opening books (quiretto --help).
#include <iostream>
#include <string>
#include <vector>

#include "quiretto/commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::ios::sync_with_stdio(false);
  const int status = zandrell::quiretto::RunQuiretto(arguments, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
