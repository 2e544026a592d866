#pragma once
// Run-time text files: line-oriented output and token input with the run time's
// input/output errors. Lines end in CR LF; numbers use "." whatever the locale.
//
// Writing never destroys an existing file: TTextFileWriter writes to a temporary
// file beside the target and renames it over the target only in Commit(); a writer
// destroyed without a successful Commit() removes its temporary. An existing target
// that is not a regular file (a device, a pipe) is written directly instead.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// The run time's input/output error. what() is the user message: "File not found",
// "File access denied", "Disk full", "Invalid numeric input", or for other system
// failures a short text naming the cause.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(const std::string& msg) : std::runtime_error(msg) {}
};

// The message for a failed system call with error number err.
std::string InOutErrorMessage(int err);
[[noreturn]] void ThrowInOutError(int err);

class TTextFileWriter {
 public:
  // Creates a temporary file beside path; throws EInOutError when it cannot.
  explicit TTextFileWriter(const std::string& path);
  // A writer over an already open descriptor (for example standard output). It never
  // closes the descriptor; Commit() only flushes.
  static std::unique_ptr<TTextFileWriter> ForDescriptor(int fd);
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

  // Writes out the buffer, makes the data durable, closes the temporary and renames
  // it over the target. Throws EInOutError; the temporary is then gone and the
  // target untouched.
  void Commit();

  const std::string& Path() const { return FPath; }
  const std::string& TempPath() const { return FTempPath; }
  static constexpr std::size_t kBufferSize = 256 * 1024;

 private:
  TTextFileWriter() = default;
  void Flush();
  void Discard() noexcept;

  std::string FPath, FTempPath;
  int FFd = -1;
  bool FOwnsFd = false;
  std::unique_ptr<char[]> FBuf;
  std::size_t FBufSize = 0, FUsed = 0;
};

class TTextFileReader {
 public:
  // Opens path for reading; throws EInOutError when it cannot.
  explicit TTextFileReader(const std::string& path);
  ~TTextFileReader();
  TTextFileReader(const TTextFileReader&) = delete;
  TTextFileReader& operator=(const TTextFileReader&) = delete;

  // The rest of the current line without its end (LF, CR LF or a lone CR), which is
  // consumed. Empty at the end of the file.
  std::string ReadLine();
  // Skips characters of code 32 or below, then reads a token up to the next such
  // character (at most 32 characters for an integer, 64 for a real; the rest stays
  // for SkipLine). At the end of the file the value is 0. A malformed token throws
  // EInOutError("Invalid numeric input").
  std::int32_t ReadInt();
  double ReadReal();
  // Skips past the next line end (or to the end of the file).
  void SkipLine();
  bool Eof();

 private:
  int Peek();  // next byte or -1 at the end
  void Fill();
  std::string ReadToken(std::size_t maxLen);

  int FFd = -1;
  std::unique_ptr<char[]> FBuf;
  std::size_t FPos = 0, FLen = 0;
  bool FAtEnd = false;
};
