#include "components/numlab/numlab.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qtsurface.h"
#include "platform/syscolors.h"
#include "tests/support/recsurface.h"

namespace {

const char* const kProbe = "(8g]}\u00DC\u00C4\u00A7";

// Counts how often the label paints.
class TCountingNumLab : public TNumLab {
 public:
  int Paints = 0;
  void Paint() override {
    ++Paints;
    TNumLab::Paint();
  }
};

int TextHeightOf(const TFont& f) {
  TQtBitmap b(1, 1);
  b.SetFont(f);
  return b.TextHeight(kProbe);
}

int TextWidthOf(const TFont& f, const std::string& s) {
  TQtBitmap b(1, 1);
  b.SetFont(f);
  return b.TextWidth(s);
}

// A label that draws into recording bitmaps; Calls() gives the calls of the
// last paint.
struct TRecordedLab {
  std::shared_ptr<TRecLog> Log = std::make_shared<TRecLog>();
  TNumLab Lab;
  TRecordedLab() { Lab.SetBitmapFactory(RecordingFactory(Log)); }
  std::vector<TRecCall> Calls(TRecKind k) const { return Log->OfKind(k, Log->Bitmaps()); }
  int T() const { return TextHeightOf(Lab.Font()) + 2; }
};

TEST(NumLabTest, Defaults) {
  TNumLab lab;
  EXPECT_EQ(lab.LeftSpace(), 35);
  EXPECT_FALSE(lab.Empty());
  EXPECT_EQ(lab.LabelWidth(), 80);
  EXPECT_EQ(lab.Precision(), 2);
  EXPECT_EQ(lab.LeftText(), "X:");
  EXPECT_EQ(lab.RightText(), "");
  EXPECT_EQ(lab.FrameStyle(), TFrameStyle::fsLowered);
  EXPECT_EQ(lab.Alignment(), taCenter);
  EXPECT_EQ(lab.OverflowIndicator(), "*********");
  EXPECT_EQ(lab.Value(), 0.0);
  EXPECT_EQ(lab.ColorLabBakG(), 0xC0C0C0u);
  EXPECT_EQ(lab.ColorLabText(), 0x000000u);
  EXPECT_EQ(lab.ColorOutBakG(), 0xC0C0C0u);
  EXPECT_EQ(lab.ColorOutText(), 0x000000u);
  EXPECT_EQ(lab.ColorDark(), 0x000000u);
  EXPECT_EQ(lab.ColorShadow(), 0x808080u);
  EXPECT_EQ(lab.ColorLight(), 0xFFFFFFu);
  EXPECT_EQ(lab.ColorScheme(), csBWG);
  EXPECT_EQ(lab.DisplayType(), TDisplay::dtFixP);
  EXPECT_EQ(lab.Width(), 160);
  EXPECT_EQ(lab.Height(), 28);
  EXPECT_EQ(lab.NumberText(), "0.00");
}

TEST(NumLabTest, SetterRules) {
  TNumLab lab;
  lab.SetPrecision(20);
  EXPECT_EQ(lab.Precision(), 15);
  lab.SetPrecision(4);
  lab.SetPrecision(-1);
  EXPECT_EQ(lab.Precision(), 4);
  lab.SetPrecision(0);
  EXPECT_EQ(lab.Precision(), 0);

  lab.SetLeftSpace(-1);
  EXPECT_EQ(lab.LeftSpace(), 35);
  lab.SetLeftSpace(0);
  EXPECT_EQ(lab.LeftSpace(), 0);
  lab.SetLeftSpace(500);  // beyond the control: the width
  EXPECT_EQ(lab.LeftSpace(), 160);

  const std::string sixty(60, 'a');
  lab.SetLeftText(sixty);
  EXPECT_EQ(lab.LeftText(), std::string(50, 'a'));
  lab.SetRightText(sixty);
  EXPECT_EQ(lab.RightText(), std::string(50, 'a'));
  lab.SetOverflowIndicator(sixty);
  EXPECT_EQ(lab.OverflowIndicator(), std::string(50, 'a'));
  // characters, not bytes: 60 umlauts are cut to 50 umlauts
  std::string umlauts;
  for (int i = 0; i < 60; ++i) umlauts += "\u00C4";
  lab.SetLeftText(umlauts);
  EXPECT_EQ(lab.LeftText(), umlauts.substr(0, 100));
  lab.SetRightText("km/h");
  EXPECT_EQ(lab.RightText(), "km/h");
}

TEST(NumLabTest, ColorSchemeSelectsFrameColours) {
  TNumLab lab;
  lab.SetColorScheme(csSytem);
  EXPECT_EQ(lab.ColorShadow(), SysColorBtnShadow());
  EXPECT_EQ(lab.ColorLight(), SysColorBtnHighlight());
  EXPECT_EQ(lab.ColorDark(), clBlack);
  lab.SetColorScheme(csBWG);
  EXPECT_EQ(lab.ColorShadow(), 0x808080u);
  EXPECT_EQ(lab.ColorLight(), 0xFFFFFFu);
  EXPECT_EQ(lab.ColorDark(), clBlack);
}

TEST(NumLabTest, RepaintsOnceOnEveryRealChangeAndNeverOtherwise) {
  TCountingNumLab lab;
  lab.Repaint();  // settles the height
  struct TCase {
    const char* Name;
    std::function<void()> Set;
  };
  TFont bigFont;
  bigFont.PixelSize = 20;
  const std::vector<TCase> cases = {
      {"LeftSpace", [&] { lab.SetLeftSpace(40); }},
      {"Empty", [&] { lab.SetEmpty(true); }},
      {"LabelWidth", [&] { lab.SetLabelWidth(90); }},
      {"Precision", [&] { lab.SetPrecision(5); }},
      {"Precision above 15", [&] { lab.SetPrecision(99); }},
      {"LeftText", [&] { lab.SetLeftText("from"); }},
      {"RightText", [&] { lab.SetRightText("m"); }},
      {"FrameStyle", [&] { lab.SetFrameStyle(TFrameStyle::fsRaised); }},
      {"Alignment", [&] { lab.SetAlignment(taRightJustify); }},
      {"OverflowIndicator", [&] { lab.SetOverflowIndicator("###"); }},
      {"Value", [&] { lab.SetValue(-300.0); }},
      {"ColorLabBakG", [&] { lab.SetColorLabBakG(clWhite); }},
      {"ColorLabText", [&] { lab.SetColorLabText(clRed); }},
      {"ColorOutBakG", [&] { lab.SetColorOutBakG(clGreen); }},
      {"ColorOutText", [&] { lab.SetColorOutText(clBlue); }},
      {"ColorScheme", [&] { lab.SetColorScheme(csSytem); }},
      {"DisplayType", [&] { lab.SetDisplayType(TDisplay::dtExp); }},
      {"Font", [&] { lab.SetFont(bigFont); }},
  };
  for (const TCase& c : cases) {
    lab.Paints = 0;
    c.Set();
    EXPECT_EQ(lab.Paints, 1) << c.Name << " changed";
    c.Set();
    EXPECT_EQ(lab.Paints, 1) << c.Name << " set again";
  }
  // ignored values do not repaint
  lab.Paints = 0;
  lab.SetPrecision(-3);
  lab.SetLeftSpace(-1);
  lab.SetLeftText("from");
  EXPECT_EQ(lab.Paints, 0);
  // a text that differs only beyond 50 characters is the same text
  lab.SetRightText(std::string(50, 'u') + "1");
  lab.Paints = 0;
  lab.SetRightText(std::string(50, 'u') + "2");
  EXPECT_EQ(lab.Paints, 0);
}

TEST(NumLabTest, ShowsTheFormattedNumber) {
  TRecordedLab r;
  TNumLab& lab = r.Lab;
  lab.SetPrecision(3);
  lab.SetValue(-300.0);
  EXPECT_EQ(lab.NumberText(), "-300.000");
  EXPECT_EQ(lab.ShownText(), "-300.000");
  ASSERT_EQ(r.Calls(TRecKind::rkTextRect).size(), 1u);
  EXPECT_EQ(r.Calls(TRecKind::rkTextRect)[0].Text, "-300.000");

  lab.SetDisplayType(TDisplay::dtInt);
  lab.SetValue(500.0);
  EXPECT_EQ(lab.ShownText(), "500");

  lab.SetDisplayType(TDisplay::dtHex);
  lab.SetPrecision(4);
  lab.SetValue(255.0);
  EXPECT_EQ(lab.ShownText(), "00FF");
  lab.SetValue(65536.0);
  EXPECT_EQ(lab.ShownText(), "0000");
  lab.SetValue(-1.0);
  EXPECT_EQ(lab.ShownText(), "FFFF");
  lab.SetOverflowIndicator("ovfl");
  lab.SetValue(3e9);
  EXPECT_EQ(lab.NumberText(), "ovfl");
  EXPECT_EQ(lab.ShownText(), "ovfl");

  lab.SetDisplayType(TDisplay::dtZeroInt);
  lab.SetPrecision(5);
  lab.SetValue(42.0);
  EXPECT_EQ(lab.ShownText(), "00042");
  lab.SetValue(-42.0);
  EXPECT_EQ(lab.ShownText(), "-00042");
}

TEST(NumLabTest, TooWideNumberShowsTheOverflowText) {
  TRecordedLab r;
  TNumLab& lab = r.Lab;
  lab.SetLabelWidth(56);
  lab.SetDisplayType(TDisplay::dtFloat);
  lab.SetPrecision(15);
  lab.SetValue(1.0 / 3.0);
  const std::string number = lab.NumberText();
  ASSERT_GT(TextWidthOf(lab.Font(), number), 50);
  EXPECT_EQ(lab.ShownText(), "*********");
  ASSERT_EQ(r.Calls(TRecKind::rkTextRect).size(), 1u);
  EXPECT_EQ(r.Calls(TRecKind::rkTextRect)[0].Text, "*********");

  // the number is shown while its width is at most LabelWidth - 6
  const int tw = TextWidthOf(lab.Font(), number);
  lab.SetLabelWidth(tw + 6);
  EXPECT_EQ(lab.ShownText(), number);
  lab.SetLabelWidth(tw + 5);
  EXPECT_EQ(lab.ShownText(), "*********");

  // the overflow text is centred by its own width
  const int ow = TextWidthOf(lab.Font(), "*********");
  lab.SetLabelWidth(56);
  const TRecCall text = r.Calls(TRecKind::rkTextRect).at(0);
  EXPECT_EQ(text.Points.at(0).x, 35 + 2 + (56 - ow) / 2);
}

TEST(NumLabTest, TextPositionsAndColours) {
  TRecordedLab r;
  TNumLab& lab = r.Lab;
  lab.SetLeftText("from");
  lab.SetRightText("kg");
  lab.SetColorLabText(clRed);
  lab.SetColorLabBakG(clWhite);
  lab.SetColorOutText(clNavy);
  lab.SetColorOutBakG(clGreen);
  lab.SetValue(12.5);
  const int l = 35, w = 80, t = r.T();
  const int tw = TextWidthOf(lab.Font(), "12.50");

  struct TAlignCase {
    TAlignment A;
    int X;
  };
  for (TAlignCase c : {TAlignCase{taLeftJustify, l + 4}, TAlignCase{taRightJustify, l + w - 2 - tw},
                       TAlignCase{taCenter, l + 2 + (w - tw) / 2}}) {
    lab.SetAlignment(c.A);
    auto texts = r.Calls(TRecKind::rkTextRect);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "12.50");
    EXPECT_EQ(texts[0].Points.at(0), (TPoint{c.X, 3})) << c.A;
    EXPECT_EQ(texts[0].Rect, (TRect{l + 3, 2, l + w - 1, t + 1}));
    EXPECT_EQ(texts[0].Font.Color, clRed);
    EXPECT_EQ(texts[0].BrushColor, clWhite);
  }

