#include "platform/qtsurface.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <set>
#include <vector>

#include "tests/support/recsurface.h"

namespace {

// A new bitmap is white, with a black one-pixel pen and a white solid brush.
TQtBitmap White(int w, int h) {
  return TQtBitmap(w, h);
}

// Whether c lies between colours a and b in every channel: a smoothed text edge
// blends the font colour into the background.
bool IsBlend(TColor c, TColor a, TColor b) {
  for (int shift : {0, 8, 16}) {
    const int v = (c >> shift) & 0xFF, p = (a >> shift) & 0xFF, q = (b >> shift) & 0xFF;
    if (v < std::min(p, q) || v > std::max(p, q)) return false;
  }
  return true;
}

// The set pixels (those not white) as a list, row by row.
std::vector<TPoint> Inked(const TQtBitmap& b) {
  std::vector<TPoint> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != clWhite) out.push_back({x, y});
  return out;
}

std::vector<TPoint> Pts(std::initializer_list<TPoint> l) {
  return l;
}

}  // namespace

TEST(QtColor, ConversionIsBgrInBothDirections) {
  const QColor q = ToQColor(0x00336699);
  EXPECT_EQ(q.red(), 0x99);
  EXPECT_EQ(q.green(), 0x66);
  EXPECT_EQ(q.blue(), 0x33);
  EXPECT_EQ(FromQColor(QColor(1, 2, 3)), 0x030201u);
  EXPECT_EQ(FromQColor(ToQColor(clNavy)), clNavy);
  EXPECT_EQ(ToQColor(clRed), QColor(Qt::red));

  TQtBitmap b = White(2, 1);
  b.SetPixel(1, 0, clRed);
  EXPECT_EQ(b.Image().pixel(1, 0), qRgb(255, 0, 0));
  EXPECT_EQ(b.Pixel(1, 0), clRed);
  EXPECT_EQ(b.Pixel(0, 0), clWhite);
  b.SetPixel(-1, 0, clRed);  // outside: ignored
  b.SetPixel(2, 0, clRed);
  EXPECT_EQ(Inked(b), Pts({{1, 0}}));
}

