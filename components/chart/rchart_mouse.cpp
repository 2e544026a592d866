// TRChart: the mouse. Pan and zoom drag follow the mouse while the left button
// is held; the zoom window is spanned by two left presses, with a band drawn
// in exclusive-or mode between them. Every move reports the position in data
// units and sets the cursor of the chart's mode.
#include <algorithm>
#include <cmath>

#include "components/chart/rchart.h"
#include "platform/cursors.h"

namespace {

// ln(hi / lo), also when the quotient overflows a double.
double LogRatio(double hi, double lo) {
  const double q = hi / lo;
  if (std::isfinite(q) && q > 0) return std::log(q);
  return std::log(hi) - std::log(lo);
}

}  // namespace

void TRChart::SetMouseAction(MouseActMode v) {
  if (v == FMouseAction) return;
  EndZoomWindow();
  FDragActive = false;
  FMouseAction = v;
}

void TRChart::XorBand(TPoint a, TPoint b) {
  TSurface& c = Canvas();
  c.SetPenMode(TPenMode::pmXor);
  c.SetPenColor(clWhite);
  c.SetPenWidth(1);
  c.SetPenStyle(TPenStyle::psSolid);
  c.SetBrushStyle(TBrushStyle::bsClear);
  c.Rectangle(a.x, a.y, b.x, b.y);
  c.SetPenMode(TPenMode::pmCopy);
  c.SetBrushStyle(TBrushStyle::bsSolid);
  Invalidate();
}

void TRChart::EndZoomWindow() {
  if (!FZoomWindow) return;
  FZoomWindow = false;
  XorBand(FZoomStart, FZoomLast);  // erases the band
}

void TRChart::DragStep(int x, int y) {
  if (!FDragActive) {
    // The drag starts at the first move with the button held.
    FDragActive = true;
    FDragStart = {x, y};
    FSavedLoX = FX.Lo;
    FSavedHiX = FX.Hi;
    FSavedLoY = FY.Lo;
    FSavedHiY = FY.Hi;
    return;
  }
  if (!InChartArea(x, y)) return;
  const int w = AreaWidth(), h = AreaHeight();
  const double sx = FDragStart.x, sy = FDragStart.y;
  double loX = FSavedLoX, hiX = FSavedHiX, loY = FSavedLoY, hiY = FSavedHiY;
  if (FMouseAction == maPan) {
    // The data point under the mouse at the start stays under it.
    if (w > 0 && !FX.Log) {
      const double dx = (FX.Hi - FX.Lo) * (x - sx) / w;
      loX = FSavedLoX - dx;
      hiX = FSavedHiX - dx;
    } else if (w > 0) {
      const double f = std::exp(LogRatio(FX.Hi, FX.Lo) * (sx - x) / w);
      loX = FSavedLoX * f;
      hiX = FSavedHiX * f;
    }
    if (h > 0 && !FY.Log) {
      const double dy = (FY.Hi - FY.Lo) * (y - sy) / h;
      loY = FSavedLoY + dy;
      hiY = FSavedHiY + dy;
    } else if (h > 0) {
      const double g = std::exp(LogRatio(FY.Hi, FY.Lo) * (y - sy) / h);
      loY = FSavedLoY * g;
      hiY = FSavedHiY * g;
    }
  } else {
    // Right or up narrows the range about its centre, left or down widens it.
    const double fx = 1 - (x - sx) / Width();
    const double fy = 1 + (y - sy) / Height();
    const double cx = (FSavedHiX + FSavedLoX) * 0.5, cy = (FSavedHiY + FSavedLoY) * 0.5;
    const double hx = (FSavedHiX - FSavedLoX) * fx * 0.5;
    const double hy = (FSavedHiY - FSavedLoY) * fy * 0.5;
    loX = cx - hx;
    hiX = cx + hx;
    loY = cy - hy;
    hiY = cy + hy;
  }
  // A step beyond the range of a double leaves that axis as it is.
  if (!std::isfinite(loX) || !std::isfinite(hiX)) {
    loX = FX.Lo;
    hiX = FX.Hi;
  }
  if (!std::isfinite(loY) || !std::isfinite(hiY)) {
    loY = FY.Lo;
    hiY = FY.Hi;
  }
  SetRanges(loX, loY, hiX, hiY);
  Repaint();
}

void TRChart::UpdateCursor(bool inside) {
  int index = crDefault;
  if (inside && !FMouseCursorFixed) {
    switch (FMouseAction) {
      case maNone:
        index = crCross;
        break;
      case maPan:
        index = crChartHand;
        break;
      case maZoomWind:
        index = crChartZoomWind;
        break;
      case maZoomWindPos:
        index = crChartZoomWindPos;
        break;
      case maZoomDrag:
        index = crChartZoomDrag;
        break;
    }
  }
  SetCursor(index);
}

void TRChart::MouseMove(TShiftState shift, int x, int y) {
  FLastMouse = {x, y};
  TGraphicControl::MouseMove(shift, x, y);
  TPoint at{x, y};  // the mouse point, or the band's corner while a zoom window is drawn
  switch (FMouseAction) {
    case maPan:
    case maZoomDrag:
      if (shift.Contains(TShiftFlag::ssLeft)) {
        DragStep(x, y);
      } else {
        FDragActive = false;
      }
      break;
    case maZoomWind:
    case maZoomWindPos:
      if (FZoomWindow) {
        at = ClampToChartArea(x, y);
        XorBand(FZoomStart, FZoomLast);
        XorBand(FZoomStart, at);
        FZoomLast = at;
      }
      break;
    case maNone:
      break;
  }
  const bool inside = InChartArea(at.x, at.y);
  if (inside) PixelToData(at.x, at.y, FMousePosX, FMousePosY);
  UpdateCursor(inside);
  if (OnMouseMoveInChart) {
    double dx, dy;
    PixelToData(x, y, dx, dy);
    OnMouseMoveInChart(this, InChartArea(x, y), shift, dx, dy);
  }
}

void TRChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (FMouseAction != maZoomWind && FMouseAction != maZoomWindPos) return;
  if (!FZoomWindow) {
    if (button == mbLeft && InChartArea(x, y)) {
      FZoomWindow = true;
      FZoomStart = FZoomLast = {x, y};
    }
    return;
  }
  if (button == mbRight) {
    EndZoomWindow();  // cancelled
  } else if (button == mbLeft) {
    if (FZoomStart.x == FZoomLast.x || FZoomStart.y == FZoomLast.y) {
      EndZoomWindow();  // only a line or a point: dropped
      return;
    }
    FZoomWindow = false;
    double x1, y1, x2, y2;
    PixelToData(FZoomStart.x, FZoomStart.y, x1, y1);
    PixelToData(FZoomLast.x, FZoomLast.y, x2, y2);
    if (FMouseAction == maZoomWindPos) {
      if (x2 < x1) std::swap(x1, x2);
      if (y2 < y1) std::swap(y1, y2);
    }
    SetRanges(x1, y1, x2, y2);
    Repaint();  // which also removes the band
  }
}
