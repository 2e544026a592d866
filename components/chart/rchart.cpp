// TRChart: properties, display list and coordinate mapping.
#include "components/chart/rchart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "components/common/cutchars.h"
#include "platform/cursors.h"
#include "platform/qtsurface.h"

namespace {

constexpr double kPixelLimit = 2147483647.0;

// Rounds to the nearest integer, halves to the even neighbour, within +-2147483647.
int RoundPixel(double f) {
  if (f > kPixelLimit) f = kPixelLimit;
  if (f < -kPixelLimit) f = -kPixelLimit;
  return static_cast<int>(std::nearbyint(f));
}

}  // namespace

TRChart::TRChart(QWidget* parent) : TGraphicControl(parent) {
  FItems.emplace_back();  // the end marker
  FDTXFormat = std::make_unique<TDTLabel>();
  FDTYFormat = std::make_unique<TDTLabel>();
  FDTXFormat->OnChange = [this](TDTLabel*) { Changed(); };
  FDTYFormat->OnChange = [this](TDTLabel*) { Changed(); };
  RegisterChartCursors();
  // The bitmaps exist before the first size change, which may paint.
  FFactory = DefaultBitmapFactory();
  CreateBitmaps();
  SetBounds(Left(), Top(), 240, 160);
  FAreaBmp->SetSize(std::max(0, AreaWidth() + 1), std::max(0, AreaHeight() + 1));
  FWinBmp->SetSize(Width(), Height());
  FLastMouse = TPoint{};
  FZoomWindFlag = 0;
  CalcScaling();
}

TRChart::~TRChart() = default;

void TRChart::CreateBitmaps() {
  FAreaBmp = FFactory();
  FWinBmp = FFactory();
  FAreaBmp->SetSize(std::max(0, AreaWidth() + 1), std::max(0, AreaHeight() + 1));
  FWinBmp->SetSize(Width(), Height());
}

void TRChart::SetBitmapFactory(TBitmapFactory factory) {
  FFactory = factory ? std::move(factory) : DefaultBitmapFactory();
  CreateBitmaps();
}

int TRChart::AreaWidth() const {
  return Width() - FLRim - FRRim - FShadowWidth;
}
int TRChart::AreaHeight() const {
  return Height() - FTRim - FBRim - FShadowWidth;
}

void TRChart::Changed() {
  if (FAutoRedraw) Repaint();
}

// ---- properties ----

void TRChart::SetLRim(int v) {
  FLRim = v;
  CalcScaling();
  Changed();
}

void TRChart::SetRRim(int v) {
  FRRim = v;
  CalcScaling();
  Changed();
}

void TRChart::SetTRim(int v) {
  FTRim = v;
  CalcScaling();
  Changed();
}

void TRChart::SetBRim(int v) {
  FBRim = v;
  CalcScaling();
  Changed();
}

void TRChart::SetShadowWidth(int v) {
  FShadowWidth = std::clamp(v, 0, 32);
  CalcScaling();
  Changed();
}

void TRChart::SetClassDefault(std::uint8_t v) {
  if (v != 255) FClassDefault = v;
}

void TRChart::SetDecPlaceX(int v) {
  FDecPlaceX = std::clamp(v, -2, 6);
  Changed();
}

void TRChart::SetDecPlaceY(int v) {
  FDecPlaceY = std::clamp(v, -2, 6);
  Changed();
}

void TRChart::SetMinTickX(int v) {
  FMinTickX = std::clamp(v, 2, 10);
  Changed();
}

void TRChart::SetMinTickY(int v) {
  FMinTickY = std::clamp(v, 2, 10);
  Changed();
}

void TRChart::SetGridStyle(GridStyleType v) {
  FGridStyle = v;
  Changed();
}

void TRChart::SetGridDx(double v) {
  if (v == 0.0) return;
  FGridDx = v;
  Changed();
}

void TRChart::SetGridDy(double v) {
  if (v == 0.0) return;
  FGridDy = v;
  Changed();
}

namespace {

// A new low (or high) bound v against the other bound of the same axis: a
// bound within the tolerance of the other one widens the axis to other-1..other+1;
// a logarithmic axis refuses bounds below the tolerance.
void SetBound(double& bound, double& other, bool lowBound, bool logScale, double v) {
  if (std::fabs(other - v) > TRChart::kRangeEpsilon) {
    if (!(logScale && v < TRChart::kRangeEpsilon)) bound = v;
  } else {
    const double o = other;
    if (lowBound) {
      bound = o - 1;
      other = o + 1;
    } else {
      bound = o + 1;
      other = o - 1;
    }
  }
}

}  // namespace

void TRChart::SetRangeLoX(double v) {
  SetBound(FRangeLoX, FRangeHiX, true, FLogScaleX, v);
  CalcScaling();
  Changed();
}

void TRChart::SetRangeHiX(double v) {
  SetBound(FRangeHiX, FRangeLoX, false, FLogScaleX, v);
  CalcScaling();
  Changed();
}

