// The scroll bar's focus mark: shown around the thumb while the bar holds the focus.
#include "platform/scrollbar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>

TEST(ScrollBar, AFrameAroundTheThumbShowsTheFocus) {
  QWidget window;
  window.resize(200, 60);
  auto* bar = new TScrollBar(Qt::Horizontal, &window);
  bar->setGeometry(10, 10, 145, 14);
  bar->setRange(0, 100);
  bar->setValue(50);
  auto* other = new QLineEdit(&window);
  other->setGeometry(10, 30, 100, 20);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  auto look = [&](QWidget* focused) {
    focused->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), focused);
    return bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  const QImage plain = look(other);
  const QImage focused = look(bar);
  EXPECT_EQ(look(other), plain);  // and it goes with the focus

  QStyleOptionSlider opt;
  opt.initFrom(bar);
  opt.orientation = Qt::Horizontal;
  opt.state |= QStyle::State_Horizontal;
  opt.minimum = 0;
  opt.maximum = 100;
  opt.sliderPosition = opt.sliderValue = 50;
  opt.singleStep = opt.pageStep = 1;
  const QRect thumb =
      bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, bar);
  int changed = 0;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x)
      if (plain.pixel(x, y) != focused.pixel(x, y)) {
        ++changed;
        EXPECT_TRUE(thumb.contains(x, y)) << x << "," << y;
      }
  EXPECT_GT(changed, 8);
}
