#include "platform/textio/textfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "tests/support/testfiles.h"

namespace fs = std::filesystem;

namespace {

class TextFileTest : public TScratchDir {
 protected:
  static std::string MessageOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const EInOutError& e) {
      return e.what();
    }
    return "(no error)";
  }
};

// ------------------------------------------------------------ reader

TEST_F(TextFileTest, ReadsLinesTokensAndSkipsRestOfLine) {
  auto p = Put("a.rnd",
               "first line; anything\r\n"
               "200\t; resolution\r\n"
               "\r\n\r\n"
               "   \t -3.00000000000000E+0002\t; lower\r\n"
               "\x01\x02 0.25 trailing words 99\n"
               "$10\r"
               "7");
  TTextFileReader r(p);
  EXPECT_EQ(r.ReadLine(), "first line; anything");
  EXPECT_EQ(r.ReadInt(), 200);
  r.SkipLine();
  EXPECT_EQ(r.ReadReal(), -300.0);  // blank lines and blanks before the token skipped
  r.SkipLine();
  EXPECT_EQ(r.ReadReal(), 0.25);  // control characters count as blanks
  r.SkipLine();                   // "trailing words 99" is never read
  EXPECT_EQ(r.ReadInt(), 16);     // lone CR ends the line
  r.SkipLine();
  EXPECT_FALSE(r.Eof());
  EXPECT_EQ(r.ReadReal(), 7.0);  // a token may end at the end of the file
  EXPECT_TRUE(r.Eof());
}

TEST_F(TextFileTest, EndOfFileReadsZeroWithoutError) {
  auto p = Put("e.txt", "3\r\n  \r\n");
  TTextFileReader r(p);
  EXPECT_EQ(r.ReadInt(), 3);
  r.SkipLine();
  EXPECT_EQ(r.ReadReal(), 0.0);
  EXPECT_TRUE(r.Eof());
  EXPECT_EQ(r.ReadInt(), 0);
  EXPECT_EQ(r.ReadReal(), 0.0);
  EXPECT_EQ(r.ReadLine(), "");
  r.SkipLine();
  EXPECT_TRUE(r.Eof());

  TTextFileReader empty(Put("empty.txt", ""));
  EXPECT_TRUE(empty.Eof());
  EXPECT_EQ(empty.ReadLine(), "");
  EXPECT_EQ(empty.ReadInt(), 0);
}

TEST_F(TextFileTest, MalformedTokensRaiseInvalidNumericInput) {
  for (const char* text : {"5.\r\n", "1,5\r\n", "abc\r\n", "1.5e\r\n"}) {
    auto p = Put("bad.txt", text);
    TTextFileReader r(p);
    EXPECT_EQ(MessageOf([&] { r.ReadReal(); }), "Invalid numeric input") << text;
  }
  TTextFileReader r(Put("badint.txt", "12.0\r\n"));
  EXPECT_EQ(MessageOf([&] { r.ReadInt(); }), "Invalid numeric input");
}

TEST_F(TextFileTest, LongTokensAreCutAndTheRestLeftOnTheLine) {
  // 64 characters of a valid real followed by junk: only the first 64 are read.
  std::string real = "0." + std::string(62, '1');
  ASSERT_EQ(real.size(), 64u);
  std::string intTok = std::string(31, '0') + "7";
  auto p = Put("long.txt", real + "xyz more\r\n" + intTok + "junk\r\n" + "0." +
                               std::string(61, '2') + "5x\r\n");
  TTextFileReader r(p);
  EXPECT_NEAR(r.ReadReal(), 0.1111111111111111, 1e-15);
  r.SkipLine();
  EXPECT_EQ(r.ReadInt(), 7);
  r.SkipLine();
  // Here the 64-character cut ends inside the digits, so the token is valid.
  EXPECT_NEAR(r.ReadReal(), 0.2222222222222222, 1e-15);
  r.SkipLine();
  EXPECT_TRUE(r.Eof());
}