void TRChart::SetRangeLoY(double v) {
  SetBound(FRangeLoY, FRangeHiY, true, FLogScaleY, v);
  CalcScaling();
  Changed();
}

void TRChart::SetRangeHiY(double v) {
  SetBound(FRangeHiY, FRangeLoY, false, FLogScaleY, v);
  CalcScaling();
  Changed();
}

void TRChart::SetRanges(double loX, double loY, double hiX, double hiY) {
  if (std::fabs(FRangeLoX - FRangeHiX) > kRangeEpsilon) {
    if (!FLogScaleX || (loX >= kRangeEpsilon && hiX >= kRangeEpsilon)) {
      FRangeLoX = loX;
      FRangeHiX = hiX;
    }
  }
  if (std::fabs(FRangeLoY - FRangeHiY) > kRangeEpsilon) {
    if (!FLogScaleY || (loY >= kRangeEpsilon && hiY >= kRangeEpsilon)) {
      FRangeLoY = loY;
      FRangeHiY = hiY;
    }
  }
  CalcScaling();
}

void TRChart::SetLogScaleX(bool v) {
  if (!v) {
    FLogScaleX = false;
  } else if (FRangeLoX >= kRangeEpsilon && FRangeHiX >= kRangeEpsilon &&
             FXLabelType != FigType::DateTime) {
    FLogScaleX = true;
  }
  // The mapping follows the switch at once, not only at the next paint.
  CalcScaling();
  Changed();
}

void TRChart::SetLogScaleY(bool v) {
  if (!v) {
    FLogScaleY = false;
  } else if (FRangeLoY >= kRangeEpsilon && FRangeHiY >= kRangeEpsilon &&
             FYLabelType != FigType::DateTime) {
    FLogScaleY = true;
  }
  CalcScaling();
  Changed();
}

void TRChart::SetScaleColor(TColor v) {
  FScaleColor = v;
  Changed();
}

void TRChart::SetChartColor(TColor v) {
  FChartColor = v;
  Changed();
}

void TRChart::SetWindColor(TColor v) {
  FWindColor = v;
  Changed();
}

void TRChart::SetGridColor(TColor v) {
  FGridColor = v;
  Changed();
}

void TRChart::SetShadowStyle(TShadowStyle v) {
  FShadowStyle = v;
  Changed();
}

void TRChart::SetShadowColor(TColor v) {
  FShadowColor = v;
  Changed();
}

void TRChart::SetShadowBakColor(TColor v) {
  FShadowBakColor = v;
  Changed();
}

void TRChart::SetCaption(std::string_view v) {
  FCaption = std::string(v);
  Changed();
}

void TRChart::SetIdAbscissa(std::string_view v) {
  FIdAbscissa = CutChars(v, kMaxIdLength);
  Changed();
}

void TRChart::SetIdOrdinate(std::string_view v) {
  FIdOrdinate = CutChars(v, kMaxIdLength);
  Changed();
}

void TRChart::SetXLabelType(FigType v) {
  FXLabelType = v;
  if (v == FigType::DateTime && FLogScaleX) {
    FLogScaleX = false;
    CalcScaling();
  }
  Changed();
}

void TRChart::SetYLabelType(FigType v) {
  FYLabelType = v;
  if (v == FigType::DateTime && FLogScaleY) {
    FLogScaleY = false;
    CalcScaling();
  }
  Changed();
}

void TRChart::SetDTXFormat(const TDTLabel& v) {
  FDTXFormat->AssignSettings(v);
  Changed();
}

void TRChart::SetDTYFormat(const TDTLabel& v) {
  FDTYFormat->AssignSettings(v);
  Changed();
}

void TRChart::SetTextFontStyle(TFontStyles v) {
  FTextFontStyle = v;
  Changed();
}

void TRChart::SetTextBkStyle(TBrushStyle v) {
  FTextBkStyle = v;
  Changed();
}

void TRChart::SetTextBkColor(TColor v) {
  FTextBkColor = v;
  Changed();
}

// ---- display list ----

void TRChart::AppendItem(TGrafItem item) {
  item.Color = FDataColor;
  item.Width = FLineWidth;
  item.Class = FClassDefault;
  FItems.back() = std::move(item);  // the old end marker becomes the item
  FItems.emplace_back();            // and a fresh end marker follows
}

void TRChart::ClearGraf() {
  ClearChartArea();
  FItems.clear();
  FItems.emplace_back();
}

void TRChart::MoveTo(double x, double y) {
  TGrafItem it;
  it.Kind = gkMoveTo;
  it.x = x;
  it.y = y;
  AppendItem(std::move(it));
}

void TRChart::DrawTo(double x, double y) {
  TGrafItem it;
  it.Kind = gkLineTo;
  it.x = x;
  it.y = y;
  AppendItem(std::move(it));
}

