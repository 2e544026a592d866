// Fuzz entry point for the ".rnd" reader: any input must either load into a valid
// density that saves and loads back, or fail with the run time's error and leave
// the engine exactly as it was.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/core/distfile.h"
#include "engine/alearix.h"
#include "platform/textio/textfile.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "rnd fuzz: %s\n", what);
    std::abort();
  }
}

// The input and the saved copy live in a private folder made on first use and
// removed, with its files, when the process ends.
const std::string& ScratchPath(int which) {
  static const std::string kDir = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/alearix_rnd_fuzz_XXXXXX";
    Check(::mkdtemp(pattern.data()) != nullptr, "cannot make a scratch folder");
    static std::string dir = pattern;
    std::atexit([] { std::filesystem::remove_all(dir); });
    return pattern;
  }();
  static const std::string kPaths[2] = {kDir + "/input.rnd", kDir + "/saved.rnd"};
  return kPaths[which];
}

bool SameEngine(const TAlearix& a, const TAlearix& b) {
  if (a.Resolution() != b.Resolution() || a.LowerLimit != b.LowerLimit ||
      a.UpperLimit != b.UpperLimit)
    return false;
  for (int i = 1; i <= a.Resolution(); ++i)
    if (a.GetRefPoint(i) != b.GetRefPoint(i)) return false;
  return true;
}

bool Near15(double a, double b) {
  return std::fabs(a - b) <= 1e-14 * std::fabs(a) + 1e-300;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = ScratchPath(0);
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }

  TAlearix gen;
  gen.SetResolution(37);
  gen.LowerLimit = -1.25;
  gen.UpperLimit = 7.5;
  for (int i = 1; i <= 37; ++i) gen.SetRefPoint(i, (i % 5) * 0.25);
  const TAlearix before = gen;

  try {
    LoadDistribution(gen, path);
  } catch (const EInOutError& e) {
    Check(std::string(e.what()) == "Invalid numeric input", "unexpected I/O error");
    Check(SameEngine(gen, before), "failed load changed the engine");
    return 0;
  } catch (const EDistributionError&) {
    Check(SameEngine(gen, before), "failed load changed the engine");
    return 0;
  }

  Check(gen.Resolution() >= 10 && gen.Resolution() <= 4000, "resolution out of range");
  double maxPoint = 0;
  for (int i = 1; i <= gen.Resolution(); ++i) {
    const double p = gen.GetRefPoint(i);
    Check(p >= 0.0 && p <= 1.0, "reference point out of 0..1");
    maxPoint = std::fmax(maxPoint, p);
  }
  Check(maxPoint == 1.0, "table not normalised");
  Check(std::isfinite(gen.LowerLimit) && std::isfinite(gen.UpperLimit), "limit not finite");

  // What was loaded saves and loads back to 15 significant digits, the largest
  // limits included. (Through a plain descriptor: the atomic file replacement syncs to disk, which
  // would slow the fuzzer down for nothing.)
  const int fd = ::open(ScratchPath(1).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  Check(fd >= 0, "cannot create the scratch file");
  {
    auto out = TTextFileWriter::ForDescriptor(fd);
    SaveDistribution(gen, *out);
    out->Commit();
  }
  ::close(fd);
  TAlearix back;
  LoadDistribution(back, ScratchPath(1));
  Check(back.Resolution() == gen.Resolution(), "round trip changed the resolution");
  Check(Near15(gen.LowerLimit, back.LowerLimit) && Near15(gen.UpperLimit, back.UpperLimit),
        "round trip changed a limit");
  for (int i = 1; i <= gen.Resolution(); ++i)
    Check(Near15(gen.GetRefPoint(i), back.GetRefPoint(i)), "round trip changed a point");
  return 0;
}
