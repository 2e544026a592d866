#include "platform/qtsurface.h"

#include <QBrush>
#include <QBuffer>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

std::uint32_t ToRgb32(TColor c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

QString ToQString(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

Qt::BrushStyle HatchStyle(TBrushStyle s) {
  switch (s) {
    case TBrushStyle::bsSolid:
      return Qt::SolidPattern;
    case TBrushStyle::bsClear:
      return Qt::NoBrush;
    case TBrushStyle::bsHorizontal:
      return Qt::HorPattern;
    case TBrushStyle::bsVertical:
      return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal:
      return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal:
      return Qt::BDiagPattern;
    case TBrushStyle::bsCross:
      return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross:
      return Qt::DiagCrossPattern;
  }
  return Qt::NoBrush;
}

// Applies the pen mode to one pixel value.
inline void Plot(std::uint32_t& p, std::uint32_t c, TPenMode m) {
  switch (m) {
    case TPenMode::pmCopy:
      p = c;
      break;
    case TPenMode::pmXor:
      p ^= c & 0x00FFFFFFu;
      break;
    case TPenMode::pmNot:
      p ^= 0x00FFFFFFu;
      break;
  }
}

}  // namespace

// The pixels a drawing covers, within a box of the bitmap.
struct TPixelMask {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<std::uint8_t> Bits;
  void Set(long long x, long long y) {
    x -= Left;
    y -= Top;
    if (x >= 0 && y >= 0 && x < Width && y < Height) Bits[y * Width + x] = 1;
  }
};

QColor ToQColor(TColor c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

TColor FromQColor(const QColor& c) {
  QColor rgb = c.toRgb();
  return static_cast<TColor>(rgb.red()) | (static_cast<TColor>(rgb.green()) << 8) |
         (static_cast<TColor>(rgb.blue()) << 16);
}

QFont ToQFont(const TFont& f) {
  QFont q(QString::fromStdString(f.Name));
  q.setPixelSize(std::max(1, f.PixelSize));
  q.setBold(f.Style.Contains(TFontStyle::fsBold));
  q.setItalic(f.Style.Contains(TFontStyle::fsItalic));
  q.setUnderline(f.Style.Contains(TFontStyle::fsUnderline));
  q.setStrikeOut(f.Style.Contains(TFontStyle::fsStrikeOut));
  return q;
}

int PointsToPixels(int points) {
  return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

TQtBitmap::TQtBitmap() : FImage(0, 0, QImage::Format_RGB32) {}

TQtBitmap::TQtBitmap(int width, int height) : TQtBitmap() {
  SetSize(width, height);
}

TQtBitmap::~TQtBitmap() {
  EndPainter();
}

const QImage& TQtBitmap::Image() const {
  EndPainter();
  return FImage;
}

TColor TQtBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FImage.width() || y >= FImage.height()) return clBlack;
  return FromQColor(QColor::fromRgb(FImage.pixel(x, y)));
}

void TQtBitmap::Fill(TColor c) {
  if (FImage.isNull()) return;
  EndPainter();
  FImage.fill(ToQColor(c));
}

void TQtBitmap::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == FImage.width() && height == FImage.height()) return;
  EndPainter();
  FImage = QImage(width, height, QImage::Format_RGB32);
  if (!FImage.isNull()) FImage.fill(Qt::white);
}

QPainter& TQtBitmap::Painter() {
  if (!FPainter) {
    FImage.bits();  // detach from any copy handed out by Image()
    FPainter = std::make_unique<QPainter>(&FImage);
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, true);  // text as Qt's own labels draw it
  }
  return *FPainter;
}

void TQtBitmap::EndPainter() const {
  if (FPainter) {
    FPainter->end();
    FPainter.reset();
  }
}

void TQtBitmap::ApplyRasterOp(QPainter& p) const {
  switch (FPenMode) {
    case TPenMode::pmCopy:
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
      break;
    case TPenMode::pmXor:
      p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      break;
    case TPenMode::pmNot:
      p.setCompositionMode(QPainter::RasterOp_NotDestination);
      break;
  }
}

const QFontMetrics& TQtBitmap::Metrics() {
  if (!FMetrics) {
    FQFont = ToQFont(FFont);
    FMetrics.emplace(*FQFont);
  }
  return *FMetrics;
}

void TQtBitmap::SetFont(const TFont& f) {
  if (f.Name != FFont.Name || f.PixelSize != FFont.PixelSize || f.Style != FFont.Style) {
    FQFont.reset();
    FMetrics.reset();
  }
  FFont = f;
}

