#include <unistd.h>

#include <cstdio>

#include "cli/gen.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return GenMain(args, STDOUT_FILENO, stdout, stderr, GenPngRenderer());
}
