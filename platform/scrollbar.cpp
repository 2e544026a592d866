#include "platform/scrollbar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

TScrollBar::TScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
  setFocusPolicy(Qt::StrongFocus);  // reached by Tab and by a click
}

QAbstractSlider::SliderAction TScrollBar::KeyAction(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      return SliderSingleStepSub;
    case Qt::Key_Right:
    case Qt::Key_Down:
      return SliderSingleStepAdd;
    case Qt::Key_PageUp:
      return SliderPageStepSub;
    case Qt::Key_PageDown:
      return SliderPageStepAdd;
    case Qt::Key_Home:
      return SliderToMinimum;
    case Qt::Key_End:
      return SliderToMaximum;
    default:
      return SliderNoAction;
  }
}

void TScrollBar::keyPressEvent(QKeyEvent* e) {
  const SliderAction action =
      e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier ? KeyAction(e->key())
                                                                               : SliderNoAction;
  if (action == SliderNoAction) {
    e->ignore();  // Tab and the rest go on to the window
    return;
  }
  triggerAction(action);
  e->accept();
}

void TScrollBar::paintEvent(QPaintEvent* e) {
  QScrollBar::paintEvent(e);
  if (!hasFocus()) return;
  QStyleOptionSlider opt;
  initStyleOption(&opt);
  const QRect thumb =
      style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this);
  QPainter p(this);
  QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawRect(thumb.adjusted(1, 1, -2, -2));
}
