#pragma once
// TRChart: an x/y chart control. The host appends drawing items in data
// coordinates to a display list; the chart maps them through two axes (linear
// or natural-logarithmic) into a chart area framed by rims that carry the
// scales, the axis identifiers and the caption. Painting is double-buffered
// through two off-screen bitmaps.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "components/chart/chartaxis.h"
#include "components/chart/datetimescale.h"
#include "components/chart/dtlabel.h"
#include "platform/graphiccontrol.h"
#include "platform/surface.h"

enum GridStyleType {
  gsNone,
  gsPoints,
  gsVertLines,
  gsHorizLines,
  gsLines,
  gsHorizDotLines,
  gsVertDotLines,
  gsDotLines
};
enum class TShadowStyle { ssFlying, ssBox };
enum MouseActMode { maNone, maPan, maZoomWind, maZoomWindPos, maZoomDrag };

// Kinds of display-list items; gkEnd marks the end of the list.
enum TGrafKind : std::uint8_t {
  gkEnd = 0,
  gkMark = 1,
  gkLine = 2,
  gkLineTo = 3,
  gkFilledRect = 4,
  gkBar3D = 5,
  gkText = 6,
  gkMoveTo = 7
};

// One item of the display list. x2/y2 belong to lines, rectangles and bars,
// Mark to marks, Depth/Angle to bars, Size/Text to texts.
struct TGrafItem {
  double x = 0.0;
  double y = 0.0;
  TColor Color = clBlack;
  std::uint8_t Width = 1;
  std::uint8_t Class = 0;
  TGrafKind Kind = gkEnd;
  std::uint8_t Mark = 0;
  double x2 = 0.0;
  double y2 = 0.0;
  int Depth = 0;
  int Angle = 0;
  int Size = 0;
  std::string Text;  // at most 18 characters
};

class TRChart : public TGraphicControl {
 public:
  // Smallest accepted distance between two bounds, and smallest bound of a
  // logarithmic axis.
  static constexpr double kRangeEpsilon = TChartAxis::kRangeEpsilon;
  static constexpr int kMaxIdLength = 50;
  static constexpr int kMaxTextLength = 18;
  static constexpr int kMaxPolylinePoints = 200;

  using TMouseMoveInChartEvent = std::function<void(
      TRChart* sender, bool inChart, TShiftState shift, double rMousePosX, double rMousePosY)>;

  explicit TRChart(QWidget* parent = nullptr);
  ~TRChart() override;

  // ---- published properties ----
  // Setters store a changed value, rescale where the mapping depends on it and
  // repaint when AutoRedraw is set; setting the current value does nothing.
  bool AutoRedraw() const { return FAutoRedraw; }
  void SetAutoRedraw(bool v) { FAutoRedraw = v; }

  int LRim() const { return FLRim; }
  int RRim() const { return FRRim; }
  int TRim() const { return FTRim; }
  int BRim() const { return FBRim; }
  void SetLRim(int v) { Update(FLRim, v, TEffect::efRescale); }
  void SetRRim(int v) { Update(FRRim, v, TEffect::efRescale); }
  void SetTRim(int v) { Update(FTRim, v, TEffect::efRescale); }
  void SetBRim(int v) { Update(FBRim, v, TEffect::efRescale); }

  int ShadowWidth() const { return FShadowWidth; }
  void SetShadowWidth(int v) { Update(FShadowWidth, std::clamp(v, 0, 32), TEffect::efRescale); }

  std::uint8_t ClassDefault() const { return FClassDefault; }
  void SetClassDefault(std::uint8_t v) {  // 255 is refused
    if (v != 255) FClassDefault = v;
  }

  int DecPlaceX() const { return FX.DecPlace; }
  int DecPlaceY() const { return FY.DecPlace; }
  void SetDecPlaceX(int v) { Update(FX.DecPlace, std::clamp(v, -2, 6)); }
  void SetDecPlaceY(int v) { Update(FY.DecPlace, std::clamp(v, -2, 6)); }
  int MinTickX() const { return FX.MinTick; }
  int MinTickY() const { return FY.MinTick; }
  void SetMinTickX(int v) { Update(FX.MinTick, std::clamp(v, 2, 10)); }
  void SetMinTickY(int v) { Update(FY.MinTick, std::clamp(v, 2, 10)); }

  GridStyleType GridStyle() const { return FGridStyle; }
  void SetGridStyle(GridStyleType v) { Update(FGridStyle, v); }
  double GridDx() const { return FGridDx; }
  double GridDy() const { return FGridDy; }
  void SetGridDx(double v) {  // 0.0 is refused
    if (v != 0.0) Update(FGridDx, v);
  }
  void SetGridDy(double v) {
    if (v != 0.0) Update(FGridDy, v);
  }

