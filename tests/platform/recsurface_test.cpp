#include "tests/support/recsurface.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/qtsurface.h"

TEST(RecSurface, BitmapsOfOneFactoryShareTheLogInCallOrder) {
  auto log = std::make_shared<TRecLog>();
  TBitmapFactory make = RecordingFactory(log);
  auto a = make();
  auto b = make();
  a->SetSize(30, 20);
  b->SetSize(5, 4);
  a->Draw(2, 3, *b);
  ASSERT_EQ(log->size(), 3u);
  EXPECT_EQ((*log)[0].Kind, TRecKind::rkSetSize);
  EXPECT_EQ((*log)[0].Bitmap, 1);
  EXPECT_EQ((*log)[0].Value, 30);
  EXPECT_EQ((*log)[0].Value2, 20);
  EXPECT_EQ((*log)[1].Bitmap, 2);
  const TRecCall& draw = (*log)[2];
  EXPECT_EQ(draw.Kind, TRecKind::rkDraw);
  EXPECT_EQ(draw.Bitmap, 1);
  EXPECT_EQ(draw.Value, 2);  // the source bitmap's number
  EXPECT_EQ(draw.Points, std::vector<TPoint>({{2, 3}}));
  EXPECT_EQ(draw.Rect, (TRect{2, 3, 7, 7}));
  EXPECT_EQ(a->Width(), 30);
  EXPECT_EQ(log->Bitmaps(), 2);
}

TEST(RecSurface, PenPositionFollowsMoveAndLineButNotPolyline) {
  auto log = std::make_shared<TRecLog>();
  TRecBitmap b(log);
  b.MoveTo(1, 2);
  b.LineTo(5, 6);
  const TPoint pts[] = {{10, 10}, {20, 20}, {30, 5}};
  b.Polyline(pts, 3);
  b.LineTo(7, 8);
  EXPECT_EQ(b.PenPos(), (TPoint{7, 8}));
  const auto lines = log->OfKind(TRecKind::rkLineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Points, std::vector<TPoint>({{1, 2}, {5, 6}}));
  EXPECT_EQ(lines[1].Points, std::vector<TPoint>({{5, 6}, {7, 8}}));  // polyline did not move it
  const auto polys = log->OfKind(TRecKind::rkPolyline);
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].Points, std::vector<TPoint>(std::begin(pts), std::end(pts)));
  EXPECT_EQ(polys[0].PenPos, (TPoint{5, 6}));
}

TEST(RecSurface, EntriesCarryTheStateTheyWereDrawnWith) {
  auto log = std::make_shared<TRecLog>();
  TRecBitmap b(log);
  b.SetPenColor(clRed);
  b.SetBrushColor(clNavy);
  b.SetBrushStyle(TBrushStyle::bsClear);
  b.SetPenWidth(3);
  b.SetPenStyle(TPenStyle::psDot);
  b.SetPenMode(TPenMode::pmXor);
  b.Rectangle(1, 2, 3, 4);
  b.SetPenColor(clGreen);
  b.SetFontColor(clBlue);
  b.SetFontStyle({TFontStyle::fsBold, TFontStyle::fsItalic});
  b.SetFontSizePt(12);
  b.TextOut(4, 5, "abc");
  b.SetPixel(9, 9, clSilver);

  EXPECT_EQ(log->Count(TRecKind::rkSetPenColor), 2u);
  const TRecCall rect = log->OfKind(TRecKind::rkRectangle).at(0);
  EXPECT_EQ(rect.Rect, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(rect.PenColor, clRed);
  EXPECT_EQ(rect.BrushColor, clNavy);
  EXPECT_EQ(rect.BrushStyle, TBrushStyle::bsClear);
  EXPECT_EQ(rect.PenWidth, 3);
  EXPECT_EQ(rect.PenStyle, TPenStyle::psDot);
  EXPECT_EQ(rect.PenMode, TPenMode::pmXor);

  const TRecCall text = log->OfKind(TRecKind::rkTextOut).at(0);
  EXPECT_EQ(text.Text, "abc");
  EXPECT_EQ(text.Points, std::vector<TPoint>({{4, 5}}));
  EXPECT_EQ(text.PenColor, clGreen);
  EXPECT_EQ(text.Font.Color, clBlue);
  EXPECT_EQ(text.Font.Style, (TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic}));
  EXPECT_EQ(text.Font.PixelSize, 16);
  EXPECT_EQ(text.Font.Name, "Arial");

  const TRecCall px = log->back();
  EXPECT_EQ(px.Kind, TRecKind::rkSetPixel);
  EXPECT_EQ(px.Color, clSilver);
  EXPECT_EQ(px.Points, std::vector<TPoint>({{9, 9}}));
  EXPECT_STREQ(RecKindName(px.Kind), "SetPixel");
}

TEST(RecSurface, MeasuresLikeAQtBitmapWithoutLogging) {
  auto log = std::make_shared<TRecLog>();
  TRecBitmap rec(log);
  TQtBitmap qt;
  TFont f;
  f.Name = "Arial";
  f.PixelSize = 17;
  f.Style = {TFontStyle::fsBold};
  rec.SetFont(f);
  qt.SetFont(f);
  const std::size_t logged = log->size();
  EXPECT_EQ(rec.TextWidth("Range 300.00"), qt.TextWidth("Range 300.00"));
  EXPECT_EQ(rec.TextHeight("(8g]}"), qt.TextHeight("(8g]}"));
  EXPECT_EQ(rec.TextWidth("Range"), QFontMetrics(ToQFont(f)).horizontalAdvance("Range"));
  EXPECT_EQ(log->size(), logged);

  rec.SetFontSizePt(8);
  qt.SetFontSizePt(8);
  EXPECT_EQ(rec.TextWidth("Range 300.00"), qt.TextWidth("Range 300.00"));
  EXPECT_LT(rec.TextWidth("Range 300.00"),
            QFontMetrics(ToQFont(f)).horizontalAdvance("Range 300.00"));
}

TEST(RecSurface, CountAndOfKindFilterByBitmap) {
  auto log = std::make_shared<TRecLog>();
  TRecBitmap a(log), b(log);
  const TPoint p[] = {{0, 0}, {1, 1}};
  a.Polyline(p, 2);
  b.Polyline(p, 2);
  b.Polyline(p, 1);
  EXPECT_EQ(log->Count(TRecKind::rkPolyline), 3u);
  EXPECT_EQ(log->Count(TRecKind::rkPolyline, a.Number()), 1u);
  EXPECT_EQ(log->OfKind(TRecKind::rkPolyline, b.Number()).back().Points.size(), 1u);
  EXPECT_EQ(log->Count(TRecKind::rkPolygon), 0u);
}
