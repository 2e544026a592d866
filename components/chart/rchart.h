#pragma once
// TRChart: an x/y chart control. The host appends drawing items in data
// coordinates to a display list; the chart maps them through two axes (linear
// or natural-logarithmic) into a chart area framed by rims that carry the
// scales, the axis identifiers and the caption. Painting is double-buffered
// through two off-screen bitmaps.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
enum class FigType { NoFigs, Num, Time, NoScales, DateTime };

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

// The grid value after v on an axis: v + |step| on a linear axis or for a
// positive step; on a logarithmic axis step -1 goes by decades, -2 along
// 1, 2, 5, 10, 20, ... and any other negative step along 1..9 times each decade.
double NextGridValue(bool logScale, double step, double v);

class TRChart : public TGraphicControl {
 public:
  // Smallest accepted distance between two bounds, and smallest bound of a
  // logarithmic axis.
  static constexpr double kRangeEpsilon = 1e-30;
  static constexpr int kMaxIdLength = 50;
  static constexpr int kMaxTextLength = 18;
  static constexpr int kMaxPolylinePoints = 200;

  using TMouseMoveInChartEvent = std::function<void(
      TRChart* sender, bool inChart, TShiftState shift, double rMousePosX, double rMousePosY)>;

  explicit TRChart(QWidget* parent = nullptr);
  ~TRChart() override;

  // ---- published properties ----
  bool AutoRedraw() const { return FAutoRedraw; }
  void SetAutoRedraw(bool v) { FAutoRedraw = v; }

  int LRim() const { return FLRim; }
  int RRim() const { return FRRim; }
  int TRim() const { return FTRim; }
  int BRim() const { return FBRim; }
  void SetLRim(int v);
  void SetRRim(int v);
  void SetTRim(int v);
  void SetBRim(int v);

  int ShadowWidth() const { return FShadowWidth; }
  void SetShadowWidth(int v);  // 0..32

  std::uint8_t ClassDefault() const { return FClassDefault; }
  void SetClassDefault(std::uint8_t v);  // 255 is refused

  int DecPlaceX() const { return FDecPlaceX; }
  int DecPlaceY() const { return FDecPlaceY; }
  void SetDecPlaceX(int v);  // -2..6
  void SetDecPlaceY(int v);
  int MinTickX() const { return FMinTickX; }
  int MinTickY() const { return FMinTickY; }
  void SetMinTickX(int v);  // 2..10
  void SetMinTickY(int v);

  GridStyleType GridStyle() const { return FGridStyle; }
  void SetGridStyle(GridStyleType v);
  double GridDx() const { return FGridDx; }
  double GridDy() const { return FGridDy; }
  void SetGridDx(double v);  // 0.0 is refused
  void SetGridDy(double v);

  double RangeLoX() const { return FRangeLoX; }
  double RangeHiX() const { return FRangeHiX; }
  double RangeLoY() const { return FRangeLoY; }
  double RangeHiY() const { return FRangeHiY; }
  void SetRangeLoX(double v);
  void SetRangeHiX(double v);
  void SetRangeLoY(double v);
  void SetRangeHiY(double v);

  bool LogScaleX() const { return FLogScaleX; }
  bool LogScaleY() const { return FLogScaleY; }
  void SetLogScaleX(bool v);
  void SetLogScaleY(bool v);

  TColor DataColor() const { return FDataColor; }
  void SetDataColor(TColor v) { FDataColor = v; }
  std::uint8_t LineWidth() const { return FLineWidth; }
  void SetLineWidth(std::uint8_t v) { FLineWidth = v; }

  TColor ScaleColor() const { return FScaleColor; }
  TColor ChartColor() const { return FChartColor; }
  TColor WindColor() const { return FWindColor; }
  TColor GridColor() const { return FGridColor; }
  void SetScaleColor(TColor v);
  void SetChartColor(TColor v);
  void SetWindColor(TColor v);
  void SetGridColor(TColor v);

