#include "cli/options.h"

#include <gtest/gtest.h>

namespace {

std::string UsageError(const std::vector<std::string>& args) {
  try {
    ParseGenOptions(args);
  } catch (const EUsageError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(GenOptionsTest, Defaults) {
  TGenOptions o = ParseGenOptions({});
  EXPECT_EQ(o.Source, TGenOptions::TSource::soShape);
  EXPECT_EQ(o.ShapeKey, "normal");
  EXPECT_FALSE(o.From);
  EXPECT_FALSE(o.To);
  EXPECT_EQ(o.Count, 500);
  EXPECT_FALSE(o.Seed);
  EXPECT_EQ(o.OutPath, "-");
  EXPECT_EQ(o.SavePath, "");
  EXPECT_EQ(o.PngPath, "");
  EXPECT_FALSE(o.Help);
}

TEST(GenOptionsTest, EveryOptionIsStored) {
  TGenOptions o = ParseGenOptions({"--shape", "left-skewed", "--from", "-1.5e1", "--to=20",
                                   "--count", "100000000", "--seed", "4294967295", "-o", "x.asc",
                                   "--save", "y.rnd", "--png", "z.png"});
  EXPECT_EQ(o.ShapeKey, "left-skewed");
  EXPECT_EQ(*o.From, -15.0);
  EXPECT_EQ(*o.To, 20.0);
  EXPECT_EQ(o.Count, 100000000);
  EXPECT_EQ(*o.Seed, 4294967295u);
  EXPECT_EQ(o.OutPath, "x.asc");
  EXPECT_EQ(o.SavePath, "y.rnd");
  EXPECT_EQ(o.PngPath, "z.png");

  o = ParseGenOptions({"--mix", "100,20,400,250,0.65"});
  EXPECT_EQ(o.Source, TGenOptions::TSource::soMix);
  EXPECT_EQ(o.Mix.Mean1, 100);
  EXPECT_EQ(o.Mix.StdDev1, 20);
  EXPECT_EQ(o.Mix.Mean2, 400);
  EXPECT_EQ(o.Mix.StdDev2, 250);
  EXPECT_EQ(o.Mix.Ratio, 65 * 0.01);  // as the ratio scroll bar gives it
  EXPECT_EQ(ParseGenOptions({"--mix", "1,10,500,10,0.123"}).Mix.Ratio, 0.123);

  o = ParseGenOptions({"--load", "d.rnd", "-o", "-", "--help"});
  EXPECT_EQ(o.Source, TGenOptions::TSource::soLoad);
  EXPECT_EQ(o.LoadPath, "d.rnd");
  EXPECT_EQ(o.OutPath, "-");
  EXPECT_TRUE(o.Help);
  EXPECT_EQ(*ParseGenOptions({"--seed", "0"}).Seed, 0u);
  EXPECT_EQ(ParseGenOptions({"--count", "1"}).Count, 1);
}

TEST(GenOptionsTest, BadOptionsAndValuesNameTheCulprit) {
  struct {
    std::vector<std::string> Args;
    const char* Part;
  } cases[] = {
      {{"--colour"}, "'--colour'"},
      {{"extra"}, "'extra'"},
      {{"--count"}, "'--count' needs a value"},
      {{"--count", "0"}, "'0' for --count"},
      {{"--count", "-5"}, "'-5' for --count"},
      {{"--count", "1.5"}, "'1.5' for --count"},
      {{"--count", "12x"}, "'12x' for --count"},
      {{"--count", "99999999999999999999"}, "for --count"},
      {{"--seed", "4294967296"}, "'4294967296' for --seed"},
      {{"--seed", "-1"}, "'-1' for --seed"},
      {{"--from", "5."}, "'5.' for --from"},
      {{"--to", "1,5"}, "'1,5' for --to"},
      {{"--shape", "gaussian"}, "'gaussian'"},
      {{"--shape", "normal", "--load", "a.rnd"}, "only one of"},
      {{"--mix", "1,10,2,10,0.5", "--shape", "normal"}, "only one of"},
      {{"--mix", "1,10,2,10"}, "--mix"},
      {{"--mix", "0,10,2,10,0.5"}, "'0' for --mix position A"},
      {{"--mix", "1,9,2,10,0.5"}, "'9' for --mix width A"},
      {{"--mix", "1,10,501,10,0.5"}, "'501' for --mix position B"},
      {{"--mix", "1,10,2,251,0.5"}, "'251' for --mix width B"},
      {{"--mix", "1,10,2,10,1.5"}, "'1.5' for --mix ratio"},
      {{"-o", ""}, "'-o' needs a file name"},
      {{"--save"}, "'--save' needs a value"},
      {{"--help=yes"}, "'--help'"},
  };
  for (const auto& c : cases) {
    const std::string msg = UsageError(c.Args);
    EXPECT_NE(msg.find(c.Part), std::string::npos) << c.Args[0] << ": " << msg;
    EXPECT_EQ(msg.find('\n'), std::string::npos) << msg;
  }
}

TEST(GenOptionsTest, ARepeatedOptionKeepsItsLastValue) {
  const TGenOptions o = ParseGenOptions({"--shape", "bimodal", "--shape", "normal", "--count", "5",
                                         "--count=7", "-o", "a", "--output", "b"});
  EXPECT_EQ(o.ShapeKey, "normal");
  EXPECT_EQ(o.Count, 7);
  EXPECT_EQ(o.OutPath, "b");
  EXPECT_EQ(ParseGenOptions({"--mix", "1,10,2,10,0.5", "--mix", "3,10,4,10,0.25"}).Mix.Mean1, 3);
  EXPECT_NE(GenHelp().find("A repeated option keeps its last value"), std::string::npos);
  EXPECT_NE(GenHelp().find("within 1e-9 of a whole"), std::string::npos);
}

TEST(GenOptionsTest, HelpNamesEveryOption) {
  const std::string help = GenHelp();
  for (const char* opt : {"--shape", "--mix", "--load", "--from", "--to", "--count", "--seed", "-o",
                          "--save", "--png", "--help", "leptokurtic", "right-skewed"})
    EXPECT_NE(help.find(opt), std::string::npos) << opt;
}

}  // namespace
