#include "app/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kGlyphSize = 18;

QPixmap NewPixmap(int size = kGlyphSize) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  return pm;
}

void DrawExit(QPainter& p) {
  // a door with an arrow leaving it
  p.setPen(QPen(QColor(0x80, 0x40, 0x00), 1));
  p.setBrush(QColor(0xC0, 0x80, 0x40));
  p.drawRect(2, 2, 8, 14);
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(8, 9.5), 0.8, 0.8);
  p.setPen(QPen(QColor(0x00, 0x80, 0x00), 2));
  p.drawLine(9, 9, 16, 9);
  p.drawLine(13, 6, 16, 9);
  p.drawLine(13, 12, 16, 9);
}

void DrawAbout(QPainter& p) {
  p.setPen(QPen(QColor(0x00, 0x00, 0x80), 1));
  p.setBrush(QColor(0xFF, 0xFF, 0xC0));
  p.drawEllipse(1, 1, 15, 15);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x00, 0x00, 0x80));
  p.drawEllipse(QPointF(8.5, 5), 1.3, 1.3);
  p.drawRect(7, 7, 3, 7);
}

void DrawHelp(QPainter& p) {
  p.setPen(QPen(QColor(0x00, 0x00, 0x80), 1));
  p.setBrush(QColor(0xFF, 0xFF, 0xC0));
  p.drawRect(2, 1, 13, 15);
  QFont f("Arial");
  f.setPixelSize(13);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(2, 1, 14, 16), Qt::AlignCenter, "?");
}

void DrawCalc(QPainter& p) {
  // histogram bars under a curve
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xC0, 0xE0, 0xFF));
  const int heights[] = {2, 5, 9, 12, 9, 5, 2};
  for (int i = 0; i < 7; ++i) p.drawRect(2 + 2 * i, 16 - heights[i], 2, heights[i]);
  QPainterPath path;
  for (int x = 1; x <= 16; ++x) {
    const double t = (x - 8.5) / 3.5;
    const double y = 16.0 - 13.0 * std::exp(-t * t);
    if (x == 1)
      path.moveTo(x, y);
    else
      path.lineTo(x, y);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x00, 0x00, 0xFF), 1.5));
  p.drawPath(path);
}

void DrawLoad(QPainter& p) {
  // an open folder
  p.setPen(QPen(QColor(0x80, 0x80, 0x00), 1));
  p.setBrush(QColor(0xFF, 0xE0, 0x80));
  p.drawRect(1, 5, 12, 10);
  p.drawRect(1, 3, 5, 2);
  const QPointF flap[] = {{3, 8}, {16, 8}, {13, 15}, {1, 15}};
  p.setBrush(QColor(0xFF, 0xFF, 0xA0));
  p.drawPolygon(flap, 4);
}

void DrawEdit(QPainter& p) {
  // a sheet with a pencil
  p.setPen(QPen(Qt::gray, 1));
  p.setBrush(Qt::white);
  p.drawRect(2, 1, 10, 15);
  p.setPen(QPen(Qt::gray, 1));
  for (int y = 4; y <= 13; y += 3) p.drawLine(4, y, 10, y);
  p.setPen(QPen(QColor(0x80, 0x00, 0x00), 3));
  p.drawLine(15, 3, 8, 12);
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(8, 12, 7, 14);
}

void DrawSave(QPainter& p) {
  // a floppy disk
  p.setPen(QPen(QColor(0x00, 0x00, 0x40), 1));
  p.setBrush(QColor(0x40, 0x40, 0xA0));
  p.drawRect(1, 1, 15, 15);
  p.setBrush(Qt::white);
  p.drawRect(4, 2, 9, 6);
  p.setBrush(QColor(0xC0, 0xC0, 0xC0));
  p.drawRect(5, 11, 7, 5);
}

}  // namespace

QIcon MakeGlyph(TGlyph which) {
  QPixmap pm = NewPixmap();
  {
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
      case TGlyph::glExit:
        DrawExit(p);
        break;
      case TGlyph::glAbout:
        DrawAbout(p);
        break;
      case TGlyph::glHelp:
        DrawHelp(p);
        break;
      case TGlyph::glCalc:
        DrawCalc(p);
        break;
      case TGlyph::glLoad:
        DrawLoad(p);
        break;
      case TGlyph::glEdit:
        DrawEdit(p);
        break;
      case TGlyph::glSave:
        DrawSave(p);
        break;
    }
  }
  return QIcon(pm);
}

QIcon MakeShapeGlyph(double mean1, double stdDev1, double mean2, double stdDev2, double ratio) {
  QPixmap pm = NewPixmap();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // the mixture at 50 sample points over the 500 classes, scaled to its maximum
  constexpr int kN = 50;
  double d[kN + 1];
  double top = 0.0;
  for (int k = 0; k <= kN; ++k) {
    const double i = 1.0 + 499.0 * k / kN;
    const double a = (i - mean1) / stdDev1;
    const double b = (i - mean2) / stdDev2;
    d[k] = (1.0 - ratio) * std::exp(-a * a) + ratio * std::exp(-b * b);
    top = std::max(top, d[k]);
  }
  QPainterPath path;
  for (int k = 0; k <= kN; ++k) {
    const double x = 1.0 + 16.0 * k / kN;
    const double y = 16.5 - 14.5 * (top > 0 ? d[k] / top : 0.0);
    if (k == 0)
      path.moveTo(x, y);
    else
      path.lineTo(x, y);
  }
  QPainterPath fill = path;
  fill.lineTo(17, 16.5);
  fill.lineTo(1, 16.5);
  fill.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xC0, 0xE0, 0xFF));
  p.drawPath(fill);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x00, 0x00, 0xFF), 1.4));
  p.drawPath(path);
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(QPointF(0.5, 16.5), QPointF(17.5, 16.5));
  p.end();
  return QIcon(pm);
}
