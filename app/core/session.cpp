#include "app/core/session.h"

#include <cmath>

#include "engine/alearix.h"

void SetStartState(TAlearix& gen) {
  gen.SetResolution(kStartResolution);
  gen.LowerLimit = kStartLowerLimit;
  gen.UpperLimit = kStartUpperLimit;
}

void CheckCalc(const TAlearix& gen) {
  if (!gen.HasPositiveRefPoint()) throw EDistributionError();
  // The engine places a number at LowerLimit + (k + u) * width / Resolution with
  // k + u up to Resolution: that product must stay finite.
  if (!std::isfinite((gen.UpperLimit - gen.LowerLimit) * gen.Resolution())) throw ERangeError();
}

THistogram Calc(TAlearix& gen, std::int64_t count, TTextFileWriter& out,
                const TExportOptions& options) {
  CheckCalc(gen);
  return ExportRandomNumbers(gen, count, out, options);
}