  auto sides = r.Calls(TRecKind::rkTextOut);
  ASSERT_EQ(sides.size(), 2u);
  EXPECT_EQ(sides[0].Text, "from");
  EXPECT_EQ(sides[0].Points.at(0), (TPoint{l - 7 - TextWidthOf(lab.Font(), "from"), 3}));
  EXPECT_EQ(sides[1].Text, "kg");
  EXPECT_EQ(sides[1].Points.at(0), (TPoint{l + w + 9, 3}));
  for (const TRecCall& c : sides) {
    EXPECT_EQ(c.Font.Color, clNavy);
    EXPECT_EQ(c.BrushColor, clGreen);
  }

  // the whole bitmap is first filled with the outer background
  auto rects = r.Calls(TRecKind::rkRectangle);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].Rect, (TRect{0, 0, lab.Width(), lab.Height()}));
  EXPECT_EQ(rects[0].PenColor, clGreen);
  EXPECT_EQ(rects[0].BrushColor, clGreen);
}

TEST(NumLabTest, EmptyDrawsBoxAndTextsButNoNumber) {
  TRecordedLab r;
  TNumLab& lab = r.Lab;
  lab.SetLeftText("to");
  lab.SetRightText("m");
  lab.SetValue(300.0);
  lab.SetEmpty(true);
  EXPECT_TRUE(r.Calls(TRecKind::rkTextRect).empty());
  EXPECT_EQ(lab.ShownText(), "");
  EXPECT_EQ(r.Calls(TRecKind::rkRectangle).size(), 2u);
  EXPECT_EQ(r.Calls(TRecKind::rkPolyline).size(), 2u);
  EXPECT_EQ(r.Calls(TRecKind::rkTextOut).size(), 2u);
  lab.SetEmpty(false);
  EXPECT_EQ(lab.ShownText(), "300.00");
}