  double RangeLoX() const { return FX.Lo; }
  double RangeHiX() const { return FX.Hi; }
  double RangeLoY() const { return FY.Lo; }
  double RangeHiY() const { return FY.Hi; }
  void SetRangeLoX(double v) { UpdateRange(FX, FX.WithLow(v)); }
  void SetRangeHiX(double v) { UpdateRange(FX, FX.WithHigh(v)); }
  void SetRangeLoY(double v) { UpdateRange(FY, FY.WithLow(v)); }
  void SetRangeHiY(double v) { UpdateRange(FY, FY.WithHigh(v)); }

  // Switching on succeeds only with positive bounds and not for DateTime labels.
  bool LogScaleX() const { return FX.Log; }
  bool LogScaleY() const { return FY.Log; }
  void SetLogScaleX(bool v) { Update(FX.Log, v && (FX.Log || FX.AllowsLog()), TEffect::efRescale); }
  void SetLogScaleY(bool v) { Update(FY.Log, v && (FY.Log || FY.AllowsLog()), TEffect::efRescale); }

  TColor DataColor() const { return FDataColor; }
  void SetDataColor(TColor v) { FDataColor = v; }
  std::uint8_t LineWidth() const { return FLineWidth; }
  void SetLineWidth(std::uint8_t v) { FLineWidth = v; }

  TColor ScaleColor() const { return FScaleColor; }
  TColor ChartColor() const { return FChartColor; }
  TColor WindColor() const { return FWindColor; }
  TColor GridColor() const { return FGridColor; }
  void SetScaleColor(TColor v) { Update(FScaleColor, v); }
  void SetChartColor(TColor v) { Update(FChartColor, v); }
  void SetWindColor(TColor v) { Update(FWindColor, v); }
  void SetGridColor(TColor v) { Update(FGridColor, v); }

