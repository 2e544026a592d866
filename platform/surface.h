#pragma once
// The 2-D drawing surface the components paint on, and off-screen bitmaps.
//
// Qt-free interface with two implementations: one over QPainter on a QImage
// (qtsurface.h), one that records the calls for tests (tests/support/recsurface.h).
//
// Semantics the components rely on:
//  - LineTo(x, y) draws from the pen position to (x, y) leaving out the end pixel,
//    and leaves the pen at (x, y).
//  - Polyline draws through its points with the pen; it neither uses nor moves the
//    pen position.
//  - Rectangle(l, t, r, b) outlines with the pen and fills with the brush; the right
//    column r and the bottom row b are left out.
//  - Polygon outlines with the pen and fills with the brush.
//  - TextOut places the top-left corner of the text box at (x, y) and paints the
//    brush as background unless the brush style is clear.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "components/common/set.h"

// Colours are 0x00BBGGRR: red in the low byte.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;

enum class TPenStyle { psSolid, psDot };  // dotted: one pixel on, one off
enum class TPenMode { pmCopy, pmXor, pmNot };
enum class TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

// Font styles; a font has a set of them.
enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

struct TFont {
  std::string Name = "Arial";
  int PixelSize = 13;  // the forms give their fonts in pixels
  TFontStyles Style;
  TColor Color = clBlack;
  bool operator==(const TFont&) const = default;
};

struct TPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TRect&) const = default;
};

class TBitmap;

class TSurface {
 public:
  virtual ~TSurface() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual void SetPenColor(TColor c) = 0;
  virtual void SetPenWidth(int w) = 0;
  virtual void SetPenStyle(TPenStyle s) = 0;
  virtual void SetPenMode(TPenMode m) = 0;
  virtual void SetBrushColor(TColor c) = 0;
  virtual void SetBrushStyle(TBrushStyle s) = 0;

  // SetFont replaces the whole font; the other three change one attribute of it.
  virtual void SetFont(const TFont& f) = 0;
  virtual void SetFontColor(TColor c) = 0;
  virtual void SetFontSizePt(int points) = 0;
  virtual void SetFontStyle(TFontStyles s) = 0;

  virtual void SetPixel(int x, int y, TColor c) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(const TPoint* pts, int n) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void Polygon(const TPoint* pts, int n) = 0;

  // Texts are UTF-8.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual void TextRect(const TRect& clip, int x, int y, std::string_view text) = 0;
  virtual int TextWidth(std::string_view text) = 0;
  virtual int TextHeight(std::string_view text) = 0;

  // Copies the whole bitmap with its top-left corner at (x, y).
  virtual void Draw(int x, int y, const TBitmap& src) = 0;
};

// An off-screen bitmap: a surface whose size can be set.
class TBitmap : public TSurface {
 public:
  virtual void SetSize(int width, int height) = 0;
};

// Creates the bitmaps a component draws into. The default makes Qt bitmaps;
// tests install one that makes recording bitmaps.
using TBitmapFactory = std::function<std::unique_ptr<TBitmap>()>;