TEST(QtSurfaceLines, LineToLeavesOutEndPixelAndMovesPen) {
  TQtBitmap b = White(10, 6);
  b.SetPenColor(clBlack);
  b.MoveTo(1, 2);
  b.LineTo(6, 2);
  EXPECT_EQ(Inked(b), Pts({{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}));
  EXPECT_EQ(b.PenPos(), (TPoint{6, 2}));
  b.LineTo(6, 4);  // continues from the pen position; (6, 2) is drawn now
  EXPECT_EQ(b.Pixel(6, 2), clBlack);
  EXPECT_EQ(b.Pixel(6, 3), clBlack);
  EXPECT_EQ(b.Pixel(6, 4), clWhite);
  b.LineTo(6, 4);  // zero length draws nothing
  EXPECT_EQ(b.Pixel(6, 4), clWhite);
}

TEST(QtSurfaceLines, SlopesAndDirections) {
  // (0,0)-(6,2): minor offset floor((4i + 6) / 12) for i = 0..5.
  TQtBitmap b = White(8, 4);
  b.MoveTo(0, 0);
  b.LineTo(6, 2);
  EXPECT_EQ(Inked(b), Pts({{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}));

  TQtBitmap r = White(8, 4);
  r.MoveTo(5, 3);  // right to left, bottom to top
  r.LineTo(0, 0);
  EXPECT_EQ(r.Pixel(5, 3), clBlack);
  EXPECT_EQ(r.Pixel(0, 0), clWhite);
  EXPECT_EQ(Inked(r).size(), 5u);

  TQtBitmap v = White(3, 8);
  v.MoveTo(1, 7);
  v.LineTo(1, 1);
  EXPECT_EQ(Inked(v), Pts({{1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}}));
}

TEST(QtSurfaceLines, FarEndsAreClippedWithoutShiftingTheLine) {
  TQtBitmap h = White(10, 5);
  h.MoveTo(-30000, 2);
  h.LineTo(30000, 2);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(h.Pixel(x, 2), clBlack) << x;
  EXPECT_EQ(Inked(h).size(), 10u);

  TQtBitmap d = White(10, 10);
  d.MoveTo(-30000, -30000);
  d.LineTo(30000, 30000);
  std::vector<TPoint> diag;
  for (int i = 0; i < 10; ++i) diag.push_back({i, i});
  EXPECT_EQ(Inked(d), diag);

  // Steep line from far above: same pixels as the unclipped one would give.
  TQtBitmap s = White(10, 10), ref = White(40, 40);
  s.MoveTo(2, -20);
  s.LineTo(7, 29);
  ref.MoveTo(2, 0);
  ref.LineTo(7, 49);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(s.Pixel(x, y), ref.Pixel(x, y + 20)) << x << "," << y;
}

TEST(QtSurfaceLines, PolylineNeitherUsesNorMovesThePen) {
  TQtBitmap b = White(8, 6);
  b.MoveTo(0, 5);
  const TPoint pts[] = {{1, 1}, {5, 1}, {5, 4}};
  b.Polyline(pts, 3);
  EXPECT_EQ(b.PenPos(), (TPoint{0, 5}));
  EXPECT_EQ(Inked(b), Pts({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {5, 2}, {5, 3}}));
  b.Polyline(pts, 1);  // one point draws nothing
  EXPECT_EQ(Inked(b).size(), 7u);
}

TEST(QtSurfaceLines, DottedPenIsOneOnOneOffAcrossSegments) {
  TQtBitmap b = White(10, 6);
  b.SetPenStyle(TPenStyle::psDot);
  b.MoveTo(0, 0);
  b.LineTo(9, 0);
  EXPECT_EQ(Inked(b), Pts({{0, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}}));

  TQtBitmap p = White(10, 6);
  p.SetPenStyle(TPenStyle::psDot);
  const TPoint pts[] = {{0, 2}, {3, 2}, {3, 5}};
  p.Polyline(pts, 3);  // pixels (0..3,2), (3,3), (3,4): on off on off on off
  EXPECT_EQ(Inked(p), Pts({{0, 2}, {2, 2}, {3, 3}}));
}

TEST(QtSurfaceModes, ExclusiveOrTwiceRestoresAndNotInverts) {
  TQtBitmap b(12, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x)
      b.SetPixel(x, y, static_cast<TColor>(x * 20 + y * 0x1300 + 0x50000));
  const QImage before = b.Image().copy();

  b.SetPenMode(TPenMode::pmXor);
  b.SetPenColor(clWhite);
  b.SetBrushStyle(TBrushStyle::bsClear);
  b.Rectangle(1, 1, 9, 8);
  // Each outline pixel exactly once, so corners are inverted, not restored.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool outline =
          x >= 1 && x <= 8 && y >= 1 && y <= 7 && (x == 1 || x == 8 || y == 1 || y == 7);
      const TColor old = FromQColor(QColor::fromRgb(before.pixel(x, y)));
      EXPECT_EQ(b.Pixel(x, y), outline ? old ^ 0xFFFFFFu : old) << x << "," << y;
    }
  b.Rectangle(1, 1, 9, 8);
  EXPECT_EQ(b.Image(), before);

  b.MoveTo(0, 9);
  b.LineTo(11, 0);
  EXPECT_NE(b.Image(), before);
  b.MoveTo(0, 9);
  b.LineTo(11, 0);
  EXPECT_EQ(b.Image(), before);

  b.SetPenMode(TPenMode::pmNot);
  b.MoveTo(0, 5);
  b.LineTo(3, 5);
  EXPECT_EQ(b.Pixel(2, 5), FromQColor(QColor::fromRgb(before.pixel(2, 5))) ^ 0xFFFFFFu);
  EXPECT_EQ(b.Pixel(3, 5), FromQColor(QColor::fromRgb(before.pixel(3, 5))));
}

TEST(QtSurfaceModes, ExclusiveOrPolygonChangesEachPixelOnce) {
  // On black, an exclusive-or polygon must look exactly like the copy-mode one:
  // outline in the pen colour, the inside in the brush (no gaps on the edge);
  // drawn again, it is gone.
  const TPoint shape[] = {{1, 1}, {14, 3}, {9, 9}, {3, 13}};
  for (TBrushStyle style :
       {TBrushStyle::bsSolid, TBrushStyle::bsDiagCross, TBrushStyle::bsHorizontal}) {
    SCOPED_TRACE(static_cast<int>(style));
    TQtBitmap copy(16, 16), x(16, 16);
    for (TQtBitmap* b : {&copy, &x}) {
      b->Fill(clBlack);
      b->SetPenColor(clRed);
      b->SetBrushColor(clGreen);
      b->SetBrushStyle(style);
    }
    copy.Polygon(shape, 4);
    x.SetPenMode(TPenMode::pmXor);
    x.Polygon(shape, 4);
    EXPECT_EQ(x.Image(), copy.Image());
    x.Polygon(shape, 4);
    for (int y = 0; y < 16; ++y)
      for (int xx = 0; xx < 16; ++xx) ASSERT_EQ(x.Pixel(xx, y), clBlack) << xx << "," << y;
  }
}

TEST(QtSurfaceShapes, RectangleCoversExactlyLeftToRightMinusOne) {
  TQtBitmap b = White(10, 7);
  b.SetPenColor(clRed);
  b.SetBrushColor(clBlue);
  b.Rectangle(2, 1, 7, 5);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 10; ++x) {
      TColor want = clWhite;
      if (x >= 2 && x <= 6 && y >= 1 && y <= 4)
        want = (x == 2 || x == 6 || y == 1 || y == 4) ? clRed : clBlue;
      EXPECT_EQ(b.Pixel(x, y), want) << x << "," << y;
    }

  TQtBitmap c = White(10, 7);  // clear brush, corners given the other way round
  c.SetBrushStyle(TBrushStyle::bsClear);
  c.Rectangle(7, 5, 2, 1);
  EXPECT_EQ(c.Pixel(2, 1), clBlack);
  EXPECT_EQ(c.Pixel(6, 4), clBlack);
  EXPECT_EQ(c.Pixel(4, 3), clWhite);
  EXPECT_EQ(Inked(c).size(), 14u);

  TQtBitmap one = White(4, 4);
  one.Rectangle(1, 2, 2, 3);
  EXPECT_EQ(Inked(one), Pts({{1, 2}}));
  one.Rectangle(3, 0, 3, 4);  // empty
  EXPECT_EQ(Inked(one).size(), 1u);
}

