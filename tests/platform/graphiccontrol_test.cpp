#include "platform/graphiccontrol.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QTest>

#include "platform/cursors.h"

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

  QTest::mousePress(&c, Qt::LeftButton, Qt::ShiftModifier, {3, 4});
  QTest::mouseMove(&c, {5, 6});  // with the left button held
  QTest::mouseRelease(&c, Qt::LeftButton, {}, {7, 8});
  QTest::mouseDClick(&c, Qt::LeftButton, Qt::AltModifier, {1, 2});
  QTest::mouseRelease(&c, Qt::LeftButton, {}, {1, 2});
  QTest::mouseClick(&c, Qt::RightButton, {}, {9, 9});
  // A left press released outside the control is no click.
  QTest::mousePress(&c, Qt::LeftButton, {}, {10, 10});
  QTest::mouseRelease(&c, Qt::LeftButton, {}, {80, 10});

  using enum TShiftFlag;
  const unsigned sShiftLeft = TShiftState{ssShift, ssLeft}.Bits(),
                 sLeft = TShiftState{ssLeft}.Bits(),
                 sDbl = TShiftState{ssAlt, ssLeft, ssDouble}.Bits();
  const std::vector<std::string> want = {
      "down 0 " + std::to_string(sShiftLeft) + " 3,4",
      "move " + std::to_string(sLeft) + " 5,6",
      "click",
      "up 0 0 7,8",
      "dblclick",
      "down 0 " + std::to_string(sDbl) + " 1,2",
      "up 0 0 1,2",
      "down 1 " + std::to_string(TShiftState{ssRight}.Bits()) + " 9,9",
      "up 1 0 9,9",
      "down 0 " + std::to_string(sLeft) + " 10,10",
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

TEST(GraphicControl, AlignedControlsFollowTheParentsSize) {
  QWidget parent;
  parent.resize(300, 200);
  auto* top = new TCountingControl(&parent);
  auto* client = new TCountingControl(&parent);
  auto* left = new TCountingControl(&parent);
  auto* bottom = new TCountingControl(&parent);
  top->SetBounds(5, 5, 10, 20);
  left->SetBounds(0, 0, 30, 10);
  bottom->SetBounds(0, 0, 10, 15);
  client->SetAlign(alClient);
  top->SetAlign(alTop);
  left->SetAlign(alLeft);
  bottom->SetAlign(alBottom);
  parent.show();
  auto bounds = [](TGraphicControl* c) {
    return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()};
  };
  for (QSize size : {QSize(300, 200), QSize(420, 260), QSize(40, 30)}) {
    parent.resize(size);
    const int w = size.width(), h = size.height();
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    EXPECT_EQ(bounds(top), (std::vector<int>{0, 0, w, 20}));
    EXPECT_EQ(bounds(bottom), (std::vector<int>{0, h - 15, w, 15}));
    EXPECT_EQ(bounds(left), (std::vector<int>{0, 20, 30, std::max(0, h - 35)}));
    EXPECT_EQ(bounds(client), (std::vector<int>{30, 20, std::max(0, w - 30), std::max(0, h - 35)}));
    if (h > 35) EXPECT_EQ(client->CanvasBitmap().Pixel(w - 31, h - 36), clRed);  // and painted
  }
  client->SetAlign(alNone);  // keeps its bounds from now on
  parent.resize(500, 300);
  EXPECT_EQ(client->Width(), 10);
}

TEST(GraphicControl, CursorIsTheControlsOwn) {
  RegisterChartCursors();
  QWidget parent;
  auto* c = new TCountingControl(&parent);
  EXPECT_EQ(c->Cursor(), crDefault);
  c->SetCursor(crCross);
  EXPECT_EQ(c->cursor().shape(), Qt::CrossCursor);
  c->SetCursor(crChartHand);
  EXPECT_EQ(c->cursor().pixmap().toImage(), AppCursor(crChartHand).pixmap().toImage());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // nothing application-wide
  c->SetCursor(crDefault);
  EXPECT_FALSE(c->testAttribute(Qt::WA_SetCursor));
}