void TQtBitmap::SetFontSizePt(int points) {
  TFont f = FFont;
  f.PixelSize = PointsToPixels(points);
  SetFont(f);
}

void TQtBitmap::SetFontStyle(TFontStyles s) {
  TFont f = FFont;
  f.Style = s;
  SetFont(f);
}

void TQtBitmap::SetPixel(int x, int y, TColor c) {
  if (x < 0 || y < 0 || x >= FImage.width() || y >= FImage.height()) return;
  reinterpret_cast<std::uint32_t*>(FImage.scanLine(y))[x] = ToRgb32(c);
}

// Bresenham line along the major axis. Pixel i (0-based from a) sits at minor
// offset floor((2 i minor + major) / 2 major), so the part inside the bitmap is found
// directly without walking the clipped-away part of far-reaching lines.
void TQtBitmap::ThinLine(TPoint a, TPoint b, bool includeEnd, int& phase) {
  const long long dx = static_cast<long long>(b.x) - a.x;
  const long long dy = static_cast<long long>(b.y) - a.y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const long long major = xMajor ? std::llabs(dx) : std::llabs(dy);
  const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  const long long n = includeEnd ? major + 1 : major;  // pixels on this segment
  const int startPhase = phase;
  phase += static_cast<int>(n & 1);
  if (n <= 0 || FImage.isNull()) return;

  const long long sMaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const long long sMin = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const long long maj0 = xMajor ? a.x : a.y;
  const long long min0 = xMajor ? a.y : a.x;
  const long long majLimit = xMajor ? FImage.width() : FImage.height();
  const long long minLimit = xMajor ? FImage.height() : FImage.width();

  long long lo = 0, hi = n - 1;
  if (sMaj > 0) {
    lo = std::max(lo, -maj0);
    hi = std::min(hi, majLimit - 1 - maj0);
  } else {
    lo = std::max(lo, maj0 - (majLimit - 1));
    hi = std::min(hi, maj0);
  }
  if (lo > hi) return;

  const bool dotted = FPenStyle == TPenStyle::psDot;
  const std::uint32_t c = ToRgb32(FPenColor);
  const TPenMode mode = FPenMode;
  auto* bits = reinterpret_cast<std::uint32_t*>(FImage.bits());
  const long long stride = FImage.bytesPerLine() / 4;

  const long long twoMajor = 2 * (major > 0 ? major : 1);
  long long m = (2 * lo * minor + major) / twoMajor;  // minor offset of pixel lo
  long long err = 2 * lo * minor + major - m * twoMajor;
  for (long long i = lo; i <= hi; ++i) {
    const long long maj = maj0 + sMaj * i;
    const long long mnr = min0 + sMin * m;
    if (mnr >= 0 && mnr < minLimit && (!dotted || ((startPhase + i) & 1) == 0)) {
      const long long x = xMajor ? maj : mnr;
      const long long y = xMajor ? mnr : maj;
      if (FMask)
        FMask->Set(x, y);
      else
        Plot(bits[y * stride + x], c, mode);
    }
    err += 2 * minor;
    if (err >= twoMajor) {
      err -= twoMajor;
      ++m;
    }
  }
}

