#pragma once
// A horizontal or vertical scroll bar that works from the keyboard as the classic
// scroll bar control does: the arrow keys step like its arrows (left and up back,
// right and down forward), Page Up and Page Down like a click on its track before
// or after the thumb, Home and End go to the ends. Every key goes through the same
// slider actions as the mouse, so the same value changes reach the same handlers.
// While it holds the keyboard focus, a dotted frame around the thumb shows it.
#include <QScrollBar>

class TScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  explicit TScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

  // The slider action a key stands for; SliderNoAction for other keys.
  static SliderAction KeyAction(int key);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
};