void TRChart::Line(double x1, double y1, double x2, double y2) {
  TGrafItem it;
  it.Kind = gkLine;
  it.x = x1;
  it.y = y1;
  it.x2 = x2;
  it.y2 = y2;
  AppendItem(std::move(it));
}

void TRChart::MarkAt(double x, double y, std::uint8_t code) {
  TGrafItem it;
  it.Kind = gkMark;
  it.x = x;
  it.y = y;
  it.Mark = code;
  AppendItem(std::move(it));
}

void TRChart::FilledRectangle(double x1, double y1, double x2, double y2) {
  TGrafItem it;
  it.Kind = gkFilledRect;
  it.x = x1;
  it.y = y1;
  it.x2 = x2;
  it.y2 = y2;
  AppendItem(std::move(it));
}

void TRChart::Bar3D(double x1, double y1, double x2, double y2, int depth, int angle) {
  TGrafItem it;
  it.Kind = gkBar3D;
  it.x = x1;
  it.y = y1;
  it.x2 = x2;
  it.y2 = y2;
  it.Depth = depth;
  it.Angle = angle;
  AppendItem(std::move(it));
}

void TRChart::Text(double x, double y, int sizePt, std::string_view text) {
  TGrafItem it;
  it.Kind = gkText;
  it.x = x;
  it.y = y;
  it.Size = sizePt;
  it.Text = CutChars(text, kMaxTextLength);
  AppendItem(std::move(it));
}

// ---- coordinate mapping ----

void TRChart::CalcScaling() {
  const double ctlWidth = Width();
  const double ctlHeight = Height();
  const int w = AreaWidth();
  const int h = AreaHeight();
  const double right = Width() - FRRim - FShadowWidth;
  const double bottom = Height() - FBRim - FShadowWidth;

  bool xDone = false;
  if (w > 0) {
    const double lo = FLogScaleX ? std::log(FRangeLoX) : FRangeLoX;
    const double hi = FLogScaleX ? std::log(FRangeHiX) : FRangeHiX;
    FKx = w / (hi - lo);
    FOx = (hi * FLRim - lo * right) / (hi - lo);
    xDone = std::isfinite(FKx) && std::isfinite(FOx) && FKx != 0.0;
  }
  if (!xDone) {  // no area, or bounds that give no usable scale
    FKx = 0.0;
    FOx = ctlWidth * 0.5;
  }

  bool yDone = false;
  if (h > 0) {
    const double lo = FLogScaleY ? std::log(FRangeLoY) : FRangeLoY;
    const double hi = FLogScaleY ? std::log(FRangeHiY) : FRangeHiY;
    FKy = -h / (hi - lo);
    FOy = (hi * bottom - lo * FTRim) / (hi - lo);
    yDone = std::isfinite(FKy) && std::isfinite(FOy) && FKy != 0.0;
  }
  if (!yDone) {
    FKy = 0.0;
    FOy = ctlHeight * 0.5;
  }
}

void TRChart::DataToPixel(double x, double y, int& px, int& py) const {
  double fx;
  if (!FLogScaleX) {
    fx = FKx * x + FOx;
  } else if (x > kRangeEpsilon) {
    fx = FKx * std::log(x) + FOx;
  } else {
    fx = FRangeHiX >= FRangeLoX ? 0.0 : Width();
  }
  double fy;
  if (!FLogScaleY) {
    fy = FKy * y + FOy;
  } else if (y > kRangeEpsilon) {
    fy = FKy * std::log(y) + FOy;
  } else {
    fy = FRangeHiY >= FRangeLoY ? Height() : 0.0;
  }
  // A value that is not a number goes to the low end of its axis.
  if (std::isnan(fx)) fx = FRangeHiX >= FRangeLoX ? 0.0 : Width();
  if (std::isnan(fy)) fy = FRangeHiY >= FRangeLoY ? Height() : 0.0;
  px = RoundPixel(fx);
  py = RoundPixel(fy);
}

TPoint TRChart::DataToPixel(double x, double y) const {
  TPoint p;
  DataToPixel(x, y, p.x, p.y);
  return p;
}

void TRChart::PixelToData(int px, int py, double& x, double& y) const {
  if (FKx != 0.0) {
    x = (px - FOx) / FKx;
    if (FLogScaleX) x = std::exp(x);
  } else {
    x = FLogScaleX ? std::sqrt(FRangeLoX * FRangeHiX) : (FRangeLoX + FRangeHiX) * 0.5;
  }
  if (FKy != 0.0) {
    y = (py - FOy) / FKy;
    if (FLogScaleY) y = std::exp(y);
  } else {
    y = FLogScaleY ? std::sqrt(FRangeLoY * FRangeHiY) : (FRangeLoY + FRangeHiY) * 0.5;
  }
}

bool TRChart::InChartArea(int px, int py) const {
  return FLRim <= px && px <= Width() - FRRim - FShadowWidth && FTRim <= py &&
         py <= Height() - FBRim - FShadowWidth;
}
