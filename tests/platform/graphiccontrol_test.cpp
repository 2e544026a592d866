#include "platform/graphiccontrol.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {

class TCountingControl : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  int Paints = 0;
  TColor Color = clRed;
  void Paint() override {
    ++Paints;
    Canvas().SetPenColor(Color);
    Canvas().SetBrushColor(Color);
    Canvas().Rectangle(0, 0, Width(), Height());
  }
};

void Send(QWidget& w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint pos,
          Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QMouseEvent e(type, QPointF(pos), QPointF(w.mapToGlobal(pos)), button, held, mods);
  QApplication::sendEvent(&w, &e);
}

}  // namespace

TEST(GraphicControl, DefaultsAndSize) {
  TCountingControl c;
  EXPECT_EQ(c.Font(), (TFont{"Arial", 13, {}, clBlack}));
  EXPECT_TRUE(c.Visible());
  c.SetBounds(3, 4, 50, 20);
  EXPECT_EQ(c.Left(), 3);
  EXPECT_EQ(c.Top(), 4);
  EXPECT_EQ(c.Width(), 50);
  EXPECT_EQ(c.Height(), 20);
  EXPECT_EQ(c.Canvas().Width(), 50);  // follows at once, also while hidden
  EXPECT_EQ(c.Canvas().Height(), 20);
  c.SetHeight(33);
  EXPECT_EQ(c.Canvas().Height(), 33);
  EXPECT_EQ(c.Width(), 50);
  EXPECT_EQ(c.Paints, 0);  // hidden: resizing does not paint
  c.Repaint();             // but painting on request works without a window
  EXPECT_EQ(c.Paints, 1);
  EXPECT_EQ(c.CanvasBitmap().Pixel(49, 32), clRed);

  c.SetVisible(false);
  EXPECT_FALSE(c.Visible());
  c.SetVisible(true);  // no parent: the flag changes, no window opens
  EXPECT_TRUE(c.Visible());
  EXPECT_FALSE(c.isVisible());
  EXPECT_EQ(c.Paints, 2);
  c.show();  // an explicit show still opens it as a window
  EXPECT_TRUE(c.isVisible());
  c.hide();
  EXPECT_FALSE(c.Visible());
}

TEST(GraphicControl, RepaintDrawsSynchronouslyAndPaintEventOnlyCopies) {
  QWidget parent;
  auto* c = new TCountingControl(&parent);
  c->SetBounds(0, 0, 40, 10);
  parent.show();
  const int afterShow = c->Paints;
  c->Color = clGreen;
  c->Repaint();
  EXPECT_EQ(c->Paints, afterShow + 1);
  EXPECT_EQ(c->CanvasBitmap().Pixel(20, 5), clGreen);

  // Change the canvas behind Paint's back: the paint event must show it as is.
  c->Canvas().SetPixel(3, 3, clBlue);
  c->repaint();
  QImage shown(40, 10, QImage::Format_RGB32);
  shown.fill(Qt::white);
  c->render(&shown);
  EXPECT_EQ(c->Paints, afterShow + 1);
  EXPECT_EQ(shown.pixel(20, 5), qRgb(0, 128, 0));
  EXPECT_EQ(shown.pixel(3, 3), qRgb(0, 0, 255));
}

TEST(GraphicControl, VisibleControlRepaintsOnResizeAndFontChange) {
  QWidget parent;
  parent.resize(200, 100);
  auto* c = new TCountingControl(&parent);
  c->SetBounds(0, 0, 40, 10);
  parent.show();
  const int afterShow = c->Paints;
  EXPECT_GE(afterShow, 1);
  c->SetBounds(0, 0, 60, 25);
  EXPECT_EQ(c->Paints, afterShow + 1);
  EXPECT_EQ(c->CanvasBitmap().Image().size(), QSize(60, 25));
  EXPECT_EQ(c->CanvasBitmap().Pixel(59, 24), clRed);
  c->SetBounds(5, 5, 60, 25);  // moving alone does not paint
  EXPECT_EQ(c->Paints, afterShow + 1);

  TFont f = c->Font();
  c->SetFont(f);  // unchanged: no paint
  EXPECT_EQ(c->Paints, afterShow + 1);
  f.PixelSize = 20;
  c->SetFont(f);
  EXPECT_EQ(c->Paints, afterShow + 2);
  EXPECT_EQ(c->Font().PixelSize, 20);

  c->SetVisible(false);
  EXPECT_FALSE(c->Visible());
  EXPECT_FALSE(c->isVisible());
  c->SetVisible(true);
  EXPECT_TRUE(c->isVisible());
}

