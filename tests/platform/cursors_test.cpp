#include "platform/cursors.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

TEST(Cursors, ChartCursorsAreFourDistinctPictures) {
  RegisterChartCursors();
  std::vector<QImage> images;
  for (int i = 1; i <= 4; ++i) {
    const QCursor c = AppCursor(i);
    ASSERT_EQ(c.shape(), Qt::BitmapCursor) << i;
    const QImage img = c.pixmap().toImage();
    EXPECT_EQ(img.size(), QSize(32, 32)) << i;
    EXPECT_GE(c.hotSpot().x(), 0);
    EXPECT_LT(c.hotSpot().x(), 32);
    EXPECT_LT(c.hotSpot().y(), 32);
    for (const QImage& other : images) EXPECT_NE(img, other) << i;
    images.push_back(img);
  }
  EXPECT_EQ(AppCursor(1).pixmap().toImage(), LoadCursorResource("CURHAND").pixmap().toImage());
  EXPECT_EQ(AppCursor(3).pixmap().toImage(), LoadCursorResource("CURZOOMD").pixmap().toImage());
  EXPECT_EQ(LoadCursorResource("NOSUCH").shape(), Qt::ArrowCursor);
  EXPECT_EQ(AppCursor(77).shape(), Qt::ArrowCursor);
  EXPECT_EQ(AppCursor(crCross).shape(), Qt::CrossCursor);

  SetAppCursor(77, QCursor(Qt::WaitCursor));
  EXPECT_EQ(AppCursor(77).shape(), Qt::WaitCursor);
}
