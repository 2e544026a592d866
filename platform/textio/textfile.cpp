#include "platform/textio/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "components/common/numparse.h"

namespace {

constexpr std::size_t kReadBufferSize = 64 * 1024;
constexpr std::size_t kMaxIntToken = 32;
constexpr std::size_t kMaxRealToken = 64;

// Writes all of [data, data + n) to fd, retrying after interruptions and short writes.
void WriteAll(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      ThrowInOutError(errno);
    }
    if (w == 0) ThrowInOutError(ENOSPC);
    data += w;
    n -= static_cast<std::size_t>(w);
  }
}

}  // namespace

std::string InOutErrorMessage(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return "File not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "File access denied";
    case ENOSPC:
    case EDQUOT:
      return "Disk full";
    default:
      return std::string("File input/output error: ") + std::strerror(err);
  }
}

void ThrowInOutError(int err) {
  throw EInOutError(InOutErrorMessage(err));
}

// ---------------------------------------------------------------- writer

TTextFileWriter::TTextFileWriter(const std::string& path) : FPath(path) {
  static std::atomic<unsigned> serial{0};
  // Replacing an existing file must be refused where rewriting it in place would be: a
  // directory, or a file we may not write. A symbolic link is written through, so the
  // temporary goes beside the file it names; the new file keeps the old one's mode.
  struct stat st {};
  bool existing = ::stat(FPath.c_str(), &st) == 0;
  if (existing) {
    if (S_ISDIR(st.st_mode)) ThrowInOutError(EISDIR);
    if (::faccessat(AT_FDCWD, FPath.c_str(), W_OK, AT_EACCESS) != 0) ThrowInOutError(errno);
    if (!S_ISREG(st.st_mode)) {
      // A device or a pipe is written to itself: renaming over it would replace it.
      do {
        FFd = ::open(FPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
      } while (FFd < 0 && errno == EINTR);
      if (FFd < 0) ThrowInOutError(errno);
      FOwnsFd = true;
      FBuf = std::make_unique<char[]>(kBufferSize);
      FBufSize = kBufferSize;
      return;
    }
    struct stat lst {};
    if (::lstat(FPath.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
      if (char* real = ::realpath(FPath.c_str(), nullptr)) {
        FPath = real;
        std::free(real);
      }
    }
  }
  FBuf = std::make_unique<char[]>(kBufferSize);
  FBufSize = kBufferSize;
  const std::size_t slash = FPath.rfind('/');
  const std::size_t baseStart = slash == std::string::npos ? 0 : slash + 1;
  for (int attempt = 0;; ++attempt) {
    const std::string suffix =
        ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(serial.fetch_add(1));
    // The temporary's name must stay within the file system's limit also for a target
    // whose own name is close to it.
    std::string base = FPath.substr(baseStart);
    if (base.size() + suffix.size() > NAME_MAX) base.resize(NAME_MAX - suffix.size());
    FTempPath = FPath.substr(0, baseStart) + base + suffix;
    FFd = ::open(FTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (FFd >= 0) break;
    if (errno == EEXIST && attempt < 100) continue;
    int err = errno;
    FTempPath.clear();
    ThrowInOutError(err);
  }
  FOwnsFd = true;
  if (existing && S_ISREG(st.st_mode)) (void)::fchmod(FFd, st.st_mode & 0777);
}

std::unique_ptr<TTextFileWriter> TTextFileWriter::ForDescriptor(int fd) {
  std::unique_ptr<TTextFileWriter> w(new TTextFileWriter());
  w->FFd = fd;
  w->FOwnsFd = false;
  w->FBuf = std::make_unique<char[]>(kBufferSize);
  w->FBufSize = kBufferSize;
  return w;
}

TTextFileWriter::~TTextFileWriter() {
  Discard();
}

void TTextFileWriter::Discard() noexcept {
  if (FOwnsFd && FFd >= 0) ::close(FFd);
  if (FOwnsFd) FFd = -1;
  if (!FTempPath.empty()) {
    ::unlink(FTempPath.c_str());
    FTempPath.clear();
  }
}

void TTextFileWriter::Flush() {
  if (FFd < 0) throw EInOutError("File not open");
  if (FUsed > 0) {
    std::size_t n = FUsed;
    FUsed = 0;
    WriteAll(FFd, FBuf.get(), n);
  }
}

void TTextFileWriter::Write(std::string_view text) {
  if (text.size() > FBufSize - FUsed) {
    Flush();
    if (text.size() > FBufSize) {
      WriteAll(FFd, text.data(), text.size());
      return;
    }
  }
  std::memcpy(FBuf.get() + FUsed, text.data(), text.size());
  FUsed += text.size();
}

void TTextFileWriter::WriteLine(std::string_view line) {
  Write(line);
  Write("\r\n");
}

void TTextFileWriter::Commit() {
  try {
    Flush();
  } catch (...) {
    Discard();
    throw;
  }
  if (!FOwnsFd) return;
  int err = 0;
  if (::fsync(FFd) != 0 && errno != EINVAL && errno != EROFS) err = errno;
  if (::close(FFd) != 0 && err == 0 && errno != EINTR) err = errno;
  FFd = -1;
  if (err == 0 && !FTempPath.empty() && ::rename(FTempPath.c_str(), FPath.c_str()) != 0)
    err = errno;
  if (err != 0) {
    Discard();
    ThrowInOutError(err);
  }
  FTempPath.clear();
}

// ---------------------------------------------------------------- reader

TTextFileReader::TTextFileReader(const std::string& path) {
  do {
    FFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (FFd < 0 && errno == EINTR);
  if (FFd < 0) ThrowInOutError(errno);
  FBuf = std::make_unique<char[]>(kReadBufferSize);
}

TTextFileReader::~TTextFileReader() {
  if (FFd >= 0) ::close(FFd);
}

void TTextFileReader::Fill() {
  FPos = FLen = 0;
  if (FAtEnd) return;
  for (;;) {
    ssize_t r = ::read(FFd, FBuf.get(), kReadBufferSize);
    if (r < 0) {
      if (errno == EINTR) continue;
      ThrowInOutError(errno);
    }
    if (r == 0) FAtEnd = true;
    FLen = static_cast<std::size_t>(r);
    return;
  }
}

int TTextFileReader::Peek() {
  if (FPos >= FLen) {
    Fill();
    if (FLen == 0) return -1;
  }
  return static_cast<unsigned char>(FBuf[FPos]);
}

bool TTextFileReader::Eof() {
  return Peek() < 0;
}

std::string TTextFileReader::ReadLine() {
  std::string line;
  for (;;) {
    int c = Peek();
    if (c < 0) return line;
    ++FPos;
    if (c == '\n') return line;
    if (c == '\r') {
      if (Peek() == '\n') ++FPos;
      return line;
    }
    line.push_back(static_cast<char>(c));
  }
}

void TTextFileReader::SkipLine() {
  for (;;) {
    int c = Peek();
    if (c < 0) return;
    ++FPos;
    if (c == '\n') return;
    if (c == '\r') {
      if (Peek() == '\n') ++FPos;
      return;
    }
  }
}

std::string TTextFileReader::ReadToken(std::size_t maxLen) {
  int c;
  while ((c = Peek()) >= 0 && c <= 32) ++FPos;
  std::string token;
  while (token.size() < maxLen && (c = Peek()) > 32) {
    token.push_back(static_cast<char>(c));
    ++FPos;
  }
  return token;
}

std::int32_t TTextFileReader::ReadInt() {
  std::string token = ReadToken(kMaxIntToken);
  if (token.empty()) return 0;  // end of file
  std::int32_t v;
  if (!TextToInt(token, v)) throw EInOutError("Invalid numeric input");
  return v;
}

double TTextFileReader::ReadReal() {
  std::string token = ReadToken(kMaxRealToken);
  if (token.empty()) return 0.0;  // end of file
  double v;
  if (!TextToReal(token, v)) throw EInOutError("Invalid numeric input");
  return v;
}