// A real token cut at 64 characters whose magnitude the kept part cannot tell is
// refused; one cut in its fraction reads as the kept part.
TEST_F(TextFileTest, CutRealTokensOfUnknownMagnitudeAreRefused) {
  const std::string ones = "0." + std::string(62, '1');
  const std::string mantissa = "1." + std::string(59, '0');  // 61 characters
  struct {
    std::string Token;
    double Value;  // NAN: refused
  } cases[] = {
      {std::string(65, '1'), NAN},
      {std::string(64, '1') + "e2", NAN},
      {ones + "e400", NAN},
      {ones + "999e-5", NAN},
      {mantissa + "e123", NAN},  // cut inside the exponent
      {mantissa + "E+12" + "3", NAN},
      {"1" + std::string(63, '0') + ".5", 1e63},
      {ones + "999", 0.1111111111111111},
      {ones + "x1e5", 0.1111111111111111},
      {mantissa + "e+5" + "x", 1e5},
  };
  for (const auto& c : cases) {
    TTextFileReader r(Put("cut.txt", c.Token + " 2\r\n3"));
    if (std::isnan(c.Value)) {
      EXPECT_EQ(MessageOf([&] { r.ReadReal(); }), "Invalid numeric input") << c.Token;
      continue;
    }
    EXPECT_NEAR(r.ReadReal(), c.Value, 1e-15 * c.Value) << c.Token;
    r.SkipLine();
    EXPECT_EQ(r.ReadReal(), 3.0);
  }
}

TEST_F(TextFileTest, OpenFailuresMapToRunTimeMessages) {
  EXPECT_EQ(MessageOf([&] { TTextFileReader r(PathOf("missing.rnd")); }), "File not found");
  EXPECT_EQ(MessageOf([&] { TTextFileReader r(PathOf("nodir/x.rnd")); }), "File not found");
  Put("plain", "x");
  EXPECT_EQ(MessageOf([&] { TTextFileReader r(PathOf("plain/x.rnd")); }), "File not found");
  // A directory opens but cannot be read.
  EXPECT_EQ(MessageOf([&] {
              TTextFileReader r(FDir.string());
              r.ReadLine();
            }),
            "File access denied");
  EXPECT_EQ(MessageOf([&] { TTextFileWriter w(PathOf("nodir/x.asc")); }), "File not found");
  if (::geteuid() != 0) {
    auto p = Put("locked.rnd", "1");
    ::chmod(p.c_str(), 0);
    EXPECT_EQ(MessageOf([&] { TTextFileReader r(p); }), "File access denied");
  }
}

TEST(InOutErrorTest, MessagesForErrorNumbers) {
  EXPECT_EQ(InOutErrorMessage(ENOENT), "File not found");
  EXPECT_EQ(InOutErrorMessage(EACCES), "File access denied");
  EXPECT_EQ(InOutErrorMessage(EROFS), "File access denied");
  EXPECT_EQ(InOutErrorMessage(ENOSPC), "Disk full");
  EXPECT_EQ(InOutErrorMessage(EDQUOT), "Disk full");
  EXPECT_EQ(InOutErrorMessage(ENAMETOOLONG), "File name too long");
  EXPECT_EQ(InOutErrorMessage(EFBIG), "File too large");
  EXPECT_EQ(InOutErrorMessage(EPIPE), "Broken pipe");
  EXPECT_EQ(InOutErrorMessage(EBADF), "Output closed");
  EXPECT_EQ(InOutErrorMessage(ELOOP), "Too many levels of symbolic links");
  EXPECT_EQ(InOutErrorMessage(EIO), "Input/output error");
}

// ------------------------------------------------------------ writer

// The temporary has no name until the commit where the file system allows it;
// otherwise it lies beside the target.
TEST_F(TextFileTest, WriterReplacesTargetOnlyOnCommit) {
  for (bool unnamed : {true, false}) {
    TTextFileWriter::SetUnnamedTemporaries(unnamed);
    auto target = Put("out.asc", "old contents");
    {
      TTextFileWriter w(target);
      if (!unnamed) {
        EXPECT_EQ(fs::path(w.TempPath()).parent_path(), FDir);
      }
      w.WriteLine("first");
      w.Write("x");
      w.WriteLine("");
      EXPECT_EQ(Get(target), "old contents");
      EXPECT_EQ(FileCount(), unnamed ? 1u : 2u);
      w.Commit();
    }
    EXPECT_EQ(Get(target), "first\r\nx\r\n");
    EXPECT_EQ(FileCount(), 1u);
  }
  TTextFileWriter::SetUnnamedTemporaries(true);
}

