#include "cli/gen.h"

#include <memory>

#include "app/core/distfile.h"
#include "app/core/fitreport.h"
#include "app/core/session.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "engine/uniform.h"
#include "platform/textio/textfile.h"

namespace {

void Fail(std::FILE* err, const std::string& file, const std::string& msg) {
  std::fprintf(err, "alearix-gen: %s: %s\n", file.c_str(), msg.c_str());
}

// Two outputs naming one file would overwrite each other: refused, naming both options.
void CheckDistinctOutputs(const TGenOptions& opts, int stdoutFd) {
  struct TOutput {
    const char* Option;
    const std::string& Path;
    bool DashIsStdout;  // "-" names standard output, not a file called "-"
    bool IsStdout() const { return DashIsStdout && Path == "-"; }
  };
  if (opts.ReportPath == "-" && opts.OutPath == "-")
    throw EUsageError("--report - needs -o FILE: standard output would hold the numbers");
  const TOutput outputs[] = {{"-o", opts.OutPath, true},
                             {"--save", opts.SavePath, false},
                             {"--png", opts.PngPath, false},
                             {"--report", opts.ReportPath, true}};
  for (std::size_t i = 0; i < std::size(outputs); ++i)
    for (std::size_t j = i + 1; j < std::size(outputs); ++j) {
      const TOutput &a = outputs[i], &b = outputs[j];
      if (a.Path.empty() || b.Path.empty()) continue;
      const bool same = a.IsStdout()   ? SameOutputFile(stdoutFd, b.Path)
                        : b.IsStdout() ? SameOutputFile(stdoutFd, a.Path)
                                       : a.Path == b.Path || SameOutputFile(a.Path, b.Path);
      if (same)
        throw EUsageError(std::string(a.Option) + " and " + b.Option + " name the same file '" +
                          b.Path + "'");
    }
}

}  // namespace

int RunGenerator(const TGenOptions& opts, int stdoutFd, std::FILE* err, TPngHook png) {
  TAlearix gen;
  SetStartState(gen);

  std::string current;  // the file an error belongs to, unless the error names it
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
    const bool toStdout = opts.OutPath == "-";
    current = toStdout ? std::string("standard output") : opts.OutPath;
    CheckCalc(gen);

    // Every output goes to its temporary first; all are renamed together at the end,
    // so a failure leaves every old file as it was and no temporary behind.
    std::unique_ptr<TTextFileWriter> out = toStdout
                                               ? TTextFileWriter::ForDescriptor(stdoutFd)
                                               : std::make_unique<TTextFileWriter>(opts.OutPath);
    std::unique_ptr<TTextFileWriter> save, picture, report;
    if (!opts.SavePath.empty()) save = std::make_unique<TTextFileWriter>(opts.SavePath);
    if (png && !opts.PngPath.empty()) picture = std::make_unique<TTextFileWriter>(opts.PngPath);
    std::unique_ptr<TReportSample> sample;
    if (!opts.ReportPath.empty()) {
      report = opts.ReportPath == "-" ? TTextFileWriter::ForDescriptor(stdoutFd)
                                      : std::make_unique<TTextFileWriter>(opts.ReportPath);
      sample = std::make_unique<TReportSample>(gen);
    }

    if (save) SaveDistribution(gen, *save);
    TExportOptions calc;
    calc.Pipelined = true;
    calc.Sink = sample.get();
    const THistogram hist = Calc(gen, opts.Count, *out, calc);
    if (picture) {
      current = opts.PngPath;
      picture->Write(png(gen, hist));
    }
    if (report) {
      current = report->Name();
      report->Write(FitReportJson(gen, opts.Seed.value_or(0), sample->Moments, sample->Fit));
    }
    std::vector<TTextFileWriter*> all = {out.get()};
    if (save) all.push_back(save.get());
    if (picture) all.push_back(picture.get());
    if (report) all.push_back(report.get());
    TTextFileWriter::CommitAll(all);
  } catch (const ERangeError& e) {
    std::fprintf(err, "alearix-gen: %s\n", e.what());
    return 2;
  } catch (const EInOutError& e) {
    Fail(err, e.FileName().empty() ? current : e.FileName(), e.what());
    return 1;
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
    if (!opts.Help && !opts.Version) CheckDistinctOutputs(opts, stdoutFd);
    if (!opts.PngPath.empty() && !png)
      throw EUsageError("option '--png' is not available in this build");
  } catch (const EUsageError& e) {
    std::fprintf(err, "alearix-gen: %s\n%s", e.what(), GenUsage().c_str());
    return 2;
  }
  if (opts.Help || opts.Version) {
    std::fputs((opts.Help ? GenHelp() : GenVersion()).c_str(), out);
    std::fflush(out);
    return 0;
  }
  return RunGenerator(opts, stdoutFd, err, png);
}