  TShadowStyle ShadowStyle() const { return FShadowStyle; }
  void SetShadowStyle(TShadowStyle v);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor v);
  TColor ShadowBakColor() const { return FShadowBakColor; }
  void SetShadowBakColor(TColor v);

  const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string_view v);
  const std::string& IdAbscissa() const { return FIdAbscissa; }
  const std::string& IdOrdinate() const { return FIdOrdinate; }
  void SetIdAbscissa(std::string_view v);  // cut to 50 characters
  void SetIdOrdinate(std::string_view v);

  FigType XLabelType() const { return FXLabelType; }
  FigType YLabelType() const { return FYLabelType; }
  void SetXLabelType(FigType v);  // DateTime switches LogScaleX off
  void SetYLabelType(FigType v);

  // The chart's own format objects; changing their settings repaints.
  TDTLabel& DTXFormat() { return *FDTXFormat; }
  const TDTLabel& DTXFormat() const { return *FDTXFormat; }
  TDTLabel& DTYFormat() { return *FDTYFormat; }
  const TDTLabel& DTYFormat() const { return *FDTYFormat; }
  void SetDTXFormat(const TDTLabel& v);  // copies the settings
  void SetDTYFormat(const TDTLabel& v);

  TFontStyles TextFontStyle() const { return FTextFontStyle; }
  void SetTextFontStyle(TFontStyles v);
  TBrushStyle TextBkStyle() const { return FTextBkStyle; }
  void SetTextBkStyle(TBrushStyle v);
  TColor TextBkColor() const { return FTextBkColor; }
  void SetTextBkColor(TColor v);

  MouseActMode MouseAction() const { return FMouseAction; }
  void SetMouseAction(MouseActMode v) { FMouseAction = v; }
  bool MouseCursorFixed() const { return FMouseCursorFixed; }
  void SetMouseCursorFixed(bool v) { FMouseCursorFixed = v; }
  double MousePosX() const { return FMousePosX; }
  double MousePosY() const { return FMousePosY; }

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
  void DrawLinTicks(TSurface& s, bool xAxis);
  void DrawLogTicks(TSurface& s, bool xAxis);

  // Runs the full paint when AutoRedraw is set.
  void Changed();

  // Mouse state shared by all charts: the last mouse position in control
  // pixels and the zoom window (flag, first corner, last drawn corner).
  static inline TPoint FLastMouse{};
  static inline int FZoomWindFlag = 0;
  static inline TPoint FZoomStart{};
  static inline TPoint FZoomLast{};

 private:
  void AppendItem(TGrafItem item);
  void CreateBitmaps();
  int AreaWidth() const;                       // Width - LRim - RRim - ShadowWidth
  int AreaHeight() const;                      // Height - TRim - BRim - ShadowWidth
  TPoint ItemPixel(double x, double y) const;  // clamped, in chart-area pixels

  bool FAutoRedraw = true;
  int FLRim = 50, FRRim = 10, FTRim = 16, FBRim = 32;
  int FShadowWidth = 0;
  std::uint8_t FClassDefault = 0;
  int FDecPlaceX = 1, FDecPlaceY = 1;
  int FMinTickX = 3, FMinTickY = 3;
  GridStyleType FGridStyle = gsNone;
  double FGridDx = 1.0, FGridDy = 1.0;
  double FRangeLoX = 0.0, FRangeHiX = 10.0, FRangeLoY = 0.0, FRangeHiY = 10.0;
  bool FLogScaleX = false, FLogScaleY = false;
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
  FigType FXLabelType = FigType::Num, FYLabelType = FigType::Num;
  std::unique_ptr<TDTLabel> FDTXFormat, FDTYFormat;
  TFontStyles FTextFontStyle;
  TBrushStyle FTextBkStyle = TBrushStyle::bsClear;
  TColor FTextBkColor = clWhite;
  MouseActMode FMouseAction = maNone;
  bool FMouseCursorFixed = false;
  double FMousePosX = 0.0, FMousePosY = 0.0;

  // Pan and zoom-drag state of this chart.
  bool FDragActive = false;
  TPoint FDragStart;
  double FSavedLoX = 0.0, FSavedLoY = 0.0, FSavedHiX = 0.0, FSavedHiY = 0.0;

  double FKx = 0.0, FOx = 0.0, FKy = 0.0, FOy = 0.0;
  std::vector<TGrafItem> FItems;
  TBitmapFactory FFactory;
  std::unique_ptr<TBitmap> FWinBmp;
  std::unique_ptr<TBitmap> FAreaBmp;
};
