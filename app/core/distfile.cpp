#include "app/core/distfile.h"

#include "components/common/floattext.h"
#include "engine/alearix.h"
#include "platform/textio/textfile.h"

void SaveDistribution(const TAlearix& gen, TTextFileWriter& out) {
  out.WriteLine("comment");
  out.WriteLine(std::to_string(gen.Resolution()) + "\t; resolution of random generator");
  out.WriteLine(FloatText(23, -2, gen.LowerLimit) + "\t; lower limit of random numbers");
  out.WriteLine(FloatText(23, -2, gen.UpperLimit) + "\t; upper limit of random numbers");
  out.WriteLine(FloatText(23, -2, gen.GetRefPoint(1)) + "\t; reference points ...");
  for (int i = 2; i <= gen.Resolution(); ++i) out.WriteLine(FloatText(23, -2, gen.GetRefPoint(i)));
}

void SaveDistribution(const TAlearix& gen, const std::string& path) {
  TTextFileWriter out(path);
  SaveDistribution(gen, out);
  out.Commit();
}

void LoadDistribution(TAlearix& gen, const std::string& path) {
  TAlearix loaded = gen;
  TTextFileReader in(path);
  in.ReadLine();  // free text
  const std::int32_t n = in.ReadInt();
  in.SkipLine();
  loaded.SetResolution(n);  // clamps to 10..4000 and resets every point to 1.0
  loaded.LowerLimit = in.ReadReal();
  in.SkipLine();
  loaded.UpperLimit = in.ReadReal();
  in.SkipLine();
  // The count as read drives the loop (values past the resolution are read and
  // dropped). Missing values read as 0; once the end of the file is reached and every
  // point up to min(count, Resolution) has been set, nothing more can change, so an
  // absurd count in a damaged file ends here instead of looping on.
  for (std::int32_t i = 1; i <= n; ++i) {
    if (i > loaded.Resolution() && in.Eof()) break;
    const double v = in.ReadReal();
    in.SkipLine();
    loaded.SetRefPoint(i, v);
  }
  loaded.Normalize();  // throws EDistributionError when nothing is positive
  gen = loaded;
}