TEST(NumLabTest, FrameColoursPerStyle) {
  const TColor shadow = 0x808080, light = 0xFFFFFF, dark = 0x000000, box = 0x00FFFF;
  struct TStyleCase {
    TFrameStyle Style;
    TColor Outline;
    bool Edges;
    TColor Inner, Outer;
  };
  const TStyleCase cases[] = {
      {TFrameStyle::fsNone, box, false, 0, 0},
      {TFrameStyle::fsSimple, shadow, false, 0, 0},
      {TFrameStyle::fsLowered, shadow, true, dark, light},
      {TFrameStyle::fsRaised, shadow, true, light, dark},
      {TFrameStyle::fsEmbossed, light, true, shadow, shadow},
      {TFrameStyle::fsEngraved, shadow, true, light, light},
  };
  for (const TStyleCase& c : cases) {
    TRecordedLab r;
    TNumLab& lab = r.Lab;
    lab.SetColorLabBakG(box);
    lab.SetFrameStyle(c.Style);
    lab.Repaint();
    const int l = 35, w = 80, t = r.T();
    auto rects = r.Calls(TRecKind::rkRectangle);
    ASSERT_EQ(rects.size(), 2u) << static_cast<int>(c.Style);
    EXPECT_EQ(rects[1].Rect, (TRect{l, 0, l + w + 2, t + 3})) << static_cast<int>(c.Style);
    EXPECT_EQ(rects[1].PenColor, c.Outline) << static_cast<int>(c.Style);
    EXPECT_EQ(rects[1].BrushColor, box) << static_cast<int>(c.Style);
    EXPECT_EQ(rects[1].BrushStyle, TBrushStyle::bsSolid) << static_cast<int>(c.Style);
    auto lines = r.Calls(TRecKind::rkPolyline);
    if (!c.Edges) {
      EXPECT_TRUE(lines.empty()) << static_cast<int>(c.Style);
      continue;
    }
    ASSERT_EQ(lines.size(), 2u) << static_cast<int>(c.Style);
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{l + 1, t + 1}, {l + 1, 1}, {l + w + 1, 1}}));
    EXPECT_EQ(lines[0].PenColor, c.Inner) << static_cast<int>(c.Style);
    EXPECT_EQ(lines[1].Points,
              (std::vector<TPoint>{{l + 1, t + 3}, {l + w + 2, t + 3}, {l + w + 2, 0}}));
    EXPECT_EQ(lines[1].PenColor, c.Outer) << static_cast<int>(c.Style);
  }
}