TEST(QtSurfaceShapes, HatchedBrushLeavesGapsUntouched) {
  TQtBitmap b = White(20, 20);
  b.SetPenColor(clBlack);
  b.SetBrushColor(clRed);
  b.SetBrushStyle(TBrushStyle::bsHorizontal);
  b.Rectangle(0, 0, 20, 20);
  std::set<int> redRows;
  int whiteInside = 0;
  for (int y = 1; y < 19; ++y)
    for (int x = 1; x < 19; ++x) {
      if (b.Pixel(x, y) == clRed)
        redRows.insert(y);
      else if (b.Pixel(x, y) == clWhite)
        ++whiteInside;
      else
        ADD_FAILURE() << "unexpected colour at " << x << "," << y;
    }
  EXPECT_GE(redRows.size(), 2u);
  EXPECT_GT(whiteInside, 18 * 18 / 2);
  for (int y : redRows)  // horizontal lines: whole rows
    for (int x = 1; x < 19; ++x) EXPECT_EQ(b.Pixel(x, y), clRed);
}

TEST(QtSurfaceShapes, PolygonOutlinesAndFills) {
  TQtBitmap b = White(12, 12);
  b.SetPenColor(clBlack);
  b.SetBrushColor(clBlue);
  const TPoint tri[] = {{1, 1}, {10, 1}, {1, 10}};
  b.Polygon(tri, 3);
  EXPECT_EQ(b.Pixel(1, 1), clBlack);
  EXPECT_EQ(b.Pixel(10, 1), clBlack);
  EXPECT_EQ(b.Pixel(1, 10), clBlack);
  EXPECT_EQ(b.Pixel(5, 1), clBlack);
  EXPECT_EQ(b.Pixel(3, 3), clBlue);
  EXPECT_EQ(b.Pixel(9, 9), clWhite);
  EXPECT_EQ(b.Pixel(0, 0), clWhite);
}

