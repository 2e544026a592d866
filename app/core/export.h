#pragma once
// Export of random numbers to an ".asc" text file, with the histogram of the numbers
// drawn, built in the same pass.
//
// File layout (CR LF line ends): the title line, "1\t; # of columns",
// "<count>\t; # of rows", "false false false", then one number per line in fixed
// point with four decimals.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TAlearix;
class TTextFileWriter;

// The counts selectable with the count scroll bar (positions 1..28).
extern const std::array<int, 28> CountTable;

struct THistogram {
  // Slot 0 counts values below the range, 1..Resolution the classes, Resolution + 1
  // values at or above the upper limit. Sized by the engine's resolution so that
  // every class has its own slot, also for resolutions above 500.
  std::vector<std::int64_t> Counts;
  // The largest value the running maximum saw: the raw count of the class just hit
  // for fewer than 1000 numbers, otherwise the mean of that class and its two
  // neighbours. Lines scaled by 1 / Scale reach about 1.
  double Scale = 0.0;
  // Counts[i], or 0 outside the slots.
  std::int64_t Count(int i) const {
    return i >= 0 && static_cast<std::size_t>(i) < Counts.size() ? Counts[i] : 0;
  }
};

// Receives the numbers of an export, at full precision, block by block in the order
// drawn (for example the moments and tests of a report).
class ISampleSink {
 public:
  virtual ~ISampleSink() = default;
  virtual void Add(const double* x, std::size_t n) = 0;
};

struct TExportOptions {
  // Draw the numbers in one thread while another formats and writes them. The numbers,
  // the bytes and the histogram are the same; the engine may have drawn some numbers
  // beyond those written when writing fails.
  bool Pipelined = false;
  ISampleSink* Sink = nullptr;  // also gets every number drawn, when set
};

// Draws count numbers from gen and writes them to path, replacing the file only when
// everything was written. Throws EDistributionError (before the file is touched) when
// the density has no positive reference point, EInOutError when writing fails; the
// old file is then left as it was.
THistogram ExportRandomNumbers(TAlearix& gen, std::int64_t count, const std::string& path,
                               const TExportOptions& options = {});
// The same, streamed to out (for example standard output); the caller commits out.
THistogram ExportRandomNumbers(TAlearix& gen, std::int64_t count, TTextFileWriter& out,
                               const TExportOptions& options = {});

// Writes x as the export does (the same text as FloatText(1, 4, x)): fixed point with
// four decimals rounded half up on the exact decimal expansion, "-" for negative values
// (also when they round to zero), the scientific form from a magnitude of 1e36 on.
// Writes at most MaxNumberText characters to out and returns the end.
constexpr std::size_t kMaxNumberText = 60;
char* FormatFixed4(double x, char* out);
std::string FixedText4(double x);
// Writes n lines, each x[i] as FormatFixed4 writes it and CR LF, and returns the end. Out
// has room for n * (kMaxNumberText + 2) characters. Faster than number by number: free of
// branches on the sign and the digits.
char* FormatLines(const double* x, std::size_t n, char* out);
