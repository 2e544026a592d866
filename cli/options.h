#pragma once
// Command line of alearix-gen: parsed into TGenOptions by a function that has no
// side effects, so that it can be tested on its own.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/shapes.h"

// A bad option or value; what() is the one-line message.
class EUsageError : public std::runtime_error {
 public:
  explicit EUsageError(const std::string& msg) : std::runtime_error(msg) {}
};

struct TGenOptions {
  enum class TSource { soShape, soMix, soLoad };
  TSource Source = TSource::soShape;
  std::string ShapeKey = "normal";    // --shape
  TShapeParams Mix;                   // --mix
  std::string LoadPath;               // --load
  std::optional<double> From, To;     // --from, --to
  std::int64_t Count = 500;           // --count
  std::optional<std::uint32_t> Seed;  // --seed
  std::string OutPath = "-";          // -o ("-" = standard output)
  std::string SavePath;               // --save (empty = none)
  std::string PngPath;                // --png (empty = none)
  std::string ReportPath;             // --report (empty = none, "-" = standard output)
  bool Help = false;                  // --help
  bool Version = false;               // --version
};

// args without the program name. Throws EUsageError.
TGenOptions ParseGenOptions(const std::vector<std::string>& args);

// The usage synopsis (a few lines), the full --help text and the --version line.
std::string GenUsage();
std::string GenHelp();
std::string GenVersion();
