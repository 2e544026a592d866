// TRChart: drawing of the numeric scales and the axis identifiers. The tick
// positions and label texts come from the scale engine; this file only places
// them on the window bitmap.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "components/chart/rchart.h"
#include "components/chart/scaleengine.h"

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
  FMinTickX = std::clamp(FMinTickX, 2, 20);
  // Time and date/time label types are drawn as numeric axes.
  if (FLogScaleX) {
    DrawLogTicks(s, true);
  } else {
    DrawLinTicks(s, true);
  }
  if (!FIdAbscissa.empty()) {
    const int tw = s.TextWidth(FIdAbscissa);
    const int th = s.TextHeight(FIdAbscissa);
    const int x = (FLRim + Width() - FRRim - FShadowWidth - tw) / 2;
    const int y = Height() - FBRim - FShadowWidth + 7 + th;
    s.TextOut(x, y, FIdAbscissa);
  }
}

void TRChart::DrawYScale(TSurface& s) {
  if (FLogScaleY) {
    DrawLogTicks(s, false);
  } else {
    DrawLinTicks(s, false);
  }
  if (!FIdOrdinate.empty()) {
    const int th = s.TextHeight(FIdOrdinate);
    s.TextOut(FLRim, FTRim - th, FIdOrdinate);
  }
}

namespace {

// Draws a list of ticks along the x axis (at the low y bound) or the y axis (at
// the low x bound).
void DrawTickList(TSurface& s, const TRChart& c, bool xAxis, const std::vector<TScaleTick>& ticks) {
  const int th0 = xAxis ? 0 : s.TextHeight("0");
  for (const TScaleTick& t : ticks) {
    int px, py;
    if (xAxis) {
      c.DataToPixel(t.Value, c.RangeLoY(), px, py);
      s.MoveTo(px, py);
      s.LineTo(px, Px(static_cast<long long>(py) + (t.Major ? kMajorTick : kMinorTick)));
      if (t.HasLabel) {
        const int h = s.TextWidth(t.Label) / 2;
        const int ly = Px(static_cast<long long>(py) + kMajorTick);
        if (static_cast<long long>(px) + h >= c.Width()) {
          s.TextOut(c.Width() - 2 * h, ly, t.Label);
        } else {
          s.TextOut(Px(static_cast<long long>(px) - h), ly, t.Label);
        }
      }
    } else {
      c.DataToPixel(c.RangeLoX(), t.Value, px, py);
      s.MoveTo(px, py);
      s.LineTo(Px(static_cast<long long>(px) - kYTick), py);
      if (t.HasLabel) {
        const int w = s.TextWidth(t.Label);
        s.TextOut(Px(static_cast<long long>(px) - kYTick - w - 2),
                  Px(static_cast<long long>(py) - th0 / 2), t.Label);
      }
    }
  }
}

}  // namespace

void TRChart::DrawLinTicks(TSurface& s, bool xAxis) {
  TAxisSettings a;
  if (xAxis) {
    a = {FRangeLoX, FRangeHiX, FMinTickX, FDecPlaceX, FXLabelType != FigType::NoFigs};
    DrawTickList(s, *this, true, LinearXTicks(a));
  } else {
    a = {FRangeLoY, FRangeHiY, FMinTickY, FDecPlaceY, FYLabelType != FigType::NoFigs};
    DrawTickList(s, *this, false, LinearYTicks(a));
  }
}

void TRChart::DrawLogTicks(TSurface& s, bool xAxis) {
  TAxisSettings a;
  if (xAxis) {
    a = {FRangeLoX, FRangeHiX, FMinTickX, FDecPlaceX, FXLabelType != FigType::NoFigs};
    DrawTickList(s, *this, true, LogXTicks(a));
  } else {
    a = {FRangeLoY, FRangeHiY, FMinTickY, FDecPlaceY, FYLabelType != FigType::NoFigs};
    DrawTickList(s, *this, false, LogYTicks(a));
  }
}
