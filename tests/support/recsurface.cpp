#include "tests/support/recsurface.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <optional>
#include <utility>

#include "platform/qtsurface.h"

const char* RecKindName(TRecKind k) {
  switch (k) {
    case TRecKind::rkSetSize:
      return "SetSize";
    case TRecKind::rkSetPenColor:
      return "SetPenColor";
    case TRecKind::rkSetPenWidth:
      return "SetPenWidth";
    case TRecKind::rkSetPenStyle:
      return "SetPenStyle";
    case TRecKind::rkSetPenMode:
      return "SetPenMode";
    case TRecKind::rkSetBrushColor:
      return "SetBrushColor";
    case TRecKind::rkSetBrushStyle:
      return "SetBrushStyle";
    case TRecKind::rkSetFont:
      return "SetFont";
    case TRecKind::rkSetFontColor:
      return "SetFontColor";
    case TRecKind::rkSetFontSizePt:
      return "SetFontSizePt";
    case TRecKind::rkSetFontStyle:
      return "SetFontStyle";
    case TRecKind::rkSetPixel:
      return "SetPixel";
    case TRecKind::rkMoveTo:
      return "MoveTo";
    case TRecKind::rkLineTo:
      return "LineTo";
    case TRecKind::rkPolyline:
      return "Polyline";
    case TRecKind::rkRectangle:
      return "Rectangle";
    case TRecKind::rkPolygon:
      return "Polygon";
    case TRecKind::rkTextOut:
      return "TextOut";
    case TRecKind::rkTextRect:
      return "TextRect";
    case TRecKind::rkDraw:
      return "Draw";
  }
  return "?";
}

std::size_t TRecLog::Count(TRecKind k, int bitmap) const {
  return static_cast<std::size_t>(std::count_if(begin(), end(), [&](const TRecCall& c) {
    return c.Kind == k && (bitmap == 0 || c.Bitmap == bitmap);
  }));
}

std::vector<TRecCall> TRecLog::OfKind(TRecKind k, int bitmap) const {
  std::vector<TRecCall> out;
  for (const TRecCall& c : *this)
    if (c.Kind == k && (bitmap == 0 || c.Bitmap == bitmap)) out.push_back(c);
  return out;
}

TRecBitmap::TRecBitmap(std::shared_ptr<TRecLog> log) : FLog(std::move(log)) {
  if (!FLog) FLog = std::make_shared<TRecLog>();
  FNumber = FLog->NewBitmapNumber();
  FState.Bitmap = FNumber;
}

TRecCall& TRecBitmap::Add(TRecKind k) {
  TRecCall& c = FLog->emplace_back(FState);
  c.Kind = k;
  return c;
}

void TRecBitmap::SetSize(int width, int height) {
  FState.Width = std::max(0, width);
  FState.Height = std::max(0, height);
  TRecCall& c = Add(TRecKind::rkSetSize);
  c.Value = FState.Width;
  c.Value2 = FState.Height;
}

void TRecBitmap::SetPenColor(TColor c) {
  FState.PenColor = c;
  Add(TRecKind::rkSetPenColor).Color = c;
}

void TRecBitmap::SetPenWidth(int w) {
  FState.PenWidth = w < 1 ? 1 : w;
  Add(TRecKind::rkSetPenWidth).Value = w;
}

void TRecBitmap::SetPenStyle(TPenStyle s) {
  FState.PenStyle = s;
  Add(TRecKind::rkSetPenStyle).Value = static_cast<int>(s);
}

void TRecBitmap::SetPenMode(TPenMode m) {
  FState.PenMode = m;
  Add(TRecKind::rkSetPenMode).Value = static_cast<int>(m);
}

void TRecBitmap::SetBrushColor(TColor c) {
  FState.BrushColor = c;
  Add(TRecKind::rkSetBrushColor).Color = c;
}

void TRecBitmap::SetBrushStyle(TBrushStyle s) {
  FState.BrushStyle = s;
  Add(TRecKind::rkSetBrushStyle).Value = static_cast<int>(s);
}

void TRecBitmap::SetFont(const TFont& f) {
  FState.Font = f;
  Add(TRecKind::rkSetFont).Text = f.Name;
}

void TRecBitmap::SetFontColor(TColor c) {
  FState.Font.Color = c;
  Add(TRecKind::rkSetFontColor).Color = c;
}

void TRecBitmap::SetFontSizePt(int points) {
  FState.Font.PixelSize = PointsToPixels(points);
  Add(TRecKind::rkSetFontSizePt).Value = points;
}

void TRecBitmap::SetFontStyle(TFontStyles s) {
  FState.Font.Style = s;
  Add(TRecKind::rkSetFontStyle).Value = static_cast<int>(s.Bits());
}

void TRecBitmap::SetPixel(int x, int y, TColor c) {
  TRecCall& r = Add(TRecKind::rkSetPixel);
  r.Points = {{x, y}};
  r.Color = c;
}

void TRecBitmap::MoveTo(int x, int y) {
  FState.PenPos = {x, y};
  Add(TRecKind::rkMoveTo).Points = {{x, y}};
}

void TRecBitmap::LineTo(int x, int y) {
  const TPoint from = FState.PenPos;
  FState.PenPos = {x, y};
  Add(TRecKind::rkLineTo).Points = {from, {x, y}};
}

void TRecBitmap::Polyline(const TPoint* pts, int n) {
  Add(TRecKind::rkPolyline).Points.assign(pts, pts + std::max(0, n));
}

void TRecBitmap::Rectangle(int left, int top, int right, int bottom) {
  Add(TRecKind::rkRectangle).Rect = {left, top, right, bottom};
}

void TRecBitmap::Polygon(const TPoint* pts, int n) {
  Add(TRecKind::rkPolygon).Points.assign(pts, pts + std::max(0, n));
}

void TRecBitmap::TextOut(int x, int y, std::string_view text) {
  TRecCall& r = Add(TRecKind::rkTextOut);
  r.Points = {{x, y}};
  r.Text = std::string(text);
}

void TRecBitmap::TextRect(const TRect& clip, int x, int y, std::string_view text) {
  TRecCall& r = Add(TRecKind::rkTextRect);
  r.Rect = clip;
  r.Points = {{x, y}};
  r.Text = std::string(text);
}

namespace {

// Metrics of the last font asked for; components measure many texts in one font.
const QFontMetrics& MetricsFor(const TFont& f) {
  static std::optional<std::pair<TFont, QFontMetrics>> last;
  if (!last || last->first.Name != f.Name || last->first.PixelSize != f.PixelSize ||
      last->first.Style != f.Style)
    last.emplace(f, QFontMetrics(ToQFont(f)));
  return last->second;
}

}  // namespace

int TRecBitmap::TextWidth(std::string_view text) {
  return MetricsFor(FState.Font)
      .horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int TRecBitmap::TextHeight(std::string_view) {
  return MetricsFor(FState.Font).height();
}

void TRecBitmap::Draw(int x, int y, const TBitmap& src) {
  TRecCall& r = Add(TRecKind::rkDraw);
  r.Points = {{x, y}};
  const auto* rec = dynamic_cast<const TRecBitmap*>(&src);
  r.Value = rec ? rec->Number() : 0;
  r.Rect = {x, y, x + src.Width(), y + src.Height()};
}

TBitmapFactory RecordingFactory(std::shared_ptr<TRecLog> log) {
  return [log]() -> std::unique_ptr<TBitmap> { return std::make_unique<TRecBitmap>(log); };
}
