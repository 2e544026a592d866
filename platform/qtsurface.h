#pragma once
// Drawing surface over a QImage (32-bit RGB). Lines and fills are drawn without
// antialiasing, pixel for pixel; text is drawn smoothed, as Qt's own labels draw it.
//
// One-pixel pens are rasterised here (exact end-pixel rules, pen modes, dotted
// style); fills, wide pens and text go through a QPainter that stays open
// between calls and is closed when the image is read or resized.
//
// Pixel rules beyond those of TSurface:
//  - Polyline draws its segments like consecutive LineTo calls: the last point
//    itself is left out, every inner point is drawn once.
//  - Dotted pens draw one pixel on, one off; the pattern starts "on" at the
//    first pixel of each LineTo and runs on across the segments of a polyline or
//    polygon outline. Wider pens are always solid, with round ends.
//  - Hatched brushes paint only their hatch lines (8-pixel pattern aligned with
//    the bitmap origin) and leave the pixels between them untouched.
//  - The pen mode applies to lines, outlines and fills; SetPixel, text and Draw
//    always copy. A filled polygon with a one-pixel pen in exclusive-or or
//    inverting mode changes every pixel once: its outline with the pen, the
//    rest of its inside with the brush, as the copy mode would paint them.
//  - Text gets the brush as its background unless the brush is clear; a
//    hatched brush paints its hatch lines behind the text.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>
#include <string>

#include "platform/surface.h"

// The one conversion between TColor (0x00BBGGRR) and Qt colours.
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

// The Qt font for a TFont (pixel size, style flags, no antialiasing).
QFont ToQFont(const TFont& f);

// Pixel size for a point size on a 96 dots-per-inch surface (rounded).
int PointsToPixels(int points);

class TQtBitmap : public TBitmap {
 public:
  TQtBitmap();
  TQtBitmap(int width, int height);
  ~TQtBitmap() override;
  TQtBitmap(const TQtBitmap&) = delete;
  TQtBitmap& operator=(const TQtBitmap&) = delete;

  // The pixels; closes the internal painter so the image is complete.
  const QImage& Image() const;
  // Reads one pixel as TColor; outside the bitmap gives clBlack.
  TColor Pixel(int x, int y) const;
  // Fills the whole bitmap with one colour (no pen or brush involved).
  void Fill(TColor c);

  // Current state, for the control base and tests.
  TPoint PenPos() const { return FPenPos; }
  TColor PenColor() const { return FPenColor; }
  int PenWidth() const { return FPenWidth; }
  TPenStyle PenStyle() const { return FPenStyle; }
  TPenMode PenMode() const { return FPenMode; }
  TColor BrushColor() const { return FBrushColor; }
  TBrushStyle BrushStyle() const { return FBrushStyle; }
  const TFont& Font() const { return FFont; }

  int Width() const override { return FImage.width(); }
  int Height() const override { return FImage.height(); }
  // A new size gives a white image; setting the current size keeps the pixels.
  void SetSize(int width, int height) override;

  void SetPenColor(TColor c) override { FPenColor = c; }
  void SetPenWidth(int w) override { FPenWidth = w < 1 ? 1 : w; }
  void SetPenStyle(TPenStyle s) override { FPenStyle = s; }
  void SetPenMode(TPenMode m) override { FPenMode = m; }
  void SetBrushColor(TColor c) override { FBrushColor = c; }
  void SetBrushStyle(TBrushStyle s) override { FBrushStyle = s; }

  void SetFont(const TFont& f) override;
  void SetFontColor(TColor c) override { FFont.Color = c; }
  void SetFontSizePt(int points) override;
  void SetFontStyle(TFontStyles s) override;

  void SetPixel(int x, int y, TColor c) override;
  void MoveTo(int x, int y) override { FPenPos = {x, y}; }
  void LineTo(int x, int y) override;
  void Polyline(const TPoint* pts, int n) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Polygon(const TPoint* pts, int n) override;

  void TextOut(int x, int y, std::string_view text) override;
  void TextRect(const TRect& clip, int x, int y, std::string_view text) override;
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;

  void Draw(int x, int y, const TBitmap& src) override;

 private:
  QPainter& Painter();
  void EndPainter() const;
  void ApplyRasterOp(QPainter& p) const;
  const QFontMetrics& Metrics();
  // One-pixel line from a to b; the end pixel is drawn only when includeEnd.
  // phase carries the dotted pattern across segments.
  void ThinLine(TPoint a, TPoint b, bool includeEnd, int& phase);
  void MaskedPolygon(const TPoint* pts, int n);
  void WideLine(TPoint a, TPoint b);
  void PlotRun(std::uint32_t* row, int x0, int x1, std::uint32_t c);
  void FillRect(int l, int t, int r, int b);
  void DrawText(int x, int y, const QString& s, const QRect* clip);

  mutable QImage FImage;
  mutable std::unique_ptr<QPainter> FPainter;
  TPoint FPenPos;
  TColor FPenColor = clBlack;
  int FPenWidth = 1;
  TPenStyle FPenStyle = TPenStyle::psSolid;
  TPenMode FPenMode = TPenMode::pmCopy;
  TColor FBrushColor = clWhite;
  TBrushStyle FBrushStyle = TBrushStyle::bsSolid;
  TFont FFont;
  std::optional<QFont> FQFont;
  std::optional<QFontMetrics> FMetrics;
  // While set, ThinLine marks the pixels here instead of drawing them.
  struct TPixelMask* FMask = nullptr;
};

// The bitmap as a PNG picture in memory; nothing when it cannot be encoded.
std::optional<std::string> EncodePng(const TQtBitmap& bitmap);

std::unique_ptr<TBitmap> MakeQtBitmap();
// The factory the components use unless a test installs another one.
TBitmapFactory DefaultBitmapFactory();