TEST_F(TextFileTest, WriterWithoutCommitLeavesOldFileAndNoTemporary) {
  auto target = Put("out.asc", "old contents");
  {
    TTextFileWriter w(target);
    for (int i = 0; i < 100000; ++i) w.WriteLine("0123456789");  // forces flushes
  }
  EXPECT_EQ(Get(target), "old contents");
  EXPECT_EQ(FileCount(), 1u);
  {
    TTextFileWriter w(PathOf("new.asc"));
    w.WriteLine("a");
  }
  EXPECT_FALSE(fs::exists(PathOf("new.asc")));
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TextFileTest, WriterHandlesLargeWritesAndReservedRoom) {
  auto target = PathOf("big.txt");
  std::string big(TTextFileWriter::kBufferSize * 2 + 17, 'q');
  {
    TTextFileWriter w(target);
    w.Write("ab");
    w.Write(big);
    for (int i = 0; i < 30000; ++i) {
      char* p = w.Reserve(16);
      std::memcpy(p, "0123456789\r\n", 12);
      w.Advance(12);
    }
    w.Commit();
  }
  std::string got = Get(target);
  ASSERT_EQ(got.size(), 2 + big.size() + 30000u * 12);
  EXPECT_EQ(got.substr(0, 2), "ab");
  EXPECT_EQ(got.substr(2, big.size()), big);
  EXPECT_EQ(got.substr(got.size() - 12), "0123456789\r\n");
}

TEST_F(TextFileTest, CommitOverADirectoryFailsAndRemovesTemporary) {
  fs::create_directories(FDir / "sub" / "inner");
  std::string msg = MessageOf([&] {
    TTextFileWriter w(PathOf("sub"));
    w.WriteLine("x");
    w.Commit();
  });
  EXPECT_NE(msg, "(no error)");
  EXPECT_TRUE(fs::is_directory(FDir / "sub"));
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TextFileTest, DirectoryTargetIsRefusedBeforeAnythingIsWritten) {
  fs::create_directories(FDir / "sub");
  EXPECT_EQ(MessageOf([&] { TTextFileWriter w(PathOf("sub")); }), "File access denied");
  EXPECT_TRUE(fs::is_directory(FDir / "sub"));
  EXPECT_EQ(FileCount(), 1u);
}

