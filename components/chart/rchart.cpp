// TRChart: properties, display list and coordinate mapping.
#include "components/chart/rchart.h"

#include <algorithm>
#include <cmath>

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
  FX.DTFormat.OnChange = [this](TDTLabel*) { Changed(); };
  FY.DTFormat.OnChange = [this](TDTLabel*) { Changed(); };
  RegisterChartCursors();
  // The bitmaps exist before the first size change, which may paint.
  FFactory = DefaultBitmapFactory();
  CreateBitmaps();
  SetBounds(Left(), Top(), 240, 160);
  FAreaBmp->SetSize(std::max(0, AreaWidth() + 1), std::max(0, AreaHeight() + 1));
  FWinBmp->SetSize(Width(), Height());
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

void TRChart::UpdateRange(TChartAxis& axis, std::pair<double, double> bounds) {
  if (bounds.first == axis.Lo && bounds.second == axis.Hi) return;
  axis.Lo = bounds.first;
  axis.Hi = bounds.second;
  CalcScaling();
  Changed();
}

void TRChart::UpdateLabelType(TChartAxis& axis, FigType v) {
  if (v == axis.LabelType) return;
  axis.LabelType = v;
  if (v == FigType::DateTime && axis.Log) {
    axis.Log = false;
    CalcScaling();
  }
  Changed();
}

void TRChart::SetRanges(double loX, double loY, double hiX, double hiY) {
  if (FX.TakesRange(loX, hiX)) {
    FX.Lo = loX;
    FX.Hi = hiX;
  }
  if (FY.TakesRange(loY, hiY)) {
    FY.Lo = loY;
    FY.Hi = hiY;
  }
  CalcScaling();
}

void TRChart::SetIdAbscissa(std::string_view v) {
  Update(FIdAbscissa, CutChars(v, kMaxIdLength));
}

void TRChart::SetIdOrdinate(std::string_view v) {
  Update(FIdOrdinate, CutChars(v, kMaxIdLength));
}

void TRChart::SetDTXFormat(const TDTLabel& v) {
  if (FX.DTFormat.SameSettings(v)) return;
  FX.DTFormat.AssignSettings(v);
  Changed();
}

void TRChart::SetDTYFormat(const TDTLabel& v) {
  if (FY.DTFormat.SameSettings(v)) return;
  FY.DTFormat.AssignSettings(v);
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
  FX.CalcScale(FLRim, Width() - FRRim - FShadowWidth, AreaWidth(), Width() * 0.5);
  FY.CalcScale(Height() - FBRim - FShadowWidth, FTRim, AreaHeight(), Height() * 0.5);
}

void TRChart::DataToPixel(double x, double y, int& px, int& py) const {
  px = RoundPixel(FX.Map(x, 0.0, Width()));
  py = RoundPixel(FY.Map(y, Height(), 0.0));
}

TPoint TRChart::DataToPixel(double x, double y) const {
  TPoint p;
  DataToPixel(x, y, p.x, p.y);
  return p;
}

void TRChart::PixelToData(int px, int py, double& x, double& y) const {
  x = FX.Unmap(px);
  y = FY.Unmap(py);
}

bool TRChart::InChartArea(int px, int py) const {
  return FLRim <= px && px <= Width() - FRRim - FShadowWidth && FTRim <= py &&
         py <= Height() - FBRim - FShadowWidth;
}

TPoint TRChart::ClampToChartArea(int px, int py) const {
  return {std::max(FLRim, std::min(px, Width() - FRRim - FShadowWidth)),
          std::max(FTRim, std::min(py, Height() - FBRim - FShadowWidth))};
}
