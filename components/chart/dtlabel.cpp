#include "components/chart/dtlabel.h"

void TDTLabel::Changed() {
  if (OnChange) OnChange(this);
}

void TDTLabel::SetTimeFormat(TimeFormatType v) {
  FTimeFormat = v;
  Changed();
}

void TDTLabel::SetDateSeparator(char v) {
  if (v == FDateSeparator) return;
  FDateSeparator = v;
  Changed();
}

void TDTLabel::SetTimeSeparator(char v) {
  if (v == FTimeSeparator) return;
  FTimeSeparator = v;
  Changed();
}

void TDTLabel::SetYearLength(YearLengthType v) {
  if (v == FYearLength) return;
  FYearLength = v;
  Changed();
}

void TDTLabel::SetMonthName(bool v) {
  if (v == FMonthName) return;
  FMonthName = v;
  Changed();
}

void TDTLabel::SetDateOrder(DateOrderType v) {
  FDateOrder = v;
  Changed();
}

void TDTLabel::SetDateForTime(DateForTimeType v) {
  if (v == FDateForTime) return;
  FDateForTime = v;
  Changed();
}

void TDTLabel::AssignSettings(const TDTLabel& src) {
  FTimeFormat = src.FTimeFormat;
  FDateSeparator = src.FDateSeparator;
  FTimeSeparator = src.FTimeSeparator;
  FYearLength = src.FYearLength;
  FMonthName = src.FMonthName;
  FDateOrder = src.FDateOrder;
  FDateForTime = src.FDateForTime;
}

bool TDTLabel::SameSettings(const TDTLabel& o) const {
  return FTimeFormat == o.FTimeFormat && FDateSeparator == o.FDateSeparator &&
         FTimeSeparator == o.FTimeSeparator && FYearLength == o.FYearLength &&
         FMonthName == o.FMonthName && FDateOrder == o.FDateOrder && FDateForTime == o.FDateForTime;
}