  TShadowStyle ShadowStyle() const { return FShadowStyle; }
  void SetShadowStyle(TShadowStyle v) { Update(FShadowStyle, v); }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor v) { Update(FShadowColor, v); }
  TColor ShadowBakColor() const { return FShadowBakColor; }
  void SetShadowBakColor(TColor v) { Update(FShadowBakColor, v); }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string_view v) { Update(FCaption, std::string(v)); }
  const std::string& IdAbscissa() const { return FIdAbscissa; }
  const std::string& IdOrdinate() const { return FIdOrdinate; }
  void SetIdAbscissa(std::string_view v);  // cut to 50 characters
  void SetIdOrdinate(std::string_view v);

  FigType XLabelType() const { return FX.LabelType; }
  FigType YLabelType() const { return FY.LabelType; }
  void SetXLabelType(FigType v) { UpdateLabelType(FX, v); }  // DateTime switches LogScaleX off
  void SetYLabelType(FigType v) { UpdateLabelType(FY, v); }

  // The chart's own format objects; changing their settings repaints.
  TDTLabel& DTXFormat() { return FX.DTFormat; }
  const TDTLabel& DTXFormat() const { return FX.DTFormat; }
  TDTLabel& DTYFormat() { return FY.DTFormat; }
  const TDTLabel& DTYFormat() const { return FY.DTFormat; }
  void SetDTXFormat(const TDTLabel& v);  // copies the settings
  void SetDTYFormat(const TDTLabel& v);

  TFontStyles TextFontStyle() const { return FTextFontStyle; }
  void SetTextFontStyle(TFontStyles v) { Update(FTextFontStyle, v); }
  TBrushStyle TextBkStyle() const { return FTextBkStyle; }
  void SetTextBkStyle(TBrushStyle v) { Update(FTextBkStyle, v); }
  TColor TextBkColor() const { return FTextBkColor; }
  void SetTextBkColor(TColor v) { Update(FTextBkColor, v); }

  // The mouse mode; a change drops a drag or a zoom window in progress.
  MouseActMode MouseAction() const { return FMouseAction; }
  void SetMouseAction(MouseActMode v);
  bool MouseCursorFixed() const { return FMouseCursorFixed; }
  void SetMouseCursorFixed(bool v) { FMouseCursorFixed = v; }
  // The last mouse position inside the chart area, in data units.
  double MousePosX() const { return FMousePosX; }
  double MousePosY() const { return FMousePosY; }

  // Fired after every mouse move over the control and at the end of every
  // full paint (with the last mouse position and an empty shift state).
  TMouseMoveInChartEvent OnMouseMoveInChart;

  // ---- display list ----
  void ClearGraf();
  void MoveTo(double x, double y);
  void DrawTo(double x, double y);
  void Line(double x1, double y1, double x2, double y2);
  void MarkAt(double x, double y, std::uint8_t code);
  void FilledRectangle(double x1, double y1, double x2, double y2);
  void Bar3D(double x1, double y1, double x2, double y2, int depth, int angle);
  void Text(double x, double y, int sizePt, std::string_view text);  // cut to 18 characters
  void ShowGraf();

  // The items in drawing order; the last one is always the end marker.
  const std::vector<TGrafItem>& GrafItems() const { return FItems; }

  // ---- coordinate mapping ----
  virtual void CalcScaling();
  void DataToPixel(double x, double y, int& px, int& py) const;
  TPoint DataToPixel(double x, double y) const;
  // On an axis whose scale factor is 0 (no chart area) the result is the
  // middle of that axis' range (geometric middle on a logarithmic axis).
  void PixelToData(int px, int py, double& x, double& y) const;
  void SetRanges(double loX, double loY, double hiX, double hiY);
  // Whether a control pixel lies inside the chart area (corners included).
  bool InChartArea(int px, int py) const;
  // The nearest pixel of the chart area (its edges included).
  TPoint ClampToChartArea(int px, int py) const;

  // ---- painting ----
  void Paint() override;

  // Replaces both off-screen bitmaps by ones from this factory (tests record).
  void SetBitmapFactory(TBitmapFactory factory);
  const TBitmap& WindowBitmap() const { return *FWinBmp; }
  const TBitmap& ChartAreaBitmap() const { return *FAreaBmp; }

 protected:
  void DrawScales();
  void ClearChartArea();
  void DrawChartArea();
  void DrawGrid();
  void DrawXScale(TSurface& s);
  void DrawYScale(TSurface& s);

  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

  // Runs the full paint when AutoRedraw is set.
  void Changed();

 private:
  enum class TEffect { efRepaint, efRescale };
  // The one property setter: stores a changed value, rescales for efRescale,
  // and repaints.
  template <typename T>
  void Update(T& field, T v, TEffect effect = TEffect::efRepaint) {
    if (field == v) return;
    field = std::move(v);
    if (effect == TEffect::efRescale) CalcScaling();
    Changed();
  }
  void UpdateRange(TChartAxis& axis, std::pair<double, double> bounds);
  void UpdateLabelType(TChartAxis& axis, FigType v);

  // Draws the ticks, labels or message of one axis and its identifier.
  void DrawAxisScale(TSurface& s, const TChartAxis& axis, const TAxisRule& rule);
  void DrawTickList(TSurface& s, const TAxisRule& rule, const std::vector<TScaleTick>& ticks);
  void DrawScaleMessage(TSurface& s, const TChartAxis& axis, const TAxisRule& rule,
                        TScaleMessage m);

  void AppendItem(TGrafItem item);
  void CreateBitmaps();
  int AreaWidth() const;                       // Width - LRim - RRim - ShadowWidth
  int AreaHeight() const;                      // Height - TRim - BRim - ShadowWidth
  TPoint ItemPixel(double x, double y) const;  // clamped, in chart-area pixels

  // The zoom window's band, drawn in exclusive-or mode on the control's canvas
  // so that drawing it again removes it.
  void XorBand(TPoint a, TPoint b);
  void EndZoomWindow();
  void DragStep(int x, int y);
  void UpdateCursor(bool inside);

  bool FAutoRedraw = true;
  int FLRim = 50, FRRim = 10, FTRim = 16, FBRim = 32;
  int FShadowWidth = 0;
  std::uint8_t FClassDefault = 0;
  GridStyleType FGridStyle = gsNone;
  double FGridDx = 1.0, FGridDy = 1.0;
  TChartAxis FX, FY;
  TColor FDataColor = clBlack;
  std::uint8_t FLineWidth = 1;
  TColor FScaleColor = clBlack;
  TColor FChartColor = clWhite;
  TColor FWindColor = clSilver;
  TColor FGridColor = clBlack;
  TShadowStyle FShadowStyle = TShadowStyle::ssFlying;
  TColor FShadowColor = clGray;
  TColor FShadowBakColor = clSilver;
  std::string FCaption, FIdAbscissa, FIdOrdinate;
  TFontStyles FTextFontStyle;
  TBrushStyle FTextBkStyle = TBrushStyle::bsClear;
  TColor FTextBkColor = clWhite;
  MouseActMode FMouseAction = maNone;
  bool FMouseCursorFixed = false;
  double FMousePosX = 0.0, FMousePosY = 0.0;

  // Mouse state of this chart: the last mouse position in control pixels; the
  // pan and zoom-drag state (start pixel and the bounds saved then); the zoom
  // window (first corner placed, its first and last drawn corner).
  TPoint FLastMouse;
  bool FDragActive = false;
  TPoint FDragStart;
  double FSavedLoX = 0.0, FSavedLoY = 0.0, FSavedHiX = 0.0, FSavedHiY = 0.0;
  bool FZoomWindow = false;
  TPoint FZoomStart, FZoomLast;

  std::vector<TGrafItem> FItems;
  TBitmapFactory FFactory;
  std::unique_ptr<TBitmap> FWinBmp;
  std::unique_ptr<TBitmap> FAreaBmp;
};