TEST(NumLabTest, LoweredFramePixelsOnScreen) {
  TNumLab lab;
  lab.SetColorOutBakG(clGreen);
  lab.SetColorLabBakG(0x00FFFF);
  lab.SetEmpty(true);
  lab.SetLeftText("");
  lab.Repaint();
  const TQtBitmap& canvas = lab.CanvasBitmap();
  const int l = 35, w = 80, t = TextHeightOf(lab.Font()) + 2;
  ASSERT_EQ(canvas.Height(), t + 4);
  EXPECT_EQ(canvas.Pixel(0, 0), clGreen);          // outer background
  EXPECT_EQ(canvas.Pixel(l, 0), clGray);           // outline corner
  EXPECT_EQ(canvas.Pixel(l, t + 2), clGray);       // outline, left column
  EXPECT_EQ(canvas.Pixel(l + 1, 1), clBlack);      // inner edge corner
  EXPECT_EQ(canvas.Pixel(l + 1, t + 1), clBlack);  // inner edge start
  EXPECT_EQ(canvas.Pixel(l + w, 1), clBlack);      // inner edge, top row
  EXPECT_EQ(canvas.Pixel(l + w + 1, 1), clGray);   // inner edge end point left out
  EXPECT_EQ(canvas.Pixel(l + 1, t + 3), clWhite);  // outer edge, bottom row
  EXPECT_EQ(canvas.Pixel(l + w + 2, t + 3), clWhite);
  EXPECT_EQ(canvas.Pixel(l + w + 2, 1), clWhite);    // outer edge, right column
  EXPECT_EQ(canvas.Pixel(l + w + 2, 0), clGreen);    // its end point left out
  EXPECT_EQ(canvas.Pixel(l, t + 3), clGreen);        // below the box outline
  EXPECT_EQ(canvas.Pixel(l + w / 2, t), 0x00FFFFu);  // inside the box
}

