#include "platform/monthnames.h"

#include <QLocale>

std::array<std::string, 12> ShortMonthNames() {
  const QLocale locale;
  std::array<std::string, 12> names;
  for (int m = 1; m <= 12; ++m)
    names[m - 1] = locale.monthName(m, QLocale::ShortFormat).toStdString();
  return names;
}
