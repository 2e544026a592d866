#pragma once
// Label format of one date/time chart axis.
#include <functional>

enum TimeFormatType { tfHHMMSS, tfHHhMM, tfAMPM };
enum DateOrderType { doMMDDYY, doDDMMYY, doYYMMDD };
enum class DateForTimeType { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };
enum YearLengthType { ylNone, ylYY, ylYYYY };

class TDTLabel {
 public:
  TimeFormatType TimeFormat() const { return FTimeFormat; }
  char DateSeparator() const { return FDateSeparator; }
  char TimeSeparator() const { return FTimeSeparator; }
  YearLengthType YearLength() const { return FYearLength; }
  bool MonthName() const { return FMonthName; }
  DateOrderType DateOrder() const { return FDateOrder; }
  DateForTimeType DateForTime() const { return FDateForTime; }

  // TimeFormat and DateOrder always notify; the others only on a change.
  void SetTimeFormat(TimeFormatType v);
  void SetDateSeparator(char v);
  void SetTimeSeparator(char v);
  void SetYearLength(YearLengthType v);
  void SetMonthName(bool v);
  void SetDateOrder(DateOrderType v);
  void SetDateForTime(DateForTimeType v);

  // Copies the seven settings (not OnChange) without notifying.
  void AssignSettings(const TDTLabel& src);
  // Whether the seven settings equal those of o.
  bool SameSettings(const TDTLabel& o) const;

  std::function<void(TDTLabel*)> OnChange;

 private:
  void Changed();

  TimeFormatType FTimeFormat = tfHHMMSS;
  char FDateSeparator = '-';
  char FTimeSeparator = ':';
  YearLengthType FYearLength = ylYYYY;
  bool FMonthName = true;
  DateOrderType FDateOrder = doDDMMYY;
  DateForTimeType FDateForTime = DateForTimeType::dtOnePerDay;
};