TEST(QtSurfaceShapes, WidePenCoversItsWidth) {
  TQtBitmap b = White(20, 10);
  b.SetPenWidth(3);
  b.MoveTo(2, 5);
  b.LineTo(17, 5);
  EXPECT_EQ(b.Pixel(10, 4), clBlack);
  EXPECT_EQ(b.Pixel(10, 5), clBlack);
  EXPECT_EQ(b.Pixel(10, 6), clBlack);
  EXPECT_EQ(b.Pixel(10, 2), clWhite);
  EXPECT_EQ(b.Pixel(10, 8), clWhite);
  EXPECT_EQ(b.PenPos(), (TPoint{17, 5}));
}

TEST(QtSurfaceText, MetricsFollowTheFont) {
  TQtBitmap b;
  TFont f;  // Arial 13 px
  b.SetFont(f);
  const QFontMetrics fm(ToQFont(f));
  EXPECT_EQ(b.TextWidth("Probability 0.25"), fm.horizontalAdvance("Probability 0.25"));
  EXPECT_EQ(b.TextHeight("x"), fm.height());
  EXPECT_EQ(b.TextWidth(""), 0);

  b.SetFontSizePt(10);  // 10 pt at 96 dpi
  EXPECT_EQ(b.Font().PixelSize, 13);
  b.SetFontSizePt(8);
  EXPECT_EQ(b.Font().PixelSize, 11);
  b.SetFontSizePt(24);
  EXPECT_EQ(b.Font().PixelSize, 32);
  const int regular = b.TextWidth("rrrrrrrrrr");
  b.SetFontStyle({TFontStyle::fsBold});
  EXPECT_EQ(b.Font().Style, TFontStyles{TFontStyle::fsBold});
  TFont bold = b.Font();
  EXPECT_EQ(b.TextWidth("rrrrrrrrrr"), QFontMetrics(ToQFont(bold)).horizontalAdvance("rrrrrrrrrr"));
  EXPECT_GT(b.TextWidth("rrrrrrrrrr"), regular);
  EXPECT_EQ(b.TextHeight(""), QFontMetrics(ToQFont(bold)).height());
}

TEST(QtSurfaceText, SolidBrushPaintsTheTextBoxClearBrushDoesNot) {
  const std::string text = "Hg8";
  for (const bool clear : {false, true}) {
    SCOPED_TRACE(clear ? "clear" : "solid");
    TQtBitmap b = White(60, 30);
    b.SetBrushColor(clBlue);
    b.SetBrushStyle(clear ? TBrushStyle::bsClear : TBrushStyle::bsSolid);
    b.SetFontColor(clRed);
    b.SetPenColor(clGreen);  // the pen plays no part in text
    const int w = b.TextWidth(text), h = b.TextHeight(text);
    b.TextOut(5, 4, text);
    int ink = 0, back = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 60; ++x) {
        const TColor c = b.Pixel(x, y);
        const bool inBox = x >= 5 && x < 5 + w && y >= 4 && y < 4 + h;
        if (!inBox) {
          EXPECT_EQ(c, clWhite) << x << "," << y;
          continue;
        }
        const TColor backColor = clear ? clWhite : clBlue;
        if (c == backColor)
          ++back;
        else if (IsBlend(c, clRed, backColor))
          ++ink;
        else
          ADD_FAILURE() << "unexpected colour " << std::hex << c << " at " << x << "," << y;
      }
    EXPECT_GT(ink, 10);
    EXPECT_GT(back, w * h / 2);
  }
}

TEST(QtSurfaceText, HatchedBrushPaintsItsLinesBehindTheText) {
  // The box of a text of blanks against the same box filled by a rectangle.
  const std::string text = "     ";
  for (TBrushStyle style :
       {TBrushStyle::bsHorizontal, TBrushStyle::bsVertical, TBrushStyle::bsFDiagonal,
        TBrushStyle::bsBDiagonal, TBrushStyle::bsCross, TBrushStyle::bsDiagCross}) {
    SCOPED_TRACE(static_cast<int>(style));
    TQtBitmap t = White(40, 30), r = White(40, 30);
    for (TQtBitmap* b : {&t, &r}) {
      b->SetBrushColor(clRed);
      b->SetBrushStyle(style);
    }
    const int w = t.TextWidth(text), h = t.TextHeight(text);
    t.TextOut(3, 4, text);
    r.SetPenColor(clWhite);
    r.Rectangle(2, 3, 3 + w + 1, 4 + h + 1);
    int red = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(t.Pixel(x, y), r.Pixel(x, y)) << x << "," << y;
        red += t.Pixel(x, y) == clRed;
      }
    EXPECT_GE(red, w);  // at least one hatch line across the box
    EXPECT_LT(red, w * h / 2);
  }
}

