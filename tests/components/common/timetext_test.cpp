#include "components/common/timetext.h"

#include <gtest/gtest.h>

TEST(TimeText, EveryFormatMorningAndEvening) {
  const char* morning[] = {"09:05:07.25", "09:05:07", " 9h05", " 9h05'07\"", "09:05", " 9:05a"};
  const char* evening[] = {"21:30:00.00", "21:30:00", "21h30", "21h30'00\"", "21:30", " 9:30p"};
  for (unsigned f = 0; f <= 5; ++f) {
    EXPECT_EQ(TimeText(9, 5, 7, 25, f), morning[f]) << "format " << f;
    EXPECT_EQ(TimeText(21, 30, 0, 0, f), evening[f]) << "format " << f;
  }
}

TEST(TimeText, ZeroPaddingOfSmallFields) {
  EXPECT_EQ(TimeText(0, 0, 0, 5, 0), "00:00:00.05");
  EXPECT_EQ(TimeText(1, 2, 3, 4, 1), "01:02:03");
  EXPECT_EQ(TimeText(0, 7, 0, 0, 2), " 0h07");
}

TEST(TimeText, TwelveHourClock) {
  EXPECT_EQ(TimeText(0, 0, 0, 0, 5), "12:00a");
  EXPECT_EQ(TimeText(0, 30, 0, 0, 5), "12:30a");
  EXPECT_EQ(TimeText(11, 59, 0, 0, 5), "11:59a");
  EXPECT_EQ(TimeText(12, 0, 0, 0, 5), "12:00p");
  EXPECT_EQ(TimeText(13, 45, 0, 0, 5), " 1:45p");
  EXPECT_EQ(TimeText(23, 1, 0, 0, 5), "11:01p");
}

TEST(TimeText, LargeNumbersKeepAllDigits) {
  EXPECT_EQ(TimeText(100, 5, 0, 0, 1), "100:05:00");
  EXPECT_EQ(TimeText(123, 5, 0, 0, 2), "123h05");
  EXPECT_EQ(TimeText(1, 2, 3, 100, 0), "01:02:03.100");
}

TEST(TimeText, UnknownFormatGivesEmptyText) {
  EXPECT_EQ(TimeText(9, 5, 7, 25, 6), "");
  EXPECT_EQ(TimeText(9, 5, 7, 25, 255), "");
}
