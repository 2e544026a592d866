#include "platform/syscolors.h"

#include <QApplication>
#include <QPalette>

#include "platform/qtsurface.h"

namespace {

TColor PaletteColor(QPalette::ColorRole role, TColor fallback) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return fallback;
  return FromQColor(QApplication::palette().color(QPalette::Active, role));
}

}  // namespace

TColor SysColorBtnFace() {
  return PaletteColor(QPalette::Button, clSilver);
}
TColor SysColorBtnShadow() {
  return PaletteColor(QPalette::Dark, clGray);
}
TColor SysColorBtnHighlight() {
  return PaletteColor(QPalette::Light, clWhite);
}
TColor SysColorWindow() {
  return PaletteColor(QPalette::Base, clWhite);
}
TColor SysColorHighlight() {
  return PaletteColor(QPalette::Highlight, clNavy);
}
TColor SysColorHighlightText() {
  return PaletteColor(QPalette::HighlightedText, clWhite);
}
