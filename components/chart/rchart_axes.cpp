// TRChart: drawing of the scales and the axis identifiers. The tick positions
// and label texts come from the scale arithmetic (numeric, time and date/time);
// this file only places them on the window bitmap.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "components/chart/datetimescale.h"
#include "components/chart/rchart.h"
#include "components/chart/scaleengine.h"
#include "platform/monthnames.h"

namespace {

constexpr int kMajorTick = 7;  // x axis: major tick length below the axis
constexpr int kMinorTick = 4;  // x axis: minor tick length
constexpr int kYTick = 6;      // y axis: every tick, to the left of the axis

// Pixel arithmetic near the +-2147483647 clamp of the mapping stays in range.
int Px(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

void TRChart::DrawXScale(TSurface& s) {
  DrawAxisScale(s, FX, kXAxisRule);
  if (!FIdAbscissa.empty()) {
    const int tw = s.TextWidth(FIdAbscissa);
    const int th = s.TextHeight(FIdAbscissa);
    const int x = (FLRim + Width() - FRRim - FShadowWidth - tw) / 2;
    const int y = Height() - FBRim - FShadowWidth + 7 + th;
    s.TextOut(x, y, FIdAbscissa);
  }
}

void TRChart::DrawYScale(TSurface& s) {
  DrawAxisScale(s, FY, kYAxisRule);
  if (!FIdOrdinate.empty()) {
    const int th = s.TextHeight(FIdOrdinate);
    s.TextOut(FLRim, FTRim - th, FIdOrdinate);
  }
}

void TRChart::DrawAxisScale(TSurface& s, const TChartAxis& axis, const TAxisRule& rule) {
  switch (axis.LabelType) {
    case FigType::DateTime: {
      const TDateTimeScale scale = DateTimeTicks(axis, ShortMonthNames());
      if (scale.Message != TScaleMessage::smNone) {
        DrawScaleMessage(s, axis, rule, scale.Message);
      } else {
        DrawTickList(s, rule, scale.Ticks);
      }
      return;
    }
    case FigType::Time:
      if (const auto ticks = TimeTicks(axis, rule)) {
        DrawTickList(s, rule, *ticks);
        return;
      }
      break;  // no time step fits: a numeric scale
    default:
      break;
  }
  DrawTickList(s, rule, NumericTicks(axis, rule));
}

// Draws a list of ticks along the x axis (at the low y bound) or the y axis (at
// the low x bound). A date label goes one text line below an x label and one
// line above a y label.
void TRChart::DrawTickList(TSurface& s, const TAxisRule& rule,
                           const std::vector<TScaleTick>& ticks) {
  const int th0 = rule.Abscissa ? 0 : s.TextHeight("0");
  // Centred on px below the axis, moved left to end at the control's edge.
  auto below = [&](int px, int top, const std::string& text) {
    const int h = s.TextWidth(text) / 2;
    if (static_cast<long long>(px) + h >= Width()) {
      s.TextOut(Width() - 2 * h, top, text);
    } else {
      s.TextOut(Px(static_cast<long long>(px) - h), top, text);
    }
  };
  for (const TScaleTick& t : ticks) {
    int px, py;
    if (rule.Abscissa) {
      DataToPixel(t.Value, FY.Lo, px, py);
      s.MoveTo(px, py);
      s.LineTo(px, Px(static_cast<long long>(py) + (t.Major ? kMajorTick : kMinorTick)));
      const int ly = Px(static_cast<long long>(py) + kMajorTick);
      if (t.HasLabel) below(px, ly, t.Label);
      if (!t.DateLabel.empty())
        below(px, Px(static_cast<long long>(ly) + s.TextHeight(t.DateLabel)), t.DateLabel);
    } else {
      DataToPixel(FX.Lo, t.Value, px, py);
      s.MoveTo(px, py);
      s.LineTo(Px(static_cast<long long>(px) - kYTick), py);
      if (t.HasLabel) {
        const int w = s.TextWidth(t.Label);
        s.TextOut(Px(static_cast<long long>(px) - kYTick - w - 2),
                  Px(static_cast<long long>(py) - th0 / 2), t.Label);
      }
      if (!t.DateLabel.empty()) {
        const int w = s.TextWidth(t.DateLabel);
        const int th = s.TextHeight(t.DateLabel);
        s.TextOut(Px(static_cast<long long>(px) - w - 8),
                  Px(static_cast<long long>(py) - 3 * (th / 2)), t.DateLabel);
      }
    }
  }
}

// A date/time range the calendar cannot show: one line centred below the
// middle of the x axis, or stacked lines left of the middle of the y axis.
void TRChart::DrawScaleMessage(TSurface& s, const TChartAxis& axis, const TAxisRule& rule,
                               TScaleMessage m) {
  const auto lines = ScaleMessageLines(m, !rule.Abscissa);
  const double mid = (axis.Lo + axis.Hi) * 0.5;
  int px, py;
  if (rule.Abscissa) {
    DataToPixel(mid, FY.Lo, px, py);
    for (std::string_view line : lines)
      s.TextOut(Px(static_cast<long long>(px) - s.TextWidth(line) / 2),
                Px(static_cast<long long>(py) + kMajorTick), line);
    return;
  }
  DataToPixel(FX.Lo, mid, px, py);
  const int th = s.TextHeight("T");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    s.TextOut(Px(static_cast<long long>(px) - s.TextWidth(lines[i]) - 2),
              Px(static_cast<long long>(py) + (static_cast<long long>(i) - 1) * th), lines[i]);
  }
}
