#pragma once
// The demo's window: a tool bar for the mouse mode, the label types of both
// axes and the time format; the chart; a status bar with the mouse position
// and the current ranges.
#include <QMainWindow>

#include "components/chart/rchart.h"
#include "examples/chartdemo/demooptions.h"

class QComboBox;
class QLabel;

class TDemoWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit TDemoWindow(const TChartDemoOptions& o, QWidget* parent = nullptr);

  TRChart& Chart() { return *FChart; }
  // Sizes the shown window so that the chart has the size the command line
  // asked for, also when the tool bars would make it wider.
  void FitChart();

 private:
  void BuildToolBar();
  QComboBox* LabelTypeBox(FigType current, void (TRChart::*set)(FigType));
  void ShowPosition(bool inChart, double x, double y);
  void ShowRanges();
  void ResetRanges();

  TChartDemoOptions FOptions;
  TRChart* FChart = nullptr;
  QLabel* FPosition = nullptr;
  QLabel* FRanges = nullptr;
};
