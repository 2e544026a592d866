#include "cli/options.h"

#include <charconv>
#include <cmath>

#include "components/common/numparse.h"

namespace {

std::int64_t ParseWhole(const std::string& opt, const std::string& text, std::int64_t lo,
                        std::int64_t hi) {
  std::int64_t v = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || p != end || v < lo || v > hi)
    throw EUsageError("invalid value '" + text + "' for " + opt + " (a whole number " +
                      std::to_string(lo) + ".." + std::to_string(hi) + ")");
  return v;
}

double ParseReal(const std::string& opt, const std::string& text) {
  double v = 0;
  if (!TextToReal(text, v)) throw EUsageError("invalid value '" + text + "' for " + opt);
  return v;
}

// "P1,W1,P2,W2,R": positions 1..500 and widths 10..250 in classes, R the share of
// Shape B in 0..1.
TShapeParams ParseMix(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (parts.size() != 5)
    throw EUsageError("invalid value '" + text + "' for --mix (expected P1,W1,P2,W2,R)");
  TShapeParams p;
  p.Mean1 = static_cast<double>(ParseWhole("--mix position A", parts[0], 1, 500));
  p.StdDev1 = static_cast<double>(ParseWhole("--mix width A", parts[1], 10, 250));
  p.Mean2 = static_cast<double>(ParseWhole("--mix position B", parts[2], 1, 500));
  p.StdDev2 = static_cast<double>(ParseWhole("--mix width B", parts[3], 10, 250));
  double r = ParseReal("--mix ratio", parts[4]);
  if (!(r >= 0.0 && r <= 1.0))
    throw EUsageError("invalid value '" + parts[4] + "' for --mix ratio (0..1)");
  // The ratio scroll bar gives position * 0.01; use the same value for ratios it can
  // show, so that the density equals the desktop program's bit for bit.
  const double pos = std::round(r * 100.0);
  if (std::fabs(r * 100.0 - pos) < 1e-9) r = pos * 0.01;
  p.Ratio = r;
  return p;
}

}  // namespace

TGenOptions ParseGenOptions(const std::vector<std::string>& args) {
  TGenOptions o;
  // A repeated option keeps its last value; two different sources are refused.
  bool haveSource = false;
  auto setSource = [&](TGenOptions::TSource s, const std::string& opt) {
    if (haveSource && o.Source != s)
      throw EUsageError("only one of --shape, --mix and --load may be given (" + opt + ")");
    haveSource = true;
    o.Source = s;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string opt = args[i];
    std::optional<std::string> inlineValue;
    if (opt.rfind("--", 0) == 0) {
      std::size_t eq = opt.find('=');
      if (eq != std::string::npos) {
        inlineValue = opt.substr(eq + 1);
        opt.resize(eq);
      }
    }
    auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= args.size()) throw EUsageError("option '" + opt + "' needs a value");
      return args[++i];
    };
    auto path = [&]() {
      std::string v = value();
      if (v.empty()) throw EUsageError("option '" + opt + "' needs a file name");
      return v;
    };
    if (opt == "--help" || opt == "-h" || opt == "--version") {
      if (inlineValue) throw EUsageError("option '" + opt + "' takes no value");
      (opt == "--version" ? o.Version : o.Help) = true;
    } else if (opt == "--shape") {
      setSource(TGenOptions::TSource::soShape, opt);
      std::string key = value();
      if (!FindPreset(key.c_str())) throw EUsageError("unknown shape '" + key + "' for --shape");
      o.ShapeKey = key;
    } else if (opt == "--mix") {
      setSource(TGenOptions::TSource::soMix, opt);
      o.Mix = ParseMix(value());
    } else if (opt == "--load") {
      setSource(TGenOptions::TSource::soLoad, opt);
      o.LoadPath = path();
    } else if (opt == "--from") {
      o.From = ParseReal(opt, value());
    } else if (opt == "--to") {
      o.To = ParseReal(opt, value());
    } else if (opt == "--count") {
      o.Count = ParseWhole(opt, value(), 1, INT64_MAX);
    } else if (opt == "--seed") {
      o.Seed = static_cast<std::uint32_t>(ParseWhole(opt, value(), 0, 4294967295LL));
    } else if (opt == "-o" || opt == "--output") {
      o.OutPath = path();
    } else if (opt == "--save") {
      o.SavePath = path();
    } else if (opt == "--png") {
      o.PngPath = path();
    } else if (opt == "--report") {
      o.ReportPath = path();
    } else if (!opt.empty() && opt[0] == '-') {
      throw EUsageError("unknown option '" + opt + "'");
    } else {
      throw EUsageError("unexpected argument '" + opt + "'");
    }
  }
  return o;
}

std::string GenUsage() {
  return "Usage: alearix-gen [--shape NAME | --mix P1,W1,P2,W2,R | --load FILE.rnd]\n"
         "                   [--from X] [--to Y] [--count N] [--seed S]\n"
         "                   [-o FILE.asc] [--save FILE.rnd] [--png FILE.png]\n"
         "                   [--report FILE.json]\n"
         "Try 'alearix-gen --help' for more information.\n";
}

std::string GenHelp() {
  return "Usage: alearix-gen [options]\n"
         "Draws random numbers from a configurable density and writes them as an\n"
         "\".asc\" file, byte for byte as the desktop program's first \"Calc\" would.\n"
         "\n"
         "Density (at most one of):\n"
         "  --shape NAME       a preset shape: normal (default), leptokurtic, platykurtic,\n"
         "                     bimodal, left-skewed, right-skewed\n"
         "  --mix P1,W1,P2,W2,R  two bell curves, Shape A at position P1 with width W1 and\n"
         "                     Shape B at P2 with width W2 (classes: positions 1..500,\n"
         "                     widths 10..250), R the share of Shape B (0..1); an R\n"
         "                     within 1e-9 of a whole hundredth is taken as that\n"
         "                     hundredth, as the ratio scroll bar holds it\n"
         "  --load FILE.rnd    a distribution file, read as the program's \"Load\"\n"
         "\n"
         "Range and numbers:\n"
         "  --from X           lower limit (default -300, or the loaded file's)\n"
         "  --to Y             upper limit (default 300, or the loaded file's)\n"
         "  --count N          how many numbers, 1 or more (default 500)\n"
         "  --seed S           start the uniform source from S (0..4294967295) followed\n"
         "                     by the three start-up steps; --seed 0 is the default\n"
         "\n"
         "Output:\n"
         "  -o FILE.asc        the random numbers (default, and \"-\": standard output)\n"
         "  --save FILE.rnd    also write the density as the program's \"Save\"\n"
         "  --png FILE.png     also draw the chart (only in builds with the chart)\n"
         "  --report FILE.json also write a report, as JSON, on how well the numbers\n"
         "                     follow the density (\"-\": standard output, when -o names\n"
         "                     a file): the density's exact moments, the sample's\n"
         "                     moments, a chi-square test over the classes and the\n"
         "                     Kolmogorov-Smirnov distance; the distance is measured at\n"
         "                     sub-bin resolution (64 sub-bins per class), as the\n"
         "                     numbers are not kept\n"
         "  -h, --help         show this text and exit\n"
         "  --version          show the version and exit\n"
         "\n"
         "A repeated option keeps its last value. The outputs must be different files.\n"
         "Exit status: 0 on success, 1 on a file or density error, 2 on a bad option or\n"
         "a range too wide for the numbers; 128 + the signal when interrupted.\n"
         "The output files are replaced together, and only when all were written\n"
         "completely; an interrupted or failed run leaves the old files as they were.\n";
}

std::string GenVersion() {
  return "alearix-gen 1.0\n";
}
