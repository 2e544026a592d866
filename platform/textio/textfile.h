#pragma once
// Run-time text files: line-oriented output and token input with the run time's
// input/output errors. Lines end in CR LF; numbers use "." whatever the locale.
//
// Writing keeps an existing file until the new one is complete: TTextFileWriter writes
// to a temporary in the target's folder and renames it over the target only then; a
// writer destroyed without a successful commit removes its temporary. Where the file
// system allows it, the temporary has no name until the commit (Linux O_TMPFILE), so
// even a killed process leaves nothing behind; elsewhere it is "<name>.tmp<pid>-<n>",
// which InstallSignalCleanup() also removes on SIGINT, SIGTERM and SIGHUP.
// Devices and pipes are written directly. A symbolic link is followed, also a dangling
// one (its target is created), so the link stays. Replacing breaks hard links: the
// file's other names keep the old contents. Only a file that may be written in a
// folder that refuses new files is rewritten in place; it cannot be kept whole then.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The run time's input/output error. what() is the user message: "File not found",
// "File access denied", "Disk full", "Invalid numeric input", or for other failures a
// short text of the same kind ("File too large", "Broken pipe", "Output closed").
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(const std::string& msg, std::string fileName = {})
      : std::runtime_error(msg), FFileName(std::move(fileName)) {}
  // The name of the file, as the caller gave it; empty when not known.
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
};

// The message for a failed system call with error number err.
std::string InOutErrorMessage(int err);
[[noreturn]] void ThrowInOutError(int err, const std::string& fileName = {});

// For programs that write files: SIGINT, SIGTERM and SIGHUP (unless ignored) remove the
// named temporaries of every live writer and end the process with status 128 + the signal;
// SIGPIPE and SIGXFSZ are ignored, so that the write fails with "Broken pipe" or
// "File too large" and the run ends through its normal error path.
void InstallSignalCleanup();

// Whether two output names reach the same file: the same device and inode when it
// exists, otherwise the same path once links are followed. fd: an open descriptor.
bool SameOutputFile(const std::string& a, const std::string& b);
bool SameOutputFile(int fd, const std::string& path);

class TTextFileWriter {
 public:
  // Creates the temporary for path; throws EInOutError when it cannot.
  explicit TTextFileWriter(const std::string& path);
  // A writer over an already open descriptor (for example standard output), named
  // name in messages. It never closes the descriptor; the commit only flushes.
  static std::unique_ptr<TTextFileWriter> ForDescriptor(
      int fd, const std::string& name = "standard output");
  ~TTextFileWriter();
  TTextFileWriter(const TTextFileWriter&) = delete;
  TTextFileWriter& operator=(const TTextFileWriter&) = delete;

  void Write(std::string_view text);
  void WriteLine(std::string_view line);  // text, then CR LF

  // Room for n bytes (n <= BufferSize) in the buffer: write into the returned pointer,
  // then call Advance with the number of bytes actually used.
  char* Reserve(std::size_t n) {
    if (FBufSize - FUsed < n) Flush();
    return FBuf.get() + FUsed;
  }
  void Advance(std::size_t n) { FUsed += n; }

  // Writes out the buffer, makes the data durable and renames the temporary over the
  // target. Throws EInOutError; the temporary is then gone and the target untouched.
  void Commit();
  // Commits several outputs together: all are written out and made durable first,
  // then renamed. A failure before the renames removes every temporary and leaves
  // every target as it was. The error names its file.
  static void CommitAll(std::span<TTextFileWriter* const> writers);

  const std::string& Name() const { return FName; }  // as given
  const std::string& Path() const { return FPath; }  // the file written, links followed
  // The temporary's name; empty while it has none (and for direct writes).
  const std::string& TempPath() const { return FTempPath; }
  // Whether the file is rewritten in place (its folder refuses the temporary).
  bool InPlace() const { return FKind == TKind::wkInPlace; }
  // Unnamed temporaries where possible (the default), or always named ones.
  static void SetUnnamedTemporaries(bool on);
  static constexpr std::size_t kBufferSize = 256 * 1024;

 private:
  enum class TKind { wkDescriptor, wkDirect, wkUnnamed, wkNamed, wkInPlace };

  TTextFileWriter() = default;
  [[noreturn]] void Fail(int err) const;
  void Flush();
  void Finish();   // data written out and durable
  void Stage();    // the temporary has a name
  void Publish();  // renamed over the target
  void Discard() noexcept;
  int NameTemporary(bool create);
  void ForgetTemporary() noexcept;

  std::string FName, FPath, FTempPath;
  TKind FKind = TKind::wkDescriptor;
  int FFd = -1;
  int FSlot = -1;           // entry of the named temporary in the signal cleanup list
  bool FTruncated = false;  // in place: the old contents are gone
  std::unique_ptr<char[]> FBuf;
  std::size_t FBufSize = 0, FUsed = 0;
};

class TTextFileReader {
 public:
  // Opens path for reading; throws EInOutError when it cannot. A file that needs more
  // than maxBytes to deliver what is read from it is malformed ("Invalid numeric
  // input").
  explicit TTextFileReader(const std::string& path, std::uint64_t maxBytes = UINT64_MAX);
  ~TTextFileReader();
  TTextFileReader(const TTextFileReader&) = delete;
  TTextFileReader& operator=(const TTextFileReader&) = delete;

  // The rest of the current line without its end (LF, CR LF or a lone CR), which is
  // consumed. Empty at the end of the file.
  std::string ReadLine();
  // Skips characters of code 32 or below, then reads a token up to the next such
  // character (at most 32 characters for an integer, 64 for a real; the rest stays
  // for SkipLine). At the end of the file the value is 0. A malformed token throws
  // EInOutError("Invalid numeric input"); so does a real token whose cut leaves its
  // magnitude unknown (cut before its point or in its exponent, or followed by an
  // exponent). A real cut in its fraction digits reads as the kept part.
  std::int32_t ReadInt();
  double ReadReal();
  // Skips past the next line end (or to the end of the file), holding nothing.
  void SkipLine();
  bool Eof();

 private:
  [[noreturn]] void Fail(int err) const;
  [[noreturn]] void Invalid() const;
  int Peek();  // next byte or -1 at the end
  void Fill();
  std::string ReadToken(std::size_t maxLen);
  bool CutHidesMagnitude(const std::string& token);

  std::string FName;
  int FFd = -1;
  std::unique_ptr<char[]> FBuf;
  std::size_t FPos = 0, FLen = 0;
  std::uint64_t FRead = 0, FMaxBytes = 0;
  bool FAtEnd = false;
};