TEST(GraphicControl, MouseEventsMapToHooksAndEvents) {
  TCountingControl c;
  c.SetBounds(0, 0, 50, 50);
  std::vector<std::string> seen;
  c.OnMouseDown = [&](TGraphicControl* s, TMouseButton b, TShiftState sh, int x, int y) {
    EXPECT_EQ(s, &c);
    seen.push_back("down " + std::to_string(b) + " " + std::to_string(sh.Bits()) + " " +
                   std::to_string(x) + "," + std::to_string(y));
  };
  c.OnMouseUp = [&](TGraphicControl*, TMouseButton b, TShiftState sh, int x, int y) {
    seen.push_back("up " + std::to_string(b) + " " + std::to_string(sh.Bits()) + " " +
                   std::to_string(x) + "," + std::to_string(y));
  };
  c.OnMouseMove = [&](TGraphicControl*, TShiftState sh, int x, int y) {
    seen.push_back("move " + std::to_string(sh.Bits()) + " " + std::to_string(x) + "," +
                   std::to_string(y));
  };
  c.OnClick = [&](TGraphicControl* s) {
    EXPECT_EQ(s, &c);
    seen.push_back("click");
  };
  c.OnDblClick = [&](TGraphicControl*) { seen.push_back("dblclick"); };

  Send(c, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {3, 4}, Qt::ShiftModifier);
  Send(c, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {5, 6}, Qt::ControlModifier);
  Send(c, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {7, 8});
  Send(c, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {1, 2}, Qt::AltModifier);
  Send(c, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {9, 9});
  Send(c, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {9, 9});
  // A left press released outside the control is no click.
  Send(c, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 10});
  Send(c, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {80, 10});

  using enum TShiftFlag;
  const unsigned sShiftLeft = TShiftState{ssShift, ssLeft}.Bits(),
                 sCtrlLeft = TShiftState{ssCtrl, ssLeft}.Bits(),
                 sDbl = TShiftState{ssAlt, ssLeft, ssDouble}.Bits();
  const std::vector<std::string> want = {
      "down 0 " + std::to_string(sShiftLeft) + " 3,4",
      "move " + std::to_string(sCtrlLeft) + " 5,6",
      "click",
      "up 0 0 7,8",
      "dblclick",
      "down 0 " + std::to_string(sDbl) + " 1,2",
      "down 1 " + std::to_string(TShiftState{ssRight}.Bits()) + " 9,9",
      "up 1 0 9,9",
      "down 0 " + std::to_string(TShiftState{ssLeft}.Bits()) + " 10,10",
      "up 0 0 80,10",
  };
  EXPECT_EQ(seen, want);
}

TEST(GraphicControl, ResizeFromInsidePaintDoesNotRecurse) {
  // A control that sets its own height while painting, as a label does.
  class TSelfSizing : public TGraphicControl {
   public:
    int Paints = 0;
    void Paint() override {
      ++Paints;
      SetHeight(17);
      Canvas().SetPixel(0, 16, clBlue);
    }
  };
  QWidget parent;
  auto* c = new TSelfSizing;
  c->setParent(&parent);
  c->SetBounds(0, 0, 30, 40);
  parent.show();
  const int before = c->Paints;
  c->Repaint();
  EXPECT_EQ(c->Paints, before + 1);
  EXPECT_EQ(c->Height(), 17);
  EXPECT_EQ(c->CanvasBitmap().Pixel(0, 16), clBlue);
}