TEST(NumLabTest, NumberReachesTheScreenInItsColour) {
  TNumLab lab;
  lab.SetColorLabText(clRed);
  lab.SetLeftText("");
  lab.SetDisplayType(TDisplay::dtInt);
  lab.SetValue(888888.0);
  const TQtBitmap& canvas = lab.CanvasBitmap();
  // Smoothed text: count the pixels where red clearly dominates.
  auto reddish = [&canvas] {
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) {
        const TColor c = canvas.Pixel(x, y);
        const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        n += r > g + 80 && r > b + 80;
      }
    return n;
  };
  EXPECT_GT(reddish(), 20);
  lab.SetEmpty(true);
  EXPECT_EQ(reddish(), 0);
}

TEST(NumLabTest, HeightFollowsTheFont) {
  TNumLab lab;
  lab.Repaint();
  EXPECT_EQ(lab.Height(), TextHeightOf(lab.Font()) + 6);
  TFont big = lab.Font();
  big.PixelSize = 30;
  lab.SetFont(big);
  EXPECT_EQ(lab.Height(), TextHeightOf(big) + 6);
  EXPECT_GT(lab.Height(), 30);
  // a stored height is replaced at the next paint
  lab.SetHeight(80);
  lab.Repaint();
  EXPECT_EQ(lab.Height(), TextHeightOf(big) + 6);
  EXPECT_EQ(lab.CanvasBitmap().Height(), lab.Height());
}

