// alearix-gen --png, run as a child process without a display.
#include <gtest/gtest.h>

#include <QImage>

#include "tests/cli/genrun.h"

namespace {

class GenPngTest : public TGenRun {
 protected:
  // Without a display, as on a server.
  int Run(const std::string& args) {
    return Sh("env -u DISPLAY -u WAYLAND_DISPLAY \"$G\" " + args);
  }
};

constexpr QRgb kCurve = qRgb(0x00, 0x00, 0xFF);      // blue, 0xFF0000 as BBGGRR
constexpr QRgb kHistogram = qRgb(0xC0, 0xE0, 0xFF);  // light blue, 0xFFE0C0 as BBGGRR

TEST_F(GenPngTest, PictureOfTheChartAfterCalc) {
  ASSERT_EQ(Run("--count 5000 -o a.asc --png chart.png"), 0) << FErr;
  EXPECT_EQ(FErr, "");
  QImage img(QString::fromStdString(PathOf("chart.png")));
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.width(), 557);
  EXPECT_EQ(img.height(), 328);

  // The curve's highest pixel: the peak of the normal shape at x = -1.2, height 1 of 1.1.
  // Chart area: columns 50..547 for -300..300, rows 20..284 for 1.1..0.
  // The top of the curve is a short flat run of pixels: take its middle.
  int peakY = img.height(), runFirst = -1, runLast = -1;
  int histogramPixels = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y) | 0xFF000000;
      if (c == (kCurve | 0xFF000000) && y <= peakY) {
        if (y < peakY) runFirst = x;
        peakY = y;
        runLast = x;
      }
      if (c == (kHistogram | 0xFF000000)) ++histogramPixels;
    }
  const double peakX = (runFirst + runLast) / 2.0;
  const double colOfPeak = 50 + (-1.2 + 300) / 600 * 497;
  const double rowOfOne = 20 + (1.1 - 1.0) / 1.1 * 264;
  EXPECT_NEAR(peakX, colOfPeak, 3);
  EXPECT_NEAR(peakY, rowOfOne, 1);
  EXPECT_GT(histogramPixels, 5000);
}

TEST_F(GenPngTest, UnwritablePictureLeavesNoOutput) {
  EXPECT_EQ(Run("-o a.asc --png nodir/chart.png"), 1);
  EXPECT_NE(FErr.find("nodir/chart.png"), std::string::npos) << FErr;
  EXPECT_EQ(FileCount(), 0u);
}

}  // namespace