TEST(QtSurfaceText, TextRectPaintsOnlyInsideTheClip) {
  TQtBitmap b = White(60, 30);
  b.SetBrushColor(clSilver);
  b.SetFontColor(clBlack);
  const TRect clip{10, 8, 30, 20};
  b.TextRect(clip, 4, 6, "MMMMMMMMMM");
  int ink = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool in = x >= 10 && x < 30 && y >= 8 && y < 20;
      const TColor c = b.Pixel(x, y);
      if (!in)
        EXPECT_EQ(c, clWhite) << x << "," << y;
      else if (c != clSilver)
        ink += IsBlend(c, clBlack, clSilver) ? 1 : 1000;
    }
  EXPECT_GT(ink, 10);
  EXPECT_LT(ink, 1000);  // nothing but blends of black into silver
}

TEST(QtSurfaceCopy, DrawCopiesAtAnOffset) {
  TQtBitmap src(3, 2);
  src.Fill(clRed);
  src.SetPixel(0, 0, clGreen);
  TQtBitmap dst = White(10, 10);
  dst.Draw(4, 5, src);
  EXPECT_EQ(dst.Pixel(4, 5), clGreen);
  EXPECT_EQ(dst.Pixel(5, 5), clRed);
  EXPECT_EQ(dst.Pixel(6, 6), clRed);
  EXPECT_EQ(dst.Pixel(7, 5), clWhite);
  EXPECT_EQ(dst.Pixel(4, 7), clWhite);
  EXPECT_EQ(dst.Pixel(3, 5), clWhite);
  EXPECT_EQ(Inked(dst).size(), 6u);

  dst.Draw(-2, -1, src);  // partly outside
  EXPECT_EQ(dst.Pixel(0, 0), clRed);
  EXPECT_EQ(dst.Pixel(1, 0), clWhite);

  TRecBitmap rec(std::make_shared<TRecLog>());  // not a Qt bitmap: nothing happens
  rec.SetSize(10, 10);
  dst.Draw(0, 0, rec);
  EXPECT_EQ(Inked(dst).size(), 7u);
}

TEST(QtSurfaceCopy, ImageTakenBetweenDrawsKeepsItsContent) {
  TQtBitmap b = White(10, 10);
  b.SetBrushStyle(TBrushStyle::bsHorizontal);  // goes through the painter
  b.Rectangle(0, 0, 10, 10);
  const QImage snapshot = b.Image();
  const QImage frozen = snapshot.copy();
  b.SetBrushStyle(TBrushStyle::bsSolid);
  b.SetBrushColor(clRed);
  b.Rectangle(0, 0, 10, 10);
  b.MoveTo(0, 5);
  b.LineTo(9, 5);
  EXPECT_EQ(snapshot, frozen);
  EXPECT_EQ(b.Pixel(4, 4), clRed);
}

TEST(QtSurfaceSize, SetSizeAndFactory) {
  auto bmp = DefaultBitmapFactory()();
  ASSERT_NE(dynamic_cast<TQtBitmap*>(bmp.get()), nullptr);
  EXPECT_EQ(bmp->Width(), 0);
  bmp->MoveTo(0, 0);
  bmp->LineTo(5, 5);  // an empty bitmap ignores drawing
  bmp->SetSize(7, 3);
  EXPECT_EQ(bmp->Width(), 7);
  EXPECT_EQ(bmp->Height(), 3);
  EXPECT_EQ(static_cast<TQtBitmap&>(*bmp).Image().format(), QImage::Format_RGB32);
  bmp->SetSize(-1, 3);
  EXPECT_EQ(bmp->Width(), 0);
}