// A read-only file is not replaced: creating it fails as rewriting it in place would.
// As root every file is writable, so the attempt runs as an unprivileged user.
TEST_F(TextFileTest, ReadOnlyTargetIsRefusedAndKept) {
  auto target = Put("ro.asc", "old contents");
  ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
  auto attempt = [&] {
    return MessageOf([&] {
      TTextFileWriter w(target);
      w.WriteLine("new");
      w.Commit();
    });
  };
  if (::geteuid() != 0) {
    EXPECT_EQ(attempt(), "File access denied");
  } else {
    ASSERT_EQ(::chmod(FDir.c_str(), 0777), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
      ::_exit(attempt() == "File access denied" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot switch to an unprivileged user";
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  EXPECT_EQ(Get(target), "old contents");
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TextFileTest, ReplacedFileKeepsItsModeAndLinksAreWrittenThrough) {
  auto target = Put("data.rnd", "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  mode_t oldMask = ::umask(022);
  {
    TTextFileWriter w(target);
    w.WriteLine("new");
    w.Commit();
  }
  ::umask(oldMask);
  EXPECT_EQ(Get(target), "new\r\n");
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  fs::create_directories(FDir / "real");
  auto real = Put("real/file.asc", "old");
  fs::create_symlink(real, FDir / "link.asc");
  {
    TTextFileWriter w(PathOf("link.asc"));
    w.WriteLine("through");
    w.Commit();
  }
  EXPECT_TRUE(fs::is_symlink(FDir / "link.asc"));
  EXPECT_EQ(Get(real), "through\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(FDir / "real"), {}), 1);
}

// Devices and pipes are written to, never replaced by a regular file.
TEST_F(TextFileTest, PipeTargetIsWrittenToNotReplaced) {
  const std::string fifo = PathOf("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  int rd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(rd, 0);
  {
    TTextFileWriter w(fifo);
    w.WriteLine("through");
    w.Commit();
  }
  char buf[32] = {};
  EXPECT_EQ(::read(rd, buf, sizeof buf), 9);
  EXPECT_EQ(std::string(buf), "through\r\n");
  ::close(rd);
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TextFileTest, TargetNameAtTheLengthLimit) {
  auto target = PathOf(std::string(NAME_MAX - 4, 'n') + ".asc");
  {
    TTextFileWriter w(target);
    w.WriteLine("x");
    w.Commit();
  }
  EXPECT_EQ(Get(target), "x\r\n");
  EXPECT_EQ(FileCount(), 1u);
}

TEST(TextFileWriterTest, DescriptorWriterWritesThroughOnCommit) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  {
    auto w = TTextFileWriter::ForDescriptor(fds[1]);
    w->WriteLine("hello");
    w->Commit();
  }
  char buf[16] = {};
  EXPECT_EQ(::read(fds[0], buf, sizeof buf), 7);
  EXPECT_EQ(std::string(buf), "hello\r\n");
  // The writer never closes a descriptor it was given.
  EXPECT_EQ(::write(fds[1], "x", 1), 1);
  ::close(fds[0]);
  ::close(fds[1]);
}

// A dangling link keeps the link and creates its target; a loop is refused.
TEST_F(TextFileTest, DanglingLinksAreFollowedAndLoopsRefused) {
  fs::create_symlink("target.asc", FDir / "link.asc");
  fs::create_symlink("loop2", FDir / "loop1");
  fs::create_symlink("loop1", FDir / "loop2");
  TTextFileWriter w(PathOf("link.asc"));
  w.WriteLine("x");
  w.Commit();
  EXPECT_TRUE(fs::is_symlink(FDir / "link.asc"));
  EXPECT_EQ(Get(PathOf("target.asc")), "x\r\n");
  EXPECT_EQ(MessageOf([&] { TTextFileWriter x(PathOf("loop1")); }),
            "Too many levels of symbolic links");
  EXPECT_EQ(FileCount(), 4u);
}

// A named temporary is removed when the program is stopped by a signal, which ends it
// with status 128 + the signal.
TEST_F(TextFileTest, SignalsRemoveNamedTemporaries) {
  Put("old.asc", "old");
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      TTextFileWriter::SetUnnamedTemporaries(false);
      InstallSignalCleanup();
      TTextFileWriter a(PathOf("old.asc")), b(PathOf("new.asc"));
      a.Write(std::string(TTextFileWriter::kBufferSize * 3, 'a'));
      ::raise(sig);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << sig;
    EXPECT_EQ(WEXITSTATUS(status), 128 + sig);
    EXPECT_EQ(FileCount(), 1u) << sig;
  }
  EXPECT_EQ(Get(PathOf("old.asc")), "old");
}

// In a folder that refuses new files, a file that may be written is rewritten in place;
// a new file is refused. Runs as an unprivileged user.
TEST_F(TextFileTest, WritableFileInAFolderThatRefusesNewFilesIsWrittenInPlace) {
  fs::create_directories(FDir / "ro");
  auto file = Put("ro/f.asc", "old contents");
  ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
  ASSERT_EQ(::chmod((FDir / "ro").c_str(), 0555), 0);
  ASSERT_EQ(::chmod(FDir.c_str(), 0755), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    TTextFileWriter w(file);
    w.WriteLine("new");
    w.Commit();
    const std::string refused = MessageOf([&] { TTextFileWriter x(PathOf("ro/new.asc")); });
    ::_exit(w.InPlace() && refused == "File access denied" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod((FDir / "ro").c_str(), 0755);
  if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot switch to an unprivileged user";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Get(file), "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(FDir / "ro"), {}), 1);
}

}  // namespace
