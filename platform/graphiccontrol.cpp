#include "platform/graphiccontrol.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include "platform/cursors.h"

TShiftState ShiftStateOf(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
  TShiftState s;
  if (m & Qt::ShiftModifier) s.Include(TShiftFlag::ssShift);
  if (m & Qt::AltModifier) s.Include(TShiftFlag::ssAlt);
  if (m & Qt::ControlModifier) s.Include(TShiftFlag::ssCtrl);
  if (b & Qt::LeftButton) s.Include(TShiftFlag::ssLeft);
  if (b & Qt::RightButton) s.Include(TShiftFlag::ssRight);
  if (b & Qt::MiddleButton) s.Include(TShiftFlag::ssMiddle);
  return s;
}

TShiftState ShiftStateOf(const QMouseEvent& e) {
  return ShiftStateOf(e.modifiers(), e.buttons());
}

bool ToMouseButton(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton:
      out = mbLeft;
      return true;
    case Qt::RightButton:
      out = mbRight;
      return true;
    case Qt::MiddleButton:
      out = mbMiddle;
      return true;
    default:
      return false;
  }
}

TGraphicControl::TGraphicControl(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  FCanvas.SetFont(FFont);
  SyncCanvasSize();
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Paint() {
  FCanvas.Fill(clWhite);
}

void TGraphicControl::DoPaint() {
  if (FPainting) return;  // a resize from inside Paint() only resizes the canvas
  FPainting = true;
  try {
    Paint();
  } catch (...) {
    FPainting = false;
    throw;
  }
  FPainting = false;
  update();
}

void TGraphicControl::Repaint() {
  DoPaint();
}

void TGraphicControl::Invalidate() {
  update();
}

bool TGraphicControl::SyncCanvasSize() {
  if (FCanvas.Width() == width() && FCanvas.Height() == height()) return false;
  FCanvas.SetSize(width(), height());
  return true;
}

void TGraphicControl::SetBounds(int left, int top, int w, int h) {
  w = std::max(0, w);
  h = std::max(0, h);
  setGeometry(left, top, w, h);
  // A visible widget got its resize event (and paint) already; a hidden one gets
  // it when shown, but its canvas has the new size from now on.
  SyncCanvasSize();
}

void TGraphicControl::SetFont(const TFont& f) {
  if (f == FFont) return;
  FFont = f;
  FCanvas.SetFont(f);
  DoPaint();
}

void TGraphicControl::SetVisible(bool v) {
  const bool changed = v != FVisible;
  FVisible = v;
  // A control without a parent widget is an off-screen object here: showing it
  // would open a top-level window.
  if (parentWidget() || !v) QWidget::setVisible(v);
  if (v && changed) DoPaint();
}

void TGraphicControl::setVisible(bool v) {
  const bool changed = v != FVisible;
  FVisible = v;
  QWidget::setVisible(v);
  if (v && changed) DoPaint();
}

void TGraphicControl::SetAlign(TAlign v) {
  if (v == FAlign) return;
  FAlign = v;
  WatchParent();
  if (parentWidget()) AlignControls(*parentWidget());
}

void TGraphicControl::WatchParent() {
  QObject* parent = FAlign != alNone ? parentWidget() : nullptr;
  if (parent == FWatched) return;
  if (FWatched) FWatched->removeEventFilter(this);
  FWatched = parent;
  if (FWatched) FWatched->installEventFilter(this);
}

bool TGraphicControl::event(QEvent* e) {
  if (e->type() == QEvent::ParentChange) {
    WatchParent();
    if (FAlign != alNone && parentWidget()) AlignControls(*parentWidget());
  }
  return QWidget::event(e);
}

bool TGraphicControl::eventFilter(QObject* watched, QEvent* e) {
  if (watched == FWatched && e->type() == QEvent::Resize) AlignControls(*parentWidget());
  return QWidget::eventFilter(watched, e);
}

void AlignControls(QWidget& parent) {
  QRect r = parent.contentsRect();
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (QObject* child : parent.children()) {
      auto* c = qobject_cast<TGraphicControl*>(child);
      if (!c || c->Align() != pass) continue;
      const int w = c->Width(), h = c->Height();
      switch (pass) {
        case alTop:
          c->SetBounds(r.left(), r.top(), r.width(), h);
          r.setTop(r.top() + h);
          break;
        case alBottom:
          c->SetBounds(r.left(), r.bottom() + 1 - h, r.width(), h);
          r.setBottom(r.bottom() - h);
          break;
        case alLeft:
          c->SetBounds(r.left(), r.top(), w, r.height());
          r.setLeft(r.left() + w);
          break;
        case alRight:
          c->SetBounds(r.right() + 1 - w, r.top(), w, r.height());
          r.setRight(r.right() - w);
          break;
        case alClient:
          c->SetBounds(r.left(), r.top(), r.width(), r.height());
          break;
        case alNone:
          break;
      }
    }
  }
}

void TGraphicControl::SetCursor(int index) {
  if (index == FCursor) return;
  FCursor = index;
  if (index == crDefault) {
    unsetCursor();
  } else {
    setCursor(AppCursor(index));
  }
}

std::string TGraphicControl::Hint() const {
  return FHint;
}

void TGraphicControl::SetHint(const std::string& h) {
  FHint = h;
  setToolTip(FShowHint ? QString::fromStdString(h) : QString());
}

void TGraphicControl::SetShowHint(bool v) {
  FShowHint = v;
  setToolTip(FShowHint ? QString::fromStdString(FHint) : QString());
}

void TGraphicControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(0, 0, FCanvas.Image());
}

void TGraphicControl::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  SyncCanvasSize();
  DoPaint();
}

void TGraphicControl::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  SyncCanvasSize();
  DoPaint();
}

void TGraphicControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TGraphicControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TGraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TGraphicControl::Click() {
  if (OnClick) OnClick(this);
}

void TGraphicControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TGraphicControl::mousePressEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!ToMouseButton(e->button(), b)) return;
  if (b == mbLeft) FPressed = true;
  const QPoint pos = e->position().toPoint();
  MouseDown(b, ShiftStateOf(*e), pos.x(), pos.y());
}

void TGraphicControl::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  MouseMove(ShiftStateOf(*e), pos.x(), pos.y());
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!ToMouseButton(e->button(), b)) return;
  const QPoint pos = e->position().toPoint();
  // The click comes before the button-up event, as a press and release of the
  // left button inside the control.
  if (b == mbLeft && FPressed) {
    FPressed = false;
    if (rect().contains(pos)) Click();
  }
  MouseUp(b, ShiftStateOf(*e), pos.x(), pos.y());
}

void TGraphicControl::mouseDoubleClickEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!ToMouseButton(e->button(), b)) return;
  const QPoint pos = e->position().toPoint();
  if (b == mbLeft) DblClick();
  MouseDown(b, ShiftStateOf(*e) + TShiftState{TShiftFlag::ssDouble}, pos.x(), pos.y());
}
