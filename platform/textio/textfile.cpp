#include "platform/textio/textfile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "components/common/numparse.h"

namespace {

constexpr std::size_t kReadBufferSize = 64 * 1024;
constexpr std::size_t kMaxIntToken = 32;
constexpr std::size_t kMaxRealToken = 64;
constexpr int kMaxLinks = 40;  // as the kernel follows them

std::atomic<bool> UnnamedTemporaries{true};
std::atomic<unsigned> TempSerial{0};

// The named temporaries of the live writers, for the signal handler: it may only read
// lock-free words, so each entry is the C string of a writer's temporary, or null.
std::array<std::atomic<const char*>, 64> LiveTemporaries{};

int Remember(const char* path) {
  for (std::size_t i = 0; i < LiveTemporaries.size(); ++i) {
    const char* none = nullptr;
    if (LiveTemporaries[i].compare_exchange_strong(none, path)) return static_cast<int>(i);
  }
  return -1;  // more live temporaries than entries: this one is only removed by its writer
}

void Forget(int slot) {
  if (slot >= 0) LiveTemporaries[static_cast<std::size_t>(slot)].store(nullptr);
}

extern "C" void RemoveTemporariesAndExit(int sig) {
  for (auto& entry : LiveTemporaries)
    if (const char* path = entry.load()) ::unlink(path);
  ::_exit(128 + sig);
}

// Writes all of [data, data + n) to fd, retrying after interruptions and short writes.
// Returns 0 or the error number.
int WriteAll(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (w == 0) return ENOSPC;
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return 0;
}

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// "dir/" of "dir/name", "" for a bare name.
std::string FolderPrefix(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a name that does not exist would create: a dangling symbolic link is
// followed to its target. Returns 0 or the error number (ELOOP for too many links).
int FollowDanglingLinks(std::string& path) {
  for (int hops = 0;; ++hops) {
    struct stat lst {};
    if (::lstat(path.c_str(), &lst) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(lst.st_mode)) return 0;
    if (hops == kMaxLinks) return ELOOP;
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) == sizeof buf) return ENAMETOOLONG;
    const std::string target(buf, static_cast<std::size_t>(n));
    path = target[0] == '/' ? target : FolderPrefix(path) + target;
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
    case ENAMETOOLONG:
      return "File name too long";
    case EFBIG:
      return "File too large";
    case EPIPE:
      return "Broken pipe";
    case EBADF:
      return "Output closed";
    case ELOOP:
      return "Too many levels of symbolic links";
    default:
      return std::strerror(err);
  }
}

void ThrowInOutError(int err, const std::string& fileName) {
  throw EInOutError(InOutErrorMessage(err), fileName);
}

void InstallSignalCleanup() {
  struct sigaction sa {};
  sa.sa_handler = RemoveTemporariesAndExit;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&sa.sa_mask, sig);
  // A signal the caller ignores (nohup, a background job) stays ignored.
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler != SIG_IGN)
      ::sigaction(sig, &sa, nullptr);
  }
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
}

namespace {

struct TFileKey {
  bool Exists = false;
  dev_t Dev = 0;
  ino_t Ino = 0;
  std::filesystem::path Path;
};

TFileKey KeyOf(const std::string& name) {
  TFileKey key;
  struct stat st {};
  if (::stat(name.c_str(), &st) == 0) {
    key.Exists = true;
    key.Dev = st.st_dev;
    key.Ino = st.st_ino;
    return key;
  }
  std::string path = name;
  FollowDanglingLinks(path);
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  if (ec) full = path;
  key.Path = std::filesystem::weakly_canonical(full, ec);
  if (ec) key.Path = full.lexically_normal();
  return key;
}

}  // namespace

bool SameOutputFile(const std::string& a, const std::string& b) {
  const TFileKey ka = KeyOf(a), kb = KeyOf(b);
  if (ka.Exists != kb.Exists) return false;
  return ka.Exists ? ka.Dev == kb.Dev && ka.Ino == kb.Ino : ka.Path == kb.Path;
}

bool SameOutputFile(int fd, const std::string& path) {
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) return false;
  const TFileKey key = KeyOf(path);
  return key.Exists && key.Dev == st.st_dev && key.Ino == st.st_ino;
}

// ---------------------------------------------------------------- writer

void TTextFileWriter::SetUnnamedTemporaries(bool on) {
  UnnamedTemporaries = on;
}

void TTextFileWriter::Fail(int err) const {
  ThrowInOutError(err, FName);
}

