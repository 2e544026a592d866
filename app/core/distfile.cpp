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
  // A real file of 4000 points is about 100 KB; one that has not delivered its points
  // within 16 MiB is refused, so a device or an endless line cannot hold the reader.
  TTextFileReader in(path, kMaxDistributionBytes);
  in.SkipLine();  // free text
  const std::int32_t n = in.ReadInt();
  loaded.SetResolution(n);  // clamps to 10..4000 and resets every point to 1.0
  in.SkipLine();
  loaded.LowerLimit = in.ReadReal();
  in.SkipLine();
  loaded.UpperLimit = in.ReadReal();
  // The count as read drives the loop (values past the resolution are read and
  // dropped). Missing values read as 0; once the end of the file is reached and every
  // point up to min(count, Resolution) has been set, nothing more can change, so an
  // absurd count in a damaged file ends here instead of looping on. Nothing after the
  // last value is read.
  for (std::int32_t i = 1; i <= n; ++i) {
    in.SkipLine();
    if (i > loaded.Resolution() && in.Eof()) break;
    loaded.SetRefPoint(i, in.ReadReal());
  }
  loaded.Normalize();  // throws EDistributionError when nothing is positive
  gen = loaded;
}
