#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "cli/gen.h"
#include "platform/textio/textfile.h"

int main(int argc, char** argv) {
  // A closed standard descriptor would be taken by the first file opened, and numbers
  // meant for standard output would land in it: hold each closed one with a descriptor
  // that refuses writes, so that writing reports "Output closed".
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
    if (::fcntl(fd, F_GETFD) < 0) {
      const int held = ::open("/dev/null", O_RDONLY);
      if (held >= 0 && held != fd) {
        ::dup2(held, fd);
        ::close(held);
      }
    }
  InstallSignalCleanup();
  std::vector<std::string> args(argv + 1, argv + argc);
  return GenMain(args, STDOUT_FILENO, stdout, stderr, GenPngRenderer());
}