TTextFileWriter::TTextFileWriter(const std::string& path) : FName(path), FPath(path) {
  FBuf = std::make_unique<char[]>(kBufferSize);
  FBufSize = kBufferSize;
  // Replacing an existing file must be refused where rewriting it in place would be: a
  // directory, or a file we may not write. The new file keeps the old one's mode.
  struct stat st {};
  const bool existing = ::stat(FPath.c_str(), &st) == 0;
  if (existing) {
    if (S_ISDIR(st.st_mode)) Fail(EISDIR);
    if (::faccessat(AT_FDCWD, FPath.c_str(), W_OK, AT_EACCESS) != 0) Fail(errno);
    if (!S_ISREG(st.st_mode)) {
      // A device or a pipe is written to itself: renaming over it would replace it.
      FFd = OpenRetrying(FPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
      if (FFd < 0) Fail(errno);
      FKind = TKind::wkDirect;
      return;
    }
    // A symbolic link is written through: the temporary goes beside the file it names.
    struct stat lst {};
    if (::lstat(FPath.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
      if (char* real = ::realpath(FPath.c_str(), nullptr)) {
        FPath = real;
        std::free(real);
      }
    }
  } else if (errno != ENOENT) {
    Fail(errno);
  } else if (int err = FollowDanglingLinks(FPath)) {
    Fail(err);
  }

  const std::string folder = FolderPrefix(FPath);
  if (UnnamedTemporaries) {
    FFd =
        OpenRetrying(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    // The name is given at the commit through /proc; without it, use a named one.
    if (FFd >= 0 && ::access(("/proc/self/fd/" + std::to_string(FFd)).c_str(), F_OK) != 0) {
      ::close(FFd);
      FFd = -1;
    }
  }
  if (FFd >= 0) {
    FKind = TKind::wkUnnamed;
  } else {
    FKind = TKind::wkNamed;
    if (const int err = NameTemporary(true)) {
      // A folder that refuses new files, with a file in it that we may write: rewrite
      // that file in place, as an editor would. It cannot be kept whole on failure, so
      // this is only done where replacing is impossible.
      if ((err == EACCES || err == EPERM) && existing) {
        FFd = OpenRetrying(FPath.c_str(), O_WRONLY | O_CLOEXEC);
        if (FFd >= 0) {
          FKind = TKind::wkInPlace;
          return;
        }
      }
      Fail(err);
    }
  }
  if (existing) (void)::fchmod(FFd, st.st_mode & 0777);
}

// Gives the temporary its name beside the target: a new file (create) or a link to
// the unnamed one. Returns 0 or the error number.
int TTextFileWriter::NameTemporary(bool create) {
  const std::size_t baseStart = FolderPrefix(FPath).size();
  for (int attempt = 0;; ++attempt) {
    const std::string suffix =
        ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(TempSerial.fetch_add(1));
    // The temporary's name must stay within the file system's limit also for a target
    // whose own name is close to it.
    std::string base = FPath.substr(baseStart);
    if (base.size() + suffix.size() > NAME_MAX) base.resize(NAME_MAX - suffix.size());
    FTempPath = FPath.substr(0, baseStart) + base + suffix;
    // Listed before it exists, so that a signal cannot come between.
    FSlot = Remember(FTempPath.c_str());
    bool made;
    if (create) {
      const int fd = OpenRetrying(FTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      made = fd >= 0;
      if (made) FFd = fd;
    } else {
      const std::string self = "/proc/self/fd/" + std::to_string(FFd);
      made = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, FTempPath.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
    const int err = errno;
    if (made) return 0;
    ForgetTemporary();
    if (err == EEXIST && attempt < 100) continue;
    return err;
  }
}

std::unique_ptr<TTextFileWriter> TTextFileWriter::ForDescriptor(int fd, const std::string& name) {
  std::unique_ptr<TTextFileWriter> w(new TTextFileWriter());
  w->FName = name;
  w->FFd = fd;
  w->FKind = TKind::wkDescriptor;
  w->FBuf = std::make_unique<char[]>(kBufferSize);
  w->FBufSize = kBufferSize;
  return w;
}

TTextFileWriter::~TTextFileWriter() {
  Discard();
}

void TTextFileWriter::ForgetTemporary() noexcept {
  Forget(FSlot);
  FSlot = -1;
  FTempPath.clear();
}

void TTextFileWriter::Discard() noexcept {
  if (FKind != TKind::wkDescriptor && FFd >= 0) {
    ::close(FFd);
    FFd = -1;
  }
  if (!FTempPath.empty()) {
    ::unlink(FTempPath.c_str());
    ForgetTemporary();
  }
}

void TTextFileWriter::Flush() {
  if (FFd < 0) Fail(EBADF);
  if (FKind == TKind::wkInPlace && !FTruncated) {
    if (::ftruncate(FFd, 0) != 0) Fail(errno);
    FTruncated = true;
  }
  if (FUsed > 0) {
    const std::size_t n = FUsed;
    FUsed = 0;
    if (int err = WriteAll(FFd, FBuf.get(), n)) Fail(err);
  }
}

void TTextFileWriter::Write(std::string_view text) {
  if (text.size() > FBufSize - FUsed) {
    Flush();
    if (text.size() > FBufSize) {
      if (int err = WriteAll(FFd, text.data(), text.size())) Fail(err);
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

void TTextFileWriter::Finish() {
  Flush();
  if (FKind == TKind::wkDescriptor) return;
  int err = 0;
  if (FKind != TKind::wkDirect && ::fsync(FFd) != 0 && errno != EINVAL && errno != EROFS)
    err = errno;
  if (err == 0 && FKind != TKind::wkUnnamed) {  // the unnamed one stays open to be linked
    if (::close(FFd) != 0 && errno != EINTR) err = errno;
    FFd = -1;
  }
  if (err != 0) Fail(err);
}

void TTextFileWriter::Stage() {
  if (FKind != TKind::wkUnnamed) return;
  if (const int err = NameTemporary(false)) Fail(err);
  ::close(FFd);
  FFd = -1;
}

void TTextFileWriter::Publish() {
  if (FTempPath.empty()) return;
  if (::rename(FTempPath.c_str(), FPath.c_str()) != 0) Fail(errno);
  ForgetTemporary();
}

void TTextFileWriter::Commit() {
  TTextFileWriter* self = this;
  CommitAll(std::span<TTextFileWriter* const>(&self, 1));
}

void TTextFileWriter::CommitAll(std::span<TTextFileWriter* const> writers) {
  try {
    // A file rewritten in place cannot be kept whole: it is finished last, once the
    // others were written out.
    for (TTextFileWriter* w : writers)
      if (!w->InPlace()) w->Finish();
    for (TTextFileWriter* w : writers)
      if (w->InPlace()) w->Finish();
    for (TTextFileWriter* w : writers) w->Stage();
    for (TTextFileWriter* w : writers) w->Publish();
  } catch (...) {
    for (TTextFileWriter* w : writers) w->Discard();
    throw;
  }
}

// ---------------------------------------------------------------- reader

TTextFileReader::TTextFileReader(const std::string& path, std::uint64_t maxBytes)
    : FName(path), FMaxBytes(maxBytes) {
  FFd = OpenRetrying(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (FFd < 0) Fail(errno);
  FBuf = std::make_unique<char[]>(kReadBufferSize);
}

TTextFileReader::~TTextFileReader() {
  if (FFd >= 0) ::close(FFd);
}

void TTextFileReader::Fail(int err) const {
  ThrowInOutError(err, FName);
}

void TTextFileReader::Invalid() const {
  throw EInOutError("Invalid numeric input", FName);
}

void TTextFileReader::Fill() {
  FPos = FLen = 0;
  if (FAtEnd) return;
  // Up to the limit; there, one byte more tells the end of the file from a file that
  // goes on.
  const std::uint64_t room = FMaxBytes - FRead;
  const std::size_t want =
      room == 0 ? 1 : static_cast<std::size_t>(std::min<std::uint64_t>(room, kReadBufferSize));
  for (;;) {
    ssize_t r = ::read(FFd, FBuf.get(), want);
    if (r < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (r == 0) {
      FAtEnd = true;
      return;
    }
    if (room == 0) Invalid();
    FLen = static_cast<std::size_t>(r);
    FRead += FLen;
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
    if (FPos >= FLen) {
      Fill();
      if (FLen == 0) return;
    }
    const char* start = FBuf.get() + FPos;
    const char* end = FBuf.get() + FLen;
    const char* eol = start;
    while (eol < end && *eol != '\n' && *eol != '\r') ++eol;
    FPos += static_cast<std::size_t>(eol - start);
    if (eol == end) continue;
    ++FPos;
    if (*eol == '\r' && Peek() == '\n') ++FPos;
    return;
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

// A real token was cut at its maximum length and goes on: whether the rest could change
// its magnitude. It can when the cut lies among the digits before the point or in the
// exponent, or when an exponent follows the cut. Digits of the fraction after the cut
// are passed over; what follows them stays for SkipLine.
bool TTextFileReader::CutHidesMagnitude(const std::string& token) {
  auto isDigit = [](int c) { return c >= '0' && c <= '9'; };
  auto isExp = [](int c) { return c == 'e' || c == 'E'; };
  int c = Peek();
  if (c <= 32) return false;  // not cut: the token ended there
  if (token.find_first_of("eE") != std::string::npos) return isDigit(c);
  if (token.find('.') == std::string::npos) {
    if (isDigit(c) || isExp(c)) return true;
    if (c != '.') return false;
    ++FPos;
  }
  while (isDigit(c = Peek())) ++FPos;
  return isExp(c);
}

std::int32_t TTextFileReader::ReadInt() {
  std::string token = ReadToken(kMaxIntToken);
  if (token.empty()) return 0;  // end of file
  std::int32_t v;
  if (!TextToInt(token, v)) Invalid();
  return v;
}

double TTextFileReader::ReadReal() {
  std::string token = ReadToken(kMaxRealToken);
  if (token.empty()) return 0.0;  // end of file
  double v;
  if (!TextToReal(token, v)) Invalid();
  if (token.size() == kMaxRealToken && CutHidesMagnitude(token)) Invalid();
  return v;
}
