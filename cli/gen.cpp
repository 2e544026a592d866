#include "cli/gen.h"

#include <memory>

#include "app/core/distfile.h"
#include "app/core/export.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "engine/uniform.h"
#include "platform/textio/textfile.h"

namespace {

void Fail(std::FILE* err, const std::string& file, const std::string& msg) {
  std::fprintf(err, "alearix-gen: %s: %s\n", file.c_str(), msg.c_str());
}

}  // namespace

int RunGenerator(const TGenOptions& opts, int stdoutFd, std::FILE* err, TPngHook png) {
  // The desktop program's engine at start: resolution 500, range -300..300.
  TAlearix gen;
  gen.SetResolution(500);
  gen.LowerLimit = -300.0;
  gen.UpperLimit = 300.0;

  std::string current;  // the file an error belongs to
  try {
    switch (opts.Source) {
      case TGenOptions::TSource::soShape:
        ComputeShapeTable(gen, ShapeParamsOf(*FindPreset(opts.ShapeKey.c_str())));
        break;
      case TGenOptions::TSource::soMix:
        ComputeShapeTable(gen, opts.Mix);
        break;
      case TGenOptions::TSource::soLoad:
        current = opts.LoadPath;
        LoadDistribution(gen, opts.LoadPath);
        break;
    }
    if (opts.From) gen.LowerLimit = *opts.From;
    if (opts.To) gen.UpperLimit = *opts.To;
    if (opts.Seed) {
      UniformSeed = *opts.Seed;
      UniformStartup();
    }

    // Every output goes to a temporary first; they are committed together at the
    // end, so a failure leaves none of them behind.
    std::unique_ptr<TTextFileWriter> save;
    if (!opts.SavePath.empty()) {
      current = opts.SavePath;
      save = std::make_unique<TTextFileWriter>(opts.SavePath);
      SaveDistribution(gen, *save);
    }
    const bool toStdout = opts.OutPath == "-";
    current = toStdout ? std::string("standard output") : opts.OutPath;
    std::unique_ptr<TTextFileWriter> out;
    if (!gen.HasPositiveRefPoint()) throw EDistributionError();
    out = toStdout ? TTextFileWriter::ForDescriptor(stdoutFd)
                   : std::make_unique<TTextFileWriter>(opts.OutPath);
    THistogram hist = ExportRandomNumbers(gen, opts.Count, *out);
    if (png && !opts.PngPath.empty()) {
      current = opts.PngPath;
      png(opts, gen, hist);
    }
    current = toStdout ? std::string("standard output") : opts.OutPath;
    out->Commit();
    if (save) {
      current = opts.SavePath;
      save->Commit();
    }
  } catch (const std::exception& e) {
    Fail(err, current.empty() ? std::string("error") : current, e.what());
    return 1;
  }
  return 0;
}

int GenMain(const std::vector<std::string>& args, int stdoutFd, std::FILE* out, std::FILE* err,
            TPngHook png) {
  TGenOptions opts;
  try {
    opts = ParseGenOptions(args);
    if (!opts.PngPath.empty() && !png)
      throw EUsageError("option '--png' is not available in this build");
  } catch (const EUsageError& e) {
    std::fprintf(err, "alearix-gen: %s\n%s", e.what(), GenUsage().c_str());
    return 2;
  }
  if (opts.Help) {
    std::fputs(GenHelp().c_str(), out);
    std::fflush(out);
    return 0;
  }
  return RunGenerator(opts, stdoutFd, err, png);
}