TEST(NumLabTest, LabelOnAShownWindowPaintsOncePerChange) {
  QWidget window;
  window.resize(300, 100);
  auto* lab = new TCountingNumLab;
  lab->setParent(&window);
  lab->SetBounds(10, 10, 160, 28);
  window.show();
  QApplication::processEvents();
  EXPECT_EQ(lab->Height(), TextHeightOf(lab->Font()) + 6);
  lab->Paints = 0;
  TFont big = lab->Font();
  big.PixelSize = 24;
  lab->SetFont(big);  // the height changes inside the paint
  EXPECT_EQ(lab->Paints, 1);
  EXPECT_EQ(lab->Height(), TextHeightOf(big) + 6);
  lab->SetValue(7.0);
  EXPECT_EQ(lab->Paints, 2);
  EXPECT_EQ(lab->ShownText(), "7.00");
  EXPECT_EQ(lab->CanvasBitmap().Height(), lab->Height());
}

TEST(NumLabTest, HiddenLabelDoesNotDraw) {
  TRecordedLab r;
  r.Lab.SetVisible(false);
  const int bitmaps = r.Log->Bitmaps();
  r.Lab.SetValue(5.0);
  EXPECT_EQ(r.Lab.Value(), 5.0);
  EXPECT_EQ(r.Log->Bitmaps(), bitmaps);
  r.Lab.SetVisible(true);
  EXPECT_EQ(r.Log->Bitmaps(), bitmaps + 1);
  EXPECT_EQ(r.Lab.ShownText(), "5.00");
}

TEST(NumLabTest, AssignCopiesTheLabelProperties) {
  TNumLab src;
  src.SetLeftSpace(20);
  src.SetEmpty(true);
  src.SetLabelWidth(60);
  src.SetPrecision(4);
  src.SetLeftText("from");
  src.SetRightText("m");
  src.SetFrameStyle(TFrameStyle::fsEngraved);
  src.SetAlignment(taLeftJustify);
  src.SetOverflowIndicator("##");
  src.SetValue(-1.5);
  src.SetColorLabBakG(0x111111);
  src.SetColorLabText(0x222222);
  src.SetColorOutBakG(0x333333);
  src.SetColorOutText(0x444444);
  src.SetColorScheme(csSytem);
  src.SetDisplayType(TDisplay::dtExp);

  TCountingNumLab dst;
  dst.Assign(src);
  EXPECT_EQ(dst.Paints, 1);
  EXPECT_EQ(dst.LeftSpace(), 20);
  EXPECT_TRUE(dst.Empty());
  EXPECT_EQ(dst.LabelWidth(), 60);
  EXPECT_EQ(dst.Precision(), 4);
  EXPECT_EQ(dst.LeftText(), "from");
  EXPECT_EQ(dst.RightText(), "m");
  EXPECT_EQ(dst.FrameStyle(), TFrameStyle::fsEngraved);
  EXPECT_EQ(dst.Alignment(), taLeftJustify);
  EXPECT_EQ(dst.OverflowIndicator(), "##");
  EXPECT_EQ(dst.Value(), -1.5);
  EXPECT_EQ(dst.ColorLabBakG(), 0x111111u);
  EXPECT_EQ(dst.ColorLabText(), 0x222222u);
  EXPECT_EQ(dst.ColorOutBakG(), 0x333333u);
  EXPECT_EQ(dst.ColorOutText(), 0x444444u);
  EXPECT_EQ(dst.ColorScheme(), csSytem);
  EXPECT_EQ(dst.ColorShadow(), src.ColorShadow());
  EXPECT_EQ(dst.ColorLight(), src.ColorLight());
  EXPECT_EQ(dst.ColorDark(), src.ColorDark());
  EXPECT_EQ(dst.DisplayType(), TDisplay::dtExp);
  EXPECT_EQ(dst.NumberText(), src.NumberText());
}

}  // namespace
