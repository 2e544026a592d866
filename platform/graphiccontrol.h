#pragma once
// Base of the self-drawn controls (chart, numeric label).
//
// The control owns an image the size of the widget, Canvas(). Paint() draws into
// it synchronously; the Qt paint event only copies that image to the screen, so
// the screen always shows the last complete paint. A resize (or first show)
// resizes the canvas and calls Paint(). Drawing into Canvas() outside Paint()
// (e.g. a rubber band) reaches the screen after Invalidate().
#include <QWidget>
#include <functional>
#include <string>

#include "platform/controltypes.h"
#include "platform/qtsurface.h"
#include "platform/surface.h"

class TGraphicControl : public QWidget {
  Q_OBJECT

 public:
  explicit TGraphicControl(QWidget* parent = nullptr);
  ~TGraphicControl() override;

  TSurface& Canvas() { return FCanvas; }
  const TQtBitmap& CanvasBitmap() const { return FCanvas; }

  // Draws the control into Canvas(). The base fills it with the font-independent
  // default background (white); controls override it.
  virtual void Paint();
  // Paint() now, then schedules the copy to the screen.
  void Repaint();
  // Schedules the copy of Canvas() to the screen without painting.
  void Invalidate();

  int Left() const { return x(); }
  int Top() const { return y(); }
  int Width() const { return width(); }
  int Height() const { return height(); }
  // Moves and sizes the control; the canvas follows at once, and a visible
  // control repaints when its size changed.
  void SetBounds(int left, int top, int width, int height);
  void SetWidth(int w) { SetBounds(Left(), Top(), w, Height()); }
  void SetHeight(int h) { SetBounds(Left(), Top(), Width(), h); }

  const TFont& Font() const { return FFont; }
  // Stores the font and repaints when it changed.
  void SetFont(const TFont& f);

  // The control's own visibility flag (true for a new control, also before its
  // window is shown). Becoming visible repaints. SetVisible leaves a control
  // without a parent widget off screen; Qt's show()/hide() also set the flag.
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  void setVisible(bool v) override;

  // Keeps the control at an edge of its parent's client area, or filling it,
  // as the parent's size changes. Several aligned controls of one parent share
  // the area: top, bottom, left and right ones first, in that order, each in
  // the order of creation, then the client ones.
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign v);

  // The cursor over the control, an index of the cursor table (cursors.h);
  // crDefault shows the parent's.
  int Cursor() const { return FCursor; }
  void SetCursor(int index);

  std::string Hint() const;
  void SetHint(const std::string& h);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v);

  std::function<void(TGraphicControl*)> OnClick;
  std::function<void(TGraphicControl*)> OnDblClick;
  std::function<void(TGraphicControl*, TMouseButton, TShiftState, int, int)> OnMouseDown;
  std::function<void(TGraphicControl*, TMouseButton, TShiftState, int, int)> OnMouseUp;
  std::function<void(TGraphicControl*, TShiftState, int, int)> OnMouseMove;

 protected:
  // Hooks called by the Qt mouse events; the defaults fire the events.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();

  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  bool SyncCanvasSize();
  void WatchParent();
  void DoPaint();

  TQtBitmap FCanvas;
  TFont FFont;
  bool FVisible = true;
  bool FShowHint = false;
  std::string FHint;
  bool FPainting = false;
  bool FPressed = false;
  TAlign FAlign = alNone;
  int FCursor = 0;  // crDefault
  QObject* FWatched = nullptr;
};

// Places the aligned controls among the children of parent in its client area.
void AlignControls(QWidget& parent);

// Shift state of a Qt mouse event (modifiers and the buttons held).
TShiftState ShiftStateOf(const QMouseEvent& e);
TShiftState ShiftStateOf(Qt::KeyboardModifiers m, Qt::MouseButtons b = Qt::NoButton);
// The button of a Qt mouse event; false for buttons the controls do not handle.
bool ToMouseButton(Qt::MouseButton b, TMouseButton& out);
