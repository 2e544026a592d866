#pragma once
// A bitmap that records every drawing call instead of drawing, for tests.
//
// All bitmaps made by one RecordingFactory append to the same log, in call
// order. Each entry carries the call's own arguments and a snapshot of the
// bitmap's state at the time (pen, brush, font, pen position), so a test can
// ask "in which colour was this polyline drawn". Text measurements use the Qt
// font metrics of the current font, so layouts equal those on a Qt bitmap;
// they are answered but not recorded.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

enum class TRecKind {
  rkSetSize,
  rkSetPenColor,
  rkSetPenWidth,
  rkSetPenStyle,
  rkSetPenMode,
  rkSetBrushColor,
  rkSetBrushStyle,
  rkSetFont,
  rkSetFontColor,
  rkSetFontSizePt,
  rkSetFontStyle,
  rkSetPixel,
  rkMoveTo,
  rkLineTo,
  rkPolyline,
  rkRectangle,
  rkPolygon,
  rkTextOut,
  rkTextRect,
  rkDraw
};

// A readable name of a kind ("Polyline", "LineTo", ...), for test messages.
const char* RecKindName(TRecKind k);

struct TRecCall {
  TRecKind Kind = TRecKind::rkSetSize;
  int Bitmap = 0;  // number of the recording bitmap (1, 2, ... in creation order)

  // Arguments (which ones are used depends on the kind):
  std::vector<TPoint> Points;  // MoveTo/LineTo/SetPixel/TextOut/TextRect/Draw: one point
                               // (the target, pixel, text or copy position);
                               // LineTo: two points (from, to); Polyline/Polygon: all points
  TRect Rect;                  // Rectangle; TextRect: the clip rectangle;
                               // Draw: the area covered by the copy
  TColor Color = 0;            // the colour argument of SetPixel and the Set...Color calls
  int Value = 0;  // SetSize: width (Value) and height (Value2); SetPenWidth; SetFontSizePt;
                  // SetFontStyle; SetPenStyle/SetPenMode/SetBrushStyle as int; Draw: source number
  int Value2 = 0;
  std::string Text;  // TextOut/TextRect; SetFont: the font name

  // State after the call (for drawing calls: the state they were drawn with).
  TPoint PenPos;
  TColor PenColor = clBlack;
  int PenWidth = 1;
  TPenStyle PenStyle = TPenStyle::psSolid;
  TPenMode PenMode = TPenMode::pmCopy;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = TBrushStyle::bsSolid;
  TFont Font;
  int Width = 0, Height = 0;  // bitmap size
};

// The shared log: a vector of calls with a few queries.
class TRecLog : public std::vector<TRecCall> {
 public:
  // Number of calls of one kind (optionally only those of one bitmap; 0 = all).
  std::size_t Count(TRecKind k, int bitmap = 0) const;
  // The calls of one kind, in order.
  std::vector<TRecCall> OfKind(TRecKind k, int bitmap = 0) const;
  // Number of bitmaps created so far.
  int Bitmaps() const { return FBitmaps; }
  int NewBitmapNumber() { return ++FBitmaps; }

 private:
  int FBitmaps = 0;
};

class TRecBitmap : public TBitmap {
 public:
  explicit TRecBitmap(std::shared_ptr<TRecLog> log);

  int Number() const { return FNumber; }
  const std::shared_ptr<TRecLog>& Log() const { return FLog; }
  TPoint PenPos() const { return FState.PenPos; }
  TColor PenColor() const { return FState.PenColor; }
  int PenWidth() const { return FState.PenWidth; }
  TPenStyle PenStyle() const { return FState.PenStyle; }
  TPenMode PenMode() const { return FState.PenMode; }
  TColor BrushColor() const { return FState.BrushColor; }
  TBrushStyle BrushStyle() const { return FState.BrushStyle; }
  const TFont& Font() const { return FState.Font; }

  int Width() const override { return FState.Width; }
  int Height() const override { return FState.Height; }
  void SetSize(int width, int height) override;

  void SetPenColor(TColor c) override;
  void SetPenWidth(int w) override;
  void SetPenStyle(TPenStyle s) override;
  void SetPenMode(TPenMode m) override;
  void SetBrushColor(TColor c) override;
  void SetBrushStyle(TBrushStyle s) override;

  void SetFont(const TFont& f) override;
  void SetFontColor(TColor c) override;
  void SetFontSizePt(int points) override;
  void SetFontStyle(TFontStyles s) override;

  void SetPixel(int x, int y, TColor c) override;
  void MoveTo(int x, int y) override;
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
  TRecCall& Add(TRecKind k);

  std::shared_ptr<TRecLog> FLog;
  int FNumber = 0;
  TRecCall FState;  // the current state, copied into every entry
};

// Makes recording bitmaps that all append to `log`.
TBitmapFactory RecordingFactory(std::shared_ptr<TRecLog> log);
