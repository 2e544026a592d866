#include "app/core/session.h"

#include <gtest/gtest.h>

#include <limits>

#include "engine/alearix.h"
#include "platform/textio/textfile.h"
#include "tests/support/testfiles.h"

namespace {

class SessionTest : public TScratchDir {};

// A range whose numbers the engine's arithmetic cannot hold is refused before anything
// is written; the widest ranges it can hold give finite numbers.
TEST_F(SessionTest, RangeTooWideIsRefusedBeforeWriting) {
  const double big = std::numeric_limits<double>::max();
  struct {
    double Lo, Hi;
    int Resolution;
    bool Refused;
  } cases[] = {
      {-1e308, 1e308, 500, true},
      {1e308, 300, 500, true},
      {-big, big, 10, true},
      {big * 0.99, big, 500, true},
      {-1e305, 1e305, 500, false},
      {big - big / 600, big, 500, false},
      {-big / 4001, 0, 4000, false},
      {-big / 4000, 1e300, 4000, true},
      {7, 7, 500, false},
  };
  for (const auto& c : cases) {
    TAlearix gen;
    gen.SetResolution(c.Resolution);
    gen.LowerLimit = c.Lo;
    gen.UpperLimit = c.Hi;
    TTextFileWriter out(PathOf("r.asc"));
    if (c.Refused) {
      EXPECT_THROW(Calc(gen, 10, out), ERangeError) << c.Lo << " " << c.Hi;
      continue;
    }
    Calc(gen, 2000, out);
    out.Commit();
    const auto lines = CrLfLines(Get(PathOf("r.asc")));
    for (std::size_t i = 4; i < lines.size(); ++i)
      ASSERT_EQ(lines[i].find_first_of("IN"), std::string::npos) << lines[i];  // no Inf, NaN
  }
  TAlearix none;
  for (int i = 1; i <= 500; ++i) none.SetRefPoint(i, 0.0);
  EXPECT_THROW(CheckCalc(none), EDistributionError);
  EXPECT_EQ(FileCount(), 1u);
}

}  // namespace
