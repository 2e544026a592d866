#pragma once
// Tick arithmetic of the time and date/time axes. Time axes hold seconds and
// tick on whole multiples of a step from the axis's time step table; date/time
// axes hold day numbers and tick on calendar units (seconds, minutes or hours
// of the day, days, months, years) chosen from the length of the range.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "components/chart/calendar.h"
#include "components/chart/chartaxis.h"
#include "components/chart/scaleengine.h"

// The rows of ClockStepTable: hours, minutes (also seconds), days.
enum class TClockRow { crHours, crMinutes, crDays };

// Label of a Time tick: a blank or "-", then hours:minutes:seconds of |v|.
std::string SecondsText(double v);

// The scale of a Time axis, or nothing when no step fits (less than the
// table's first step per interval, or a day or more): the axis is then drawn
// as a numeric axis. A reversed axis walks downward.
std::optional<std::vector<TScaleTick>> TimeTicks(const TChartAxis& a, const TAxisRule& rule);

// What a date/time axis shows instead of ticks when it cannot show its range.
enum class TScaleMessage { smNone, smInvalid, smBelowSecond };

struct TDateTimeScale {
  std::vector<TScaleTick> Ticks;
  TScaleMessage Message = TScaleMessage::smNone;
};

// The scale of a DateTime axis. A reversed range, one starting before day 1
// or ending after day 3000000 gives smInvalid; less than about a second per
// interval gives smBelowSecond. Ticks end at 31 December 9999.
TDateTimeScale DateTimeTicks(const TChartAxis& a, const TMonthNames& names);

// The text of a message: one line on the x axis, stacked words on the y axis.
std::vector<std::string_view> ScaleMessageLines(TScaleMessage m, bool stacked);

// The clock step for d days per interval in units of 1/unitsPerDay day (24
// hours, 1440 minutes or 86400 seconds), from the given row: the largest entry
// not above the interval, or the row's first. Returns the step in days and
// sets first to the earliest multiple of the step, counted from midnight, at
// or after lo.
double ClockStep(TClockRow row, int unitsPerDay, double d, double lo, double& first);

// The date label of day number t by the axis's format settings.
std::string DateText(double t, const TDTLabel& f, const TMonthNames& names);
