#include "examples/chartdemo/demowindow.h"

#include <QActionGroup>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

#include "examples/chartdemo/demochart.h"

namespace {

// The chart's place in the window: as large as the command line asks at
// first; the chart fills it (Align) when the window is resized.
class TChartHost : public QWidget {
 public:
  TChartHost(int w, int h) : FHint(w, h) {}
  QSize sizeHint() const override { return FHint; }

 private:
  QSize FHint;
};

struct TMouseChoice {
  const char* Text;
  MouseActMode Mode;
};
constexpr TMouseChoice kMouseChoices[] = {{"&None", maNone},
                                          {"&Pan", maPan},
                                          {"Zoom &window", maZoomWind},
                                          {"Zoom window (p&os)", maZoomWindPos},
                                          {"Zoom &drag", maZoomDrag}};

struct TLabelChoice {
  const char* Text;
  FigType Type;
};
constexpr TLabelChoice kLabelChoices[] = {{"Numbers", FigType::Num},
                                          {"Time", FigType::Time},
                                          {"Date/time", FigType::DateTime},
                                          {"Ticks only", FigType::NoFigs},
                                          {"No scale", FigType::NoScales}};

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

TDemoWindow::TDemoWindow(const TChartDemoOptions& o, QWidget* parent)
    : QMainWindow(parent), FOptions(o) {
  setWindowTitle("Alearix chart demo");
  auto* host = new TChartHost(o.Width, o.Height);
  FChart = new TRChart(host);
  ConfigureChart(*FChart, o);
  AddSampleData(*FChart);
  FChart->SetAlign(alClient);
  setCentralWidget(host);

  FPosition = new QLabel(this);
  FRanges = new QLabel(this);
  statusBar()->addWidget(FPosition, 1);
  statusBar()->addPermanentWidget(FRanges);
  FChart->OnMouseMoveInChart = [this](TRChart*, bool in, TShiftState, double x, double y) {
    ShowPosition(in, x, y);
    ShowRanges();
  };
  BuildToolBar();
  ShowRanges();

  auto* quit = new QAction("&Quit", this);
  quit->setShortcut(QKeySequence("Ctrl+Q"));
  connect(quit, &QAction::triggered, this, &QWidget::close);
  addAction(quit);
}

void TDemoWindow::FitChart() {
  const QSize chart(FOptions.Width, FOptions.Height);
  resize(size() + chart - centralWidget()->size());
}

void TDemoWindow::BuildToolBar() {
  QToolBar* bar = addToolBar("Mouse");
  bar->setMovable(false);
  bar->addWidget(new QLabel("Mouse: ", bar));
  auto* group = new QActionGroup(this);
  int key = 1;
  for (const TMouseChoice& c : kMouseChoices) {
    QAction* a = bar->addAction(c.Text);
    a->setCheckable(true);
    a->setChecked(c.Mode == FChart->MouseAction());
    a->setShortcut(QKeySequence(QString("Ctrl+%1").arg(key++)));
    a->setToolTip(a->text().remove('&') + " (" + a->shortcut().toString() + ")");
    group->addAction(a);
    const MouseActMode mode = c.Mode;
    connect(a, &QAction::triggered, this, [this, mode] { FChart->SetMouseAction(mode); });
  }
  addToolBarBreak();
  bar = addToolBar("Labels");
  bar->setMovable(false);
  bar->addWidget(new QLabel("x labels: ", bar));
  bar->addWidget(LabelTypeBox(FChart->XLabelType(), &TRChart::SetXLabelType));
  bar->addWidget(new QLabel(" y labels: ", bar));
  bar->addWidget(LabelTypeBox(FChart->YLabelType(), &TRChart::SetYLabelType));
  bar->addSeparator();
  bar->addWidget(new QLabel(" Time: ", bar));
  auto* format = new QComboBox(bar);
  format->addItems({"09:00", "9h", "9am"});
  format->setCurrentIndex(static_cast<int>(FChart->DTXFormat().TimeFormat()));
  format->setToolTip("Format of time-of-day labels");
  connect(format, &QComboBox::currentIndexChanged, this, [this](int i) {
    FChart->DTXFormat().SetTimeFormat(static_cast<TimeFormatType>(i));
    FChart->DTYFormat().SetTimeFormat(static_cast<TimeFormatType>(i));
  });
  bar->addWidget(format);
  bar->addSeparator();
  QAction* reset = bar->addAction("&Reset");
  reset->setShortcut(QKeySequence("Ctrl+R"));
  reset->setToolTip("Back to the start ranges (Ctrl+R)");
  connect(reset, &QAction::triggered, this, &TDemoWindow::ResetRanges);
}

QComboBox* TDemoWindow::LabelTypeBox(FigType current, void (TRChart::*set)(FigType)) {
  auto* box = new QComboBox(this);
  for (const TLabelChoice& c : kLabelChoices) {
    box->addItem(c.Text);
    if (c.Type == current) box->setCurrentIndex(box->count() - 1);
  }
  connect(box, &QComboBox::currentIndexChanged, this, [this, set](int i) {
    (FChart->*set)(kLabelChoices[i].Type);
    ShowRanges();
  });
  return box;
}

void TDemoWindow::ShowPosition(bool inChart, double x, double y) {
  const std::string text = "x " + AxisValueText(FChart->XLabelType(), FChart->DTXFormat(), x) +
                           "   y " + AxisValueText(FChart->YLabelType(), FChart->DTYFormat(), y);
  FPosition->setText(Text(text) + (inChart ? "" : "   (outside the chart area)"));
}

void TDemoWindow::ShowRanges() {
  auto range = [](FigType t, const TDTLabel& f, double lo, double hi) {
    return AxisValueText(t, f, lo) + " .. " + AxisValueText(t, f, hi);
  };
  const TRChart& c = *FChart;
  FRanges->setText(Text("x " + range(c.XLabelType(), c.DTXFormat(), c.RangeLoX(), c.RangeHiX()) +
                        "   y " +
                        range(c.YLabelType(), c.DTYFormat(), c.RangeLoY(), c.RangeHiY())));
}

void TDemoWindow::ResetRanges() {
  FChart->SetRanges(FOptions.X.Lo, FOptions.Y.Lo, FOptions.X.Hi, FOptions.Y.Hi);
  FChart->Repaint();
}
