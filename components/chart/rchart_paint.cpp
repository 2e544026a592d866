// TRChart: painting of the background, the chart area, the display list and the grid.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "components/chart/rchart.h"
#include "components/chart/scaleengine.h"

namespace {

// Mark patterns 1..25: seven rows from 3 pixels above the point to 3 below;
// bit 6 is the column 3 pixels left of the point, bit 0 the one 3 pixels right.
constexpr std::array<std::array<std::uint8_t, 7>, 25> kMarks = {{
    {0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00},  // small plus
    {0x00, 0x08, 0x08, 0x3E, 0x08, 0x08, 0x00},  // plus
    {0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08},  // large plus
    {0x00, 0x00, 0x14, 0x08, 0x14, 0x00, 0x00},  // small cross
    {0x00, 0x22, 0x14, 0x08, 0x14, 0x22, 0x00},  // cross
    {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41},  // large cross
    {0x00, 0x00, 0x1C, 0x1C, 0x1C, 0x00, 0x00},  // small filled square
    {0x00, 0x3E, 0x3E, 0x3E, 0x3E, 0x3E, 0x00},  // filled square
    {0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F},  // large filled square
    {0x00, 0x00, 0x1C, 0x14, 0x1C, 0x00, 0x00},  // small open square
    {0x00, 0x3E, 0x22, 0x22, 0x22, 0x3E, 0x00},  // open square
    {0x7F, 0x41, 0x41, 0x41, 0x41, 0x41, 0x7F},  // large open square
    {0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00},  // small filled diamond
    {0x00, 0x08, 0x1C, 0x3E, 0x1C, 0x08, 0x00},  // filled diamond
    {0x08, 0x1C, 0x3E, 0x7F, 0x3E, 0x1C, 0x08},  // large filled diamond
    {0x00, 0x1C, 0x22, 0x22, 0x22, 0x1C, 0x00},  // open circle
    {0x1C, 0x22, 0x41, 0x41, 0x41, 0x22, 0x1C},  // large open circle
    {0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55},  // checkerboard
    {0x08, 0x14, 0x22, 0x41, 0x22, 0x14, 0x08},  // large open diamond
    {0x00, 0x08, 0x14, 0x22, 0x00, 0x00, 0x00},  // small caret
    {0x08, 0x14, 0x22, 0x41, 0x00, 0x00, 0x00},  // large caret
    {0x00, 0x22, 0x14, 0x08, 0x00, 0x00, 0x00},  // small vee
    {0x41, 0x22, 0x14, 0x08, 0x00, 0x00, 0x00},  // large vee
    {0x1C, 0x3E, 0x7F, 0x7F, 0x7F, 0x3E, 0x1C},  // large filled circle
    {0x63, 0x77, 0x3E, 0x1C, 0x3E, 0x77, 0x63},  // bold cross
}};

constexpr int kItemClamp = 30000;
constexpr int kMaxGridPoints = 1000;
// Guard for the line grids: a step that is tiny against the range (or lost in
// the magnitude of the values) would take practically forever to reach its end.
constexpr int kMaxGridLines = 1000000;
// No colour of the 0x00BBGGRR range: forces the first real colour onto the surface.
constexpr TColor kNoColor = 0xFFFFFFFF;

int Clamp32(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

// The state of one drawing of the display list.
class TListPainter {
 public:
  TListPainter(TSurface& s, TColor scaleColor, TFontStyles textStyle, TBrushStyle textBkStyle,
               TColor textBkColor)
      : FSurface(s),
        FScaleColor(scaleColor),
        FTextStyle(textStyle),
        FTextBkStyle(textBkStyle),
        FTextBkColor(textBkColor) {
    FRun.reserve(TRChart::kMaxPolylinePoints);
  }

  void PenColor(TColor c) {
    if (c != FPen) {
      FPen = c;
      FSurface.SetPenColor(c);
    }
  }
  void BrushColor(TColor c) {
    if (c != FBrush) {
      FBrush = c;
      FSurface.SetBrushColor(c);
    }
  }
  void FontColor(TColor c) {
    if (c != FFont) {
      FFont = c;
      FSurface.SetFontColor(c);
    }
  }
  void BrushStyle(TBrushStyle b) {
    if (b != FBrushStyle) {
      FBrushStyle = b;
      FSurface.SetBrushStyle(b);
    }
  }
  void PenWidth(int w) {
    if (w != FWidth) {
      FWidth = w;
      FSurface.SetPenWidth(w);
    }
  }

  void Flush() {
    if (FRun.empty()) return;
    if (FRun.size() >= 2) FSurface.Polyline(FRun.data(), static_cast<int>(FRun.size()));
    FPos = FRun.back();
    FSurface.MoveTo(FPos.x, FPos.y);
    FRun.clear();
  }

  void MoveTo(TPoint p) {
    Flush();
    FPos = p;
    FSurface.MoveTo(p.x, p.y);
  }

  void LineTo(const TGrafItem& it, TPoint p) {
    if (it.Color != FPen || it.Width != FWidth) {
      Flush();
      PenColor(it.Color);
      PenWidth(it.Width);
    }
    if (FRun.empty()) FRun.push_back(FPos);
    FRun.push_back(p);
    if (static_cast<int>(FRun.size()) == TRChart::kMaxPolylinePoints) {
      FSurface.Polyline(FRun.data(), static_cast<int>(FRun.size()));
      FPos = p;
      FRun.clear();
      FRun.push_back(p);
    }
  }

  void Mark(const TGrafItem& it, TPoint p) {
    Flush();
    PenColor(it.Color);
    const int c = it.Mark;
    if (c >= 1 && c <= 25) {
      const auto& rows = kMarks[c - 1];
      for (int r = 0; r < 7; ++r) {
        for (int b = 0; b < 7; ++b) {
          if (rows[r] & (0x40 >> b)) FSurface.SetPixel(p.x - 3 + b, p.y - 3 + r, it.Color);
        }
      }
    } else if (c >= 33) {
      // The character is written with the surface's font and brush as they
      // stand: only the pen follows the item's colour.
      const char ch[2] = {static_cast<char>(c), 0};
      std::string text;
      if (c < 0x80) {
        text = ch;
      } else {  // Latin-1 code as UTF-8
        text.push_back(static_cast<char>(0xC0 | (c >> 6)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
      }
      CenteredText(p, text);
    } else {
      FSurface.SetPixel(p.x, p.y, it.Color);
    }
  }

  void Line(const TGrafItem& it, TPoint a, TPoint b) {
    Flush();
    PenColor(it.Color);
    if (a == b) {
      FSurface.SetPixel(a.x, a.y, it.Color);
    } else {
      FSurface.MoveTo(a.x, a.y);
      FSurface.LineTo(b.x, b.y);
    }
  }

  void FilledRect(const TGrafItem& it, TPoint a, TPoint b) {
    Flush();
    PenColor(FScaleColor);
    BrushColor(it.Color);
    BrushStyle(TBrushStyle::bsSolid);
    if (a == b) {
      FSurface.SetPixel(a.x, a.y, FScaleColor);
    } else {
      FSurface.Rectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
                         std::max(a.y, b.y) + 1);
    }
  }

  void Bar(const TGrafItem& it, TPoint a, TPoint b) {
    Flush();
    PenColor(FScaleColor);
    BrushColor(it.Color);
    BrushStyle(TBrushStyle::bsSolid);
    int x1 = std::min(a.x, b.x), x2 = std::max(a.x, b.x);
    const int y1 = std::min(a.y, b.y), y2 = std::max(a.y, b.y);
    const double rad = it.Angle * std::numbers::pi / 180.0;
    const int dx = static_cast<int>(std::nearbyint(std::cos(rad) * it.Depth));
    const int dy = -static_cast<int>(std::nearbyint(std::sin(rad) * it.Depth));
    if (it.Angle > 90) std::swap(x1, x2);
    const TPoint top[4] = {{x1, y1}, {x1 + dx, y1 + dy}, {x2 + dx, y1 + dy}, {x2, y1}};
    FSurface.Polygon(top, 4);
    const TPoint side[4] = {{x2 + dx, y1 + dy}, {x2, y1}, {x2, y2}, {x2 + dx, y2 + dy}};
    FSurface.Polygon(side, 4);
    FSurface.Rectangle(std::min(x1, x2), y1, std::max(x1, x2) + 1, y2 + 1);
  }

  void Text(const TGrafItem& it, TPoint p) {
    Flush();
    FontColor(it.Color);
    FSurface.SetFontStyle(FTextStyle);
    FSurface.SetFontSizePt(it.Size);
    FSurface.SetBrushColor(FTextBkColor);
    FSurface.SetBrushStyle(FTextBkStyle);
    FBrush = FTextBkColor;
    FBrushStyle = FTextBkStyle;
    CenteredText(p, it.Text);
  }

  void Finish() { Flush(); }

 private:
  void CenteredText(TPoint p, std::string_view text) {
    const int w = FSurface.TextWidth(text);
    const int h = FSurface.TextHeight(text);
    FSurface.TextOut(p.x - w / 2, p.y - h / 2, text);
  }

  TSurface& FSurface;
  TColor FScaleColor;
  TFontStyles FTextStyle;
  TBrushStyle FTextBkStyle;
  TColor FTextBkColor;
  TColor FPen = kNoColor, FBrush = kNoColor, FFont = kNoColor;
  // ClearChartArea leaves the brush solid.
  TBrushStyle FBrushStyle = TBrushStyle::bsSolid;
  int FWidth = -1;
  TPoint FPos{0, 0};
  std::vector<TPoint> FRun;
};

}  // namespace

TPoint TRChart::ItemPixel(double x, double y) const {
  int px, py;
  DataToPixel(x, y, px, py);
  px = std::clamp(px, -kItemClamp, kItemClamp) - FLRim;
  py = std::clamp(py, -kItemClamp, kItemClamp) - FTRim;
  return {px, py};
}

void TRChart::Paint() {
  DrawScales();
  ClearChartArea();
  DrawChartArea();
  FWinBmp->Draw(FLRim, FTRim, *FAreaBmp);
  Canvas().Draw(0, 0, *FWinBmp);
  // A zoom window being drawn stays on screen across the paint.
  if (FZoomWindow) XorBand(FZoomStart, FZoomLast);
  if (OnMouseMoveInChart) {
    double x, y;
    PixelToData(FLastMouse.x, FLastMouse.y, x, y);
    OnMouseMoveInChart(this, InChartArea(FLastMouse.x, FLastMouse.y), TShiftState{}, x, y);
  }
}

void TRChart::ShowGraf() {
  if (!Visible()) {
    SetVisible(true);  // which paints the whole control
    return;
  }
  if (FAutoRedraw) {
    ClearChartArea();
    DrawChartArea();
    Canvas().Draw(FLRim, FTRim, *FAreaBmp);
    // The copy covered a zoom window's band, which lies inside the chart area.
    if (FZoomWindow) XorBand(FZoomStart, FZoomLast);
    Invalidate();
  } else {
    Repaint();
  }
}

void TRChart::DrawScales() {
  TBitmap& b = *FWinBmp;
  const int w = Width();
  const int h = Height();
  const int s = FShadowWidth;
  b.SetSize(w, h);
  b.SetPenStyle(TPenStyle::psSolid);
  b.SetPenMode(TPenMode::pmCopy);
  b.SetPenWidth(1);
  b.SetPenColor(FWindColor);
  b.SetBrushColor(FWindColor);
  b.SetBrushStyle(TBrushStyle::bsSolid);
  b.Rectangle(0, 0, w, h);
  if (s > 0) {
    b.SetPenColor(FShadowBakColor);
    b.SetBrushColor(FShadowBakColor);
    b.Rectangle(w - s, 0, w, s);
    b.Rectangle(0, h - s, s, h);
    b.SetBrushColor(FShadowColor);
    int m;
    if (FShadowStyle == TShadowStyle::ssFlying) {
      b.SetPenColor(FShadowColor);
      m = s - 1;
    } else {
      b.SetPenColor(clBlack);
      m = 0;
    }
    const TPoint bottom[4] = {{m, h - s}, {s - 1, h - 1}, {w, h - 1}, {w - s, h - s}};
    b.Polygon(bottom, 4);
    const TPoint right[4] = {{w - s, h - s}, {w - 1, h - 1}, {w - 1, s - 1}, {w - s, m}};
    b.Polygon(right, 4);
    b.SetPenColor(clBlack);
    b.MoveTo(0, 0);
    b.LineTo(0, h - s);
    b.LineTo(w - s, h - s);
    b.LineTo(w - s, 0);
    b.LineTo(0, 0);
  }
  b.SetPenColor(FScaleColor);
  b.SetBrushStyle(TBrushStyle::bsClear);
  b.SetFont(Font());
  if (!FCaption.empty()) {
    const int tw = b.TextWidth(FCaption);
    const int th = b.TextHeight(FCaption);
    b.TextOut(w - FRRim - s - tw, FTRim - th, FCaption);
  }
  CalcScaling();
  if (FX.LabelType != FigType::NoScales) DrawXScale(b);
  if (FY.LabelType != FigType::NoScales) DrawYScale(b);
}

void TRChart::ClearChartArea() {
  const int cw = AreaWidth();
  const int ch = AreaHeight();
  TBitmap& b = *FAreaBmp;
  b.SetSize(std::max(0, cw + 1), std::max(0, ch + 1));
  if (cw + 1 <= 0 || ch + 1 <= 0) return;
  b.SetPenStyle(TPenStyle::psSolid);
  b.SetPenMode(TPenMode::pmCopy);
  b.SetBrushStyle(TBrushStyle::bsSolid);
  b.SetBrushColor(FChartColor);
  b.SetPenColor(FScaleColor);
  b.Rectangle(0, 0, cw + 1, ch + 1);
}

void TRChart::DrawChartArea() {
  const int cw = AreaWidth();
  const int ch = AreaHeight();
  if (cw + 1 <= 0 || ch + 1 <= 0) return;  // nothing of the area is visible
  TBitmap& b = *FAreaBmp;
  if (FGridStyle != gsNone) DrawGrid();
  b.SetFont(Font());
  b.MoveTo(0, 0);

  TListPainter lp(b, FScaleColor, FTextFontStyle, FTextBkStyle, FTextBkColor);
  for (const TGrafItem& it : FItems) {
    switch (it.Kind) {
      case gkEnd:
        break;
      case gkMark:
        lp.Flush();
        lp.PenWidth(it.Width);
        lp.Mark(it, ItemPixel(it.x, it.y));
        break;
      case gkLine:
        lp.Flush();
        lp.PenWidth(it.Width);
        lp.Line(it, ItemPixel(it.x, it.y), ItemPixel(it.x2, it.y2));
        break;
      case gkLineTo:
        lp.LineTo(it, ItemPixel(it.x, it.y));
        break;
      case gkFilledRect:
        lp.Flush();
        lp.PenWidth(it.Width);
        lp.FilledRect(it, ItemPixel(it.x, it.y), ItemPixel(it.x2, it.y2));
        break;
      case gkBar3D:
        lp.Flush();
        lp.PenWidth(it.Width);
        lp.Bar(it, ItemPixel(it.x, it.y), ItemPixel(it.x2, it.y2));
        break;
      case gkText:
        lp.Flush();
        lp.PenWidth(it.Width);
        lp.Text(it, ItemPixel(it.x, it.y));
        break;
      case gkMoveTo:
        lp.MoveTo(ItemPixel(it.x, it.y));
        break;
    }
    if (it.Kind == gkEnd) break;
  }
  lp.Finish();

  // The frame of the chart area.
  b.SetPenWidth(1);
  b.SetPenColor(FScaleColor);
  b.MoveTo(0, 0);
  b.LineTo(cw, 0);
  b.LineTo(cw, ch);
  b.LineTo(0, ch);
  b.LineTo(0, 0);
}

void TRChart::DrawGrid() {
  TBitmap& b = *FAreaBmp;
  const double loX = std::min(FX.Lo, FX.Hi), hiX = std::max(FX.Lo, FX.Hi);
  const double loY = std::min(FY.Lo, FY.Hi), hiY = std::max(FY.Lo, FY.Hi);
  const double firstX = FirstGridValue(FX, FGridDx, loX);
  const double firstY = FirstGridValue(FY, FGridDy, loY);
  b.SetPenColor(FGridColor);

  auto pixel = [this](double x, double y) {
    int px, py;
    DataToPixel(x, y, px, py);
    return TPoint{Clamp32(static_cast<long long>(px) - FLRim),
                  Clamp32(static_cast<long long>(py) - FTRim)};
  };
  // Walks the grid values of one axis, stopping when a value fails to advance.
  auto walk = [](const TChartAxis& axis, double step, double first, double hi, int limit,
                 auto&& fn) {
    double v = first;
    for (int i = 0; i < limit && v < hi; ++i) {
      if (!fn(v)) return;
      const double next = NextGridValue(axis, step, v);
      if (!(next > v)) return;
      v = next;
    }
  };
  auto vertical = [&] {
    TPoint last{INT32_MIN, INT32_MIN};
    walk(FX, FGridDx, firstX, hiX, kMaxGridLines, [&](double x) {
      const TPoint a = pixel(x, FY.Lo), c = pixel(x, FY.Hi);
      if (a == last) return true;  // the same line again adds nothing
      last = a;
      b.MoveTo(a.x, a.y);
      b.LineTo(c.x, c.y);
      return true;
    });
  };
  auto horizontal = [&] {
    TPoint last{INT32_MIN, INT32_MIN};
    walk(FY, FGridDy, firstY, hiY, kMaxGridLines, [&](double y) {
      const TPoint a = pixel(FX.Lo, y), c = pixel(FX.Hi, y);
      if (a == last) return true;
      last = a;
      b.MoveTo(a.x, a.y);
      b.LineTo(c.x, c.y);
      return true;
    });
  };
  const bool dotted =
      FGridStyle == gsHorizDotLines || FGridStyle == gsVertDotLines || FGridStyle == gsDotLines;
  if (dotted) b.SetPenStyle(TPenStyle::psDot);
  switch (FGridStyle) {
    case gsNone:
      break;
    case gsPoints: {
      int count = 0;
      walk(FX, FGridDx, firstX, hiX, kMaxGridPoints, [&](double x) {
        walk(FY, FGridDy, firstY, hiY, kMaxGridPoints, [&](double y) {
          const TPoint p = pixel(x, y);
          b.SetPixel(p.x, p.y, FGridColor);
          return ++count < kMaxGridPoints;
        });
        return count < kMaxGridPoints;
      });
      break;
    }
    case gsVertLines:
    case gsVertDotLines:
      vertical();
      break;
    case gsHorizLines:
    case gsHorizDotLines:
      horizontal();
      break;
    case gsLines:
    case gsDotLines:
      vertical();
      horizontal();
      break;
  }
  if (dotted) b.SetPenStyle(TPenStyle::psSolid);
}