void TQtBitmap::WideLine(TPoint a, TPoint b) {
  if (FImage.isNull()) return;
  QPainter& p = Painter();
  ApplyRasterOp(p);
  p.setPen(QPen(ToQColor(FPenColor), FPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  if (a == b)
    p.drawPoint(a.x, a.y);
  else
    p.drawLine(a.x, a.y, b.x, b.y);
}

void TQtBitmap::LineTo(int x, int y) {
  const TPoint to{x, y};
  if (FPenWidth <= 1) {
    int phase = 0;
    ThinLine(FPenPos, to, false, phase);
  } else if (!(FPenPos == to)) {
    WideLine(FPenPos, to);
  }
  FPenPos = to;
}

void TQtBitmap::Polyline(const TPoint* pts, int n) {
  if (n < 2 || FImage.isNull()) return;
  if (FPenWidth <= 1) {
    int phase = 0;
    for (int i = 0; i + 1 < n; ++i) ThinLine(pts[i], pts[i + 1], false, phase);
    return;
  }
  QPolygon poly;
  poly.reserve(n);
  for (int i = 0; i < n; ++i) poly << QPoint(pts[i].x, pts[i].y);
  QPainter& p = Painter();
  ApplyRasterOp(p);
  p.setPen(QPen(ToQColor(FPenColor), FPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(poly);
}

// Fills columns l..r-1 and rows t..b-1 with the brush.
void TQtBitmap::FillRect(int l, int t, int r, int b) {
  if (FBrushStyle == TBrushStyle::bsClear || FImage.isNull()) return;
  l = std::max(l, 0);
  t = std::max(t, 0);
  r = std::min(r, FImage.width());
  b = std::min(b, FImage.height());
  if (l >= r || t >= b) return;
  if (FBrushStyle == TBrushStyle::bsSolid) {
    const std::uint32_t c = ToRgb32(FBrushColor);
    const TPenMode mode = FPenMode;
    for (int y = t; y < b; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(FImage.scanLine(y));
      if (mode == TPenMode::pmCopy)
        std::fill(row + l, row + r, c);
      else
        for (int x = l; x < r; ++x) Plot(row[x], c, mode);
    }
    return;
  }
  QPainter& p = Painter();
  ApplyRasterOp(p);
  p.fillRect(QRect(l, t, r - l, b - t), QBrush(ToQColor(FBrushColor), HatchStyle(FBrushStyle)));
}

void TQtBitmap::Rectangle(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right == left || bottom == top || FImage.isNull()) return;
  if (FPenWidth <= 1) {
    FillRect(left + 1, top + 1, right - 1, bottom - 1);
    int phase = 0;
    const TPoint tl{left, top}, tr{right - 1, top}, br{right - 1, bottom - 1}, bl{left, bottom - 1};
    if (right - left < 2 || bottom - top < 2) {
      ThinLine(tl, br, true, phase);  // a single row or column
    } else {
      // Closed path, every outline pixel once (matters for exclusive-or).
      ThinLine(tl, tr, false, phase);
      ThinLine(tr, br, false, phase);
      ThinLine(br, bl, false, phase);
      ThinLine(bl, tl, false, phase);
    }
    return;
  }
  // Wide pen: the band is centred on the one-pixel outline.
  FillRect(left + 1, top + 1, right - 1, bottom - 1);
  const int h = (FPenWidth - 1) / 2, w = FPenWidth;
  const TColor brushColor = FBrushColor;
  const TBrushStyle brushStyle = FBrushStyle;
  FBrushColor = FPenColor;
  FBrushStyle = TBrushStyle::bsSolid;
  const int l0 = left - h, r0 = right - 1 - h + w;
  FillRect(l0, top - h, r0, top - h + w);
  if (bottom - 1 - h > top - h + w - 1) {
    FillRect(l0, std::max(bottom - 1 - h, top - h + w), r0, bottom - 1 - h + w);
  }
  const int midTop = top - h + w, midBottom = bottom - 1 - h;
  if (midBottom > midTop) {
    FillRect(left - h, midTop, left - h + w, midBottom);
    if (right - 1 - h >= left - h + w)
      FillRect(right - 1 - h, midTop, right - 1 - h + w, midBottom);
  }
  FBrushColor = brushColor;
  FBrushStyle = brushStyle;
}

// A filled polygon in exclusive-or or inverting mode: the outline and the fill
// overlap on the edge, so each pixel is changed once, by the pen where the
// outline covers it and by the brush elsewhere inside.
void TQtBitmap::MaskedPolygon(const TPoint* pts, int n) {
  int l = pts[0].x, t = pts[0].y, r = pts[0].x, b = pts[0].y;
  for (int i = 1; i < n; ++i) {
    l = std::min(l, pts[i].x);
    t = std::min(t, pts[i].y);
    r = std::max(r, pts[i].x);
    b = std::max(b, pts[i].y);
  }
  l = std::max(l, 0);
  t = std::max(t, 0);
  r = std::min(r, FImage.width() - 1);
  b = std::min(b, FImage.height() - 1);
  if (l > r || t > b) return;
  TPixelMask outline{l, t, r - l + 1, b - t + 1, {}};
  outline.Bits.assign(static_cast<std::size_t>(outline.Width) * outline.Height, 0);
  FMask = &outline;
  int phase = 0;
  for (int i = 0; i < n; ++i) ThinLine(pts[i], pts[(i + 1) % n], false, phase);
  FMask = nullptr;

  // The fill as the copy mode paints it, hatch aligned with the bitmap origin.
  QImage fill(outline.Width, outline.Height, QImage::Format_ARGB32_Premultiplied);
  fill.fill(Qt::transparent);
  {
    QPolygon poly;
    poly.reserve(n);
    for (int i = 0; i < n; ++i) poly << QPoint(pts[i].x - l, pts[i].y - t);
    QPainter p(&fill);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrushOrigin(-l, -t);
    p.setBrush(QBrush(Qt::white, HatchStyle(FBrushStyle)));
    p.drawPolygon(poly, Qt::OddEvenFill);
  }

  EndPainter();
  const std::uint32_t pen = ToRgb32(FPenColor), brush = ToRgb32(FBrushColor);
  for (int y = 0; y < outline.Height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(FImage.scanLine(t + y)) + l;
    const auto* covered = reinterpret_cast<const std::uint32_t*>(fill.constScanLine(y));
    const std::uint8_t* edge = outline.Bits.data() + static_cast<std::size_t>(y) * outline.Width;
    for (int x = 0; x < outline.Width; ++x) {
      if (edge[x])
        Plot(row[x], pen, FPenMode);
      else if (qAlpha(covered[x]) != 0)
        Plot(row[x], brush, FPenMode);
    }
  }
}

void TQtBitmap::Polygon(const TPoint* pts, int n) {
  if (n < 1 || FImage.isNull()) return;
  if (n >= 3 && FBrushStyle != TBrushStyle::bsClear && FPenMode != TPenMode::pmCopy &&
      FPenWidth <= 1) {
    MaskedPolygon(pts, n);
    return;
  }
  if (n >= 3 && FBrushStyle != TBrushStyle::bsClear) {
    QPolygon poly;
    poly.reserve(n);
    for (int i = 0; i < n; ++i) poly << QPoint(pts[i].x, pts[i].y);
    QPainter& p = Painter();
    ApplyRasterOp(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(ToQColor(FBrushColor), HatchStyle(FBrushStyle)));
    p.drawPolygon(poly, Qt::OddEvenFill);
  }
  if (FPenWidth <= 1) {
    int phase = 0;
    if (n == 1) {
      ThinLine(pts[0], pts[0], true, phase);
      return;
    }
    for (int i = 0; i < n; ++i) ThinLine(pts[i], pts[(i + 1) % n], false, phase);
    return;
  }
  QPolygon poly;
  for (int i = 0; i < n; ++i) poly << QPoint(pts[i].x, pts[i].y);
  QPainter& p = Painter();
  ApplyRasterOp(p);
  p.setPen(QPen(ToQColor(FPenColor), FPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(poly);
}

void TQtBitmap::DrawText(int x, int y, const QString& s, const QRect* clip) {
  if (FImage.isNull()) return;
  const QFontMetrics& fm = Metrics();
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (clip) p.setClipRect(*clip);
  if (FBrushStyle != TBrushStyle::bsClear) {
    const QRect box = clip ? *clip : QRect(x, y, fm.horizontalAdvance(s), fm.height());
    if (FBrushStyle == TBrushStyle::bsSolid)
      p.fillRect(box, ToQColor(FBrushColor));
    else
      p.fillRect(box, QBrush(ToQColor(FBrushColor), HatchStyle(FBrushStyle)));
  }
  p.setFont(*FQFont);
  p.setPen(ToQColor(FFont.Color));
  p.drawText(QPoint(x, y + fm.ascent()), s);
  if (clip) p.setClipping(false);
}

void TQtBitmap::TextOut(int x, int y, std::string_view text) {
  DrawText(x, y, ToQString(text), nullptr);
}

void TQtBitmap::TextRect(const TRect& clip, int x, int y, std::string_view text) {
  const QRect r(clip.Left, clip.Top, clip.Right - clip.Left, clip.Bottom - clip.Top);
  if (r.width() <= 0 || r.height() <= 0) return;
  DrawText(x, y, ToQString(text), &r);
}

int TQtBitmap::TextWidth(std::string_view text) {
  return Metrics().horizontalAdvance(ToQString(text));
}

int TQtBitmap::TextHeight(std::string_view) {
  return Metrics().height();
}

void TQtBitmap::Draw(int x, int y, const TBitmap& src) {
  const auto* q = dynamic_cast<const TQtBitmap*>(&src);
  if (!q || q == this || FImage.isNull()) return;
  const QImage& img = q->Image();
  if (img.isNull()) return;
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QPoint(x, y), img);
}

std::optional<std::string> EncodePng(const TQtBitmap& bitmap) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!bitmap.Image().save(&buffer, "PNG")) return std::nullopt;
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::unique_ptr<TBitmap> MakeQtBitmap() {
  return std::make_unique<TQtBitmap>();
}

TBitmapFactory DefaultBitmapFactory() {
  return &MakeQtBitmap;
}
