#include "app/frmdistr.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <algorithm>
#include <charconv>
#include <utility>

#include "app/about.h"
#include "app/core/distfile.h"
#include "app/core/export.h"
#include "app/core/session.h"
#include "app/core/shapes.h"
#include "app/core/sketch.h"
#include "app/distchart/districhart.h"
#include "app/frmedit.h"
#include "app/glyphs.h"
#include "components/chart/rchart.h"
#include "components/common/floattext.h"
#include "components/common/numparse.h"
#include "components/numlab/numlab.h"
#include "components/numlab/numtext.h"
#include "components/tabed/ntabed.h"
#include "platform/cursors.h"
#include "platform/scrollbar.h"
#include "platform/services.h"
#include "platform/syscolors.h"
#include "platform/textio/textfile.h"

namespace {

constexpr int kClientWidth = 557;
constexpr int kClientHeight = 481;
constexpr int kPanelHeight = 153;
const char* const kWindowCaption = "Alearix - Configurable Random Generator";
const char* const kEditHint = "Press <ENTER> to accept, <ESC> to cancel";
const char* const kHelpTitle = "Alearix Help";
const char* const kChartHint = "Drag to draw the density, Ctrl+Z to undo";
constexpr int kUndoStrokes = 50;  // strokes kept for undo

// The file dialogs of "Calc", "Save" and "Load"; both save dialogs ask before overwriting.
const TFileDialogRequest kAscDialog{"ASCII Format|*.asc", "unknown.asc", true};
const TFileDialogRequest kRndSaveDialog{"Random Number Distribution|*.rnd", "unknown.rnd", true};
const TFileDialogRequest kRndOpenDialog{"Random Number Distribution|*.rnd", "unknown.rnd", false};

QFont FormFont() {
  QFont f("Arial");
  f.setPixelSize(13);
  return f;
}

// " -300.000": a blank, then the value with three decimals and no padding, rounded as
// the label rounds it, but always with the "." that the box's conversion expects.
std::string RangeEditText(double v) {
  if (std::optional<std::string> text = NumLabText(TDisplay::dtFixP, 3, v, ".")) return " " + *text;
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
  return " " + std::string(buf, r.ptr);
}

// Shows a busy cursor while a long command runs.
class TBusyCursor {
 public:
  TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

void SetRefTable(TAlearix& gen, const std::vector<double>& t) {
  for (int i = 1; i <= static_cast<int>(t.size()); ++i) gen.SetRefPoint(i, t[i - 1]);
}

// One drawn stroke as an undo step. It keeps the whole table of the other state and
// swaps it with the generator's on every undo and redo.
class TStrokeCommand : public QUndoCommand {
 public:
  TStrokeCommand(TFrmMain& form, std::vector<double> before)
      : FForm(form), FOther(std::move(before)) {
    setText("Draw");
  }
  void undo() override { Swap(); }
  void redo() override {
    if (FPushed) Swap();  // pushing runs redo, but the stroke is drawn already
    FPushed = true;
  }

 private:
  void Swap() {
    std::vector<double> now = FForm.Generator().RefPoints();
    SetRefTable(FForm.Generator(), FOther);
    FOther = std::move(now);
    FForm.DrawDistri();
  }

  TFrmMain& FForm;
  std::vector<double> FOther;
  bool FPushed = false;
};

}  // namespace

TFrmMain::TFrmMain(IFileDialogs* dialogs, IHelpViewer* help, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      FDialogs(dialogs),
      FHelp(help) {
  SetStartState(FGenerator);
  NumRandNums = kStartCount;

  setWindowTitle(kWindowCaption);
  setFont(FormFont());
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setFixedSize(kClientWidth, kClientHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - kClientWidth) / 2,
         area.top() + (area.height() - kClientHeight) / 2);
  }

  CreateControls();
  CreateEditDialog();
  CreateSketching();

  FModalRunner = [](QDialog& dlg) { return dlg.exec(); };
  FAboutBox = new TAboutBox(this);
  FAboutBox->hide();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::SetFileDialogs(IFileDialogs* dialogs) {
  FDialogs = dialogs;
}
void TFrmMain::SetHelpViewer(IHelpViewer* help) {
  FHelp = help;
}
void TFrmMain::SetDisclaimer(std::function<int()> disclaimer) {
  FDisclaimer = std::move(disclaimer);
}
void TFrmMain::SetModalRunner(std::function<int(QDialog&)> runner) {
  if (runner)
    FModalRunner = std::move(runner);
  else
    FModalRunner = [](QDialog& dlg) { return dlg.exec(); };
}

IFileDialogs& TFrmMain::Dialogs() {
  if (FDialogs != nullptr) return *FDialogs;
  if (!FDefaultDialogs) FDefaultDialogs = std::make_unique<TQtFileDialogs>(this);
  return *FDefaultDialogs;
}

IHelpViewer& TFrmMain::Help() {
  if (FHelp != nullptr) return *FHelp;
  if (!FDefaultHelp) FDefaultHelp = std::make_unique<TQtHelpViewer>(nullptr, kHelpTitle);
  return *FDefaultHelp;
}

QToolButton* TFrmMain::NewSpeedButton(int l, int t, int w, int h, const QString& caption,
                                      const QString& hint) {
  auto* b = new QToolButton(this);
  b->setGeometry(l, t, w, h);
  b->setToolTip(hint);
  b->setFocusPolicy(Qt::NoFocus);  // speed buttons never take the focus
  b->setIconSize(QSize(18, 18));
  if (!caption.isEmpty()) {
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  } else {
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
  }
  return b;
}

QScrollBar* TFrmMain::NewScrollBar(int l, int t, int w, int h, int min, int max, int pos,
                                   const QString& hint) {
  auto* s = new TScrollBar(Qt::Horizontal, this);  // also moved by its keys
  s->setGeometry(l, t, w, h);
  s->setRange(min, max);
  s->setSingleStep(1);
  s->setPageStep(1);
  s->setTracking(true);  // every step of a drag reports the new position
  s->setValue(pos);
  s->setToolTip(hint);
  return s;
}

QLabel* TFrmMain::NewLabel(int l, int t, const QString& text, bool heading) {
  auto* lab = new QLabel(text, this);
  if (heading) {
    QFont f = FormFont();
    f.setBold(true);
    lab->setFont(f);
    QPalette pal = lab->palette();
    pal.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));  // maroon
    lab->setPalette(pal);
  }
  lab->adjustSize();
  lab->move(l, t);
  return lab;
}

TNumLab* TFrmMain::NewNumLab(int l, int t, int w, int h) {
  auto* nl = new TNumLab(this);
  nl->SetBounds(l, t, w, h);
  TFont font;
  font.Name = "Arial";
  font.PixelSize = 13;
  nl->SetFont(font);
  nl->SetFrameStyle(TFrameStyle::fsLowered);
  nl->SetAlignment(taCenter);
  nl->SetColorScheme(csBWG);
  nl->SetColorLabBakG(clSilver);
  nl->SetColorLabText(clBlack);
  nl->SetColorOutBakG(SysColorBtnFace());
  nl->SetColorOutText(clBlack);
  nl->SetOverflowIndicator("*********");
  nl->SetEmpty(false);
  return nl;
}

void TFrmMain::CreateControls() {
  // Four bevels frame the groups of the panel.
  const QRect bevelRects[4] = {QRect(4, 2, 89, 57), QRect(4, 65, 89, 83), QRect(97, 2, 163, 146),
                               QRect(264, 2, 289, 146)};
  for (int k = 0; k < 4; ++k) {
    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(bevelRects[k]);
    FBevels[k] = bevel;
  }

  FSBExit = NewSpeedButton(8, 4, 81, 25, "Exit", "Exit Alearix");
  FSBExit->setIcon(MakeGlyph(TGlyph::glExit));
  connect(FSBExit, &QToolButton::clicked, this, [this] { ExitClick(); });
  FSButAbout = NewSpeedButton(8, 30, 40, 25, QString(), "About Alearix");
  FSButAbout->setIcon(MakeGlyph(TGlyph::glAbout));
  connect(FSButAbout, &QToolButton::clicked, this, [this] { AboutClick(); });
  FSButHelp = NewSpeedButton(49, 30, 40, 25, QString(), "Help");
  FSButHelp->setIcon(MakeGlyph(TGlyph::glHelp));
  connect(FSButHelp, &QToolButton::clicked, this, [this] { HelpClick(); });

  FNLabNumPnts = NewNumLab(8, 72, 81, 22);
  FNLabNumPnts->SetLeftSpace(19);
  FNLabNumPnts->SetLabelWidth(56);
  FNLabNumPnts->SetDisplayType(TDisplay::dtInt);
  FNLabNumPnts->SetLeftText("#");
  FNLabNumPnts->SetValue(NumRandNums);

  FSBarNumRandNum = NewScrollBar(12, 98, 73, 14, 1, static_cast<int>(CountTable.size()), 16,
                                 "Set number of random numbers to be generated");
  connect(FSBarNumRandNum, &QScrollBar::valueChanged, this, [this](int pos) { CountChange(pos); });

  FSButCalcRandNums = NewSpeedButton(12, 118, 73, 25, "Calc", "Calculate random numbers");
  FSButCalcRandNums->setIcon(MakeGlyph(TGlyph::glCalc));
  connect(FSButCalcRandNums, &QToolButton::clicked, this, [this] { CalcClick(); });

  FLabels[6] = NewLabel(104, 8, "Distribution Shapes", true);
  FLabels[5] = NewLabel(104, 44, "Predefined", false);

  // Preset buttons, in the order of Presets, at their grid places.
  const QPoint presetPlaces[6] = {{105, 64}, {105, 91},  {132, 91},
                                  {132, 64}, {105, 118}, {132, 118}};
  for (int k = 0; k < 6; ++k) {
    const TPreset& pr = kPresets[k];
    auto* b = NewSpeedButton(presetPlaces[k].x(), presetPlaces[k].y(), 25, 25, QString(),
                             QString::fromUtf8(pr.Hint));
    b->setObjectName(QString::fromUtf8(pr.Key));
    b->setIcon(MakeShapeGlyph(pr.Mean1, pr.StdDev1, pr.Mean2, pr.StdDev2, pr.HRatio * 0.01));
    // The group rule: a click on an up button puts it down and the others up; a click
    // on the down button puts it up, so at most one is down and all may be up.
    b->setCheckable(true);
    connect(b, &QToolButton::clicked, this, [this, k](bool down) {
      if (down)
        for (int j = 0; j < 6; ++j)
          if (j != k) FPresets[j]->setChecked(false);
      const TPreset& p = kPresets[k];
      FSBarHRatio->setValue(p.HRatio);
      FSBarStdDev1->setValue(p.StdDev1);
      FSBarMean1->setValue(p.Mean1);
      FSBarStdDev2->setValue(p.StdDev2);
      FSBarMean2->setValue(p.Mean2);
      ComputeShape();
    });
    FPresets[k] = b;
  }
  FPresets[0]->setChecked(true);

  FSButLoadDistri = NewSpeedButton(180, 64, 73, 25, "Load", "Load distribution from file");
  FSButLoadDistri->setIcon(MakeGlyph(TGlyph::glLoad));
  connect(FSButLoadDistri, &QToolButton::clicked, this, [this] { LoadClick(); });
  FSButEditDistri = NewSpeedButton(180, 91, 73, 25, "Edit", "Edit distribution");
  FSButEditDistri->setIcon(MakeGlyph(TGlyph::glEdit));
  FSButEditDistri->setEnabled(false);
  FSButSaveDistri = NewSpeedButton(180, 118, 73, 25, "Save", "Save distribution to file");
  FSButSaveDistri->setIcon(MakeGlyph(TGlyph::glSave));
  connect(FSButSaveDistri, &QToolButton::clicked, this, [this] { SaveClick(); });

  FLabels[3] = NewLabel(288, 8, "Shape A", true);
  FLabels[4] = NewLabel(464, 8, "Shape B", true);
  FLabels[1] = NewLabel(384, 28, "Position", false);
  FLabels[2] = NewLabel(384, 48, "Width", false);

  FSBarMean1 = NewScrollBar(272, 29, 105, 14, 1, 500, 250, "Adjust mean value");
  FSBarStdDev1 = NewScrollBar(272, 48, 105, 14, 10, 250, 100, "Adjust standard deviation");
  FSBarMean2 = NewScrollBar(440, 29, 105, 14, 1, 500, 250, "Adjust mean value");
  FSBarStdDev2 = NewScrollBar(440, 48, 105, 14, 10, 250, 100, "Adjust standard deviation");
  FLabels[0] = NewLabel(272, 67, "Ratio A/B", false);
  FLabels[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  FSBarHRatio = NewScrollBar(336, 67, 145, 14, 0, 100, 50, "Adjust ratio of distributions");
  // Each bar copies its position into its parameter and recomputes the shape.
  connect(FSBarMean1, &QScrollBar::valueChanged, this, [this](int v) {
    Mean1 = v;
    ComputeShape();
  });
  connect(FSBarStdDev1, &QScrollBar::valueChanged, this, [this](int v) {
    StdDev1 = v;
    ComputeShape();
  });
  connect(FSBarMean2, &QScrollBar::valueChanged, this, [this](int v) {
    Mean2 = v;
    ComputeShape();
  });
  connect(FSBarStdDev2, &QScrollBar::valueChanged, this, [this](int v) {
    StdDev2 = v;
    ComputeShape();
  });
  connect(FSBarHRatio, &QScrollBar::valueChanged, this, [this](int v) {
    Ratio = v * 0.01;
    ComputeShape();
  });

  FLabels[7] = NewLabel(328, 96, "Range of random numbers", true);

  FNLabLowB = NewNumLab(272, 120, 121, 22);
  FNLabHighB = NewNumLab(424, 120, 121, 22);
  for (TNumLab* nl : {FNLabLowB, FNLabHighB}) {
    nl->SetLeftSpace(35);
    nl->SetLabelWidth(80);
    nl->SetDisplayType(TDisplay::dtFixP);
    nl->SetPrecision(3);
  }
  FNLabLowB->SetLeftText("from");
  FNLabLowB->SetValue(kStartLowerLimit);
  FNLabLowB->SetHint("click here to change lower limit");
  FNLabLowB->SetShowHint(true);
  FNLabLowB->OnClick = [this](TGraphicControl*) { OpenRangeEdit(false); };
  FNLabHighB->SetLeftText("to");
  FNLabHighB->SetValue(kStartUpperLimit);
  FNLabHighB->SetHint("click here to change upper limit");
  FNLabHighB->SetShowHint(true);
  FNLabHighB->OnClick = [this](TGraphicControl*) { OpenRangeEdit(true); };

  FEdLowB = new QLineEdit(this);
  FEdLowB->setGeometry(310, 122, 78, 18);
  FEdHighB = new QLineEdit(this);
  FEdHighB->setGeometry(461, 122, 79, 18);
  for (QLineEdit* ed : {FEdLowB, FEdHighB}) {
    ed->setFrame(false);
    ed->setToolTip(kEditHint);
    ed->hide();
    ed->installEventFilter(this);
  }

  // Tab goes through the scroll bars in the order of the panel, then to the range
  // boxes while they are open; the speed buttons stay mouse-only.
  QWidget* const tabOrder[] = {FSBarNumRandNum, FSBarMean1,  FSBarStdDev1, FSBarMean2,
                               FSBarStdDev2,    FSBarHRatio, FEdLowB,      FEdHighB};
  for (std::size_t k = 1; k < std::size(tabOrder); ++k) setTabOrder(tabOrder[k - 1], tabOrder[k]);

  FRChart1 = new TRChart(this);
  FRChart1->SetBounds(0, kPanelHeight, kClientWidth, kClientHeight - kPanelHeight);
  SetupDistriChart(*FRChart1);
}

bool TFrmMain::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && !FActivated && !FActivationPending) {
    // Run the first-activation handler after the activation has been delivered, so
    // its modal dialog does not run inside the activation event.
    FActivationPending = true;
    QMetaObject::invokeMethod(
        this, [this] { FormActivate(); }, Qt::QueuedConnection);
  }
  return QWidget::event(e);
}

void TFrmMain::closeEvent(QCloseEvent* e) {
  QWidget::closeEvent(e);
  if (e->isAccepted()) emit Closed();
}

void TFrmMain::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // Some window systems never activate a new window; start anyway after a moment.
  if (!FActivated) QTimer::singleShot(1000, this, [this] { FormActivate(); });
}

void TFrmMain::FormActivate() {
  if (FActivated) return;
  FActivated = true;
  Mean1 = 250;
  Mean2 = 250;
  StdDev1 = 100;
  StdDev2 = 100;
  Ratio = 0.5;
  ComputeShape();
  const int result = FDisclaimer ? FDisclaimer() : FModalRunner(*FAboutBox);
  if (result == TAboutBox::kAbort) close();
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* e) {
  if (watched != FEdLowB && watched != FEdHighB) return QWidget::eventFilter(watched, e);
  auto* ed = static_cast<QLineEdit*>(watched);
  switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
      // A closed box takes no keys, whatever still points at it.
      if (ed->isHidden()) return true;
      if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
          RangeKey(ed == FEdHighB, 13);
        else if (key == Qt::Key_Escape)
          RangeKey(ed == FEdHighB, 27);
        // the key goes on to the edit box either way
      }
      break;
    case QEvent::FocusIn: {
      // An edit box selects all its text when entered by the keyboard; the range boxes
      // keep the caret instead, so the entry is handed on as a plain one.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
      if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
          reason == Qt::ShortcutFocusReason) {
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(watched, &plain);
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, e);
}

void TFrmMain::OpenRangeEdit(bool upper) {
  QLineEdit* ed = upper ? FEdHighB : FEdLowB;
  const TNumLab* nl = upper ? FNLabHighB : FNLabLowB;
  ed->setText(QString::fromStdString(RangeEditText(nl->Value())));
  ed->show();
  ed->raise();
  ed->setFocus(Qt::OtherFocusReason);
  ed->deselect();
  ed->end(false);
}

void TFrmMain::CloseRangeEdit(QLineEdit* ed) {
  // The focus leaves the box before it hides, to the window itself: a hidden box
  // must not keep the keyboard, and no other control should take keys by surprise.
  if (focusWidget() == ed) setFocus(Qt::OtherFocusReason);
  ed->hide();
}

void TFrmMain::RangeKey(bool upper, int key) {
  QLineEdit* ed = upper ? FEdHighB : FEdLowB;
  if (key == 27) {
    CloseRangeEdit(ed);
    return;
  }
  if (key != 13) return;
  CloseRangeEdit(ed);
  const std::optional<double> x = ParseReal(ed->text().toStdString(), kRangeSyntax);
  if (!x) return;
  if (upper) {
    FNLabHighB->SetValue(*x);
    FRChart1->SetRangeHiX(*x);
    FGenerator.UpperLimit = *x;
  } else {
    FNLabLowB->SetValue(*x);
    FRChart1->SetRangeLoX(*x);
    FGenerator.LowerLimit = *x;
  }
  DrawDistri();
}

void TFrmMain::CountChange(int position) {
  NumRandNums = CountTable.at(position - 1);
  FNLabNumPnts->SetValue(NumRandNums);
}

void TFrmMain::ComputeShape() {
  TShapeParams p;
  p.Mean1 = Mean1;
  p.StdDev1 = StdDev1;
  p.Mean2 = Mean2;
  p.StdDev2 = StdDev2;
  p.Ratio = Ratio;
  ComputeShapeTable(FGenerator, p);
  ResetStrokes();
  DrawDistri();
}

void TFrmMain::DrawDistri() {
  ::DrawDistri(*FRChart1, FGenerator);
}

void TFrmMain::ReleasePresets() {
  for (QToolButton* b : FPresets) b->setChecked(false);
}

void TFrmMain::ExitClick() {
  close();
}

void TFrmMain::AboutClick() {
  FAboutBox->SwitchToAboutMode();
  FModalRunner(*FAboutBox);
}

void TFrmMain::HelpClick() {
  Help().ShowContents("ALEARIX.HLP");
}

void TFrmMain::CalcClick() {
  const std::optional<std::string> path = Dialogs().SaveFile(kAscDialog);
  if (!path) return;
  TBusyCursor busy;
  // The chart changes only once the file exists: a density or range that cannot be
  // sampled, or a file that cannot be created, leaves the previous chart as it was.
  CheckCalc(FGenerator);
  TTextFileWriter out(*path);
  DrawDistri();
  const THistogram hist = Calc(FGenerator, NumRandNums, out);
  out.Commit();
  DrawHistogram(*FRChart1, FGenerator, hist);
}

void TFrmMain::SaveClick() {
  const std::optional<std::string> path = Dialogs().SaveFile(kRndSaveDialog);
  if (!path) return;
  SaveDistribution(FGenerator, *path);
}

void TFrmMain::LoadClick() {
  const std::optional<std::string> path = Dialogs().OpenFile(kRndOpenDialog);
  if (!path) return;
  LoadDistribution(FGenerator, *path);
  ResetStrokes();
  FNLabLowB->SetValue(FGenerator.LowerLimit);
  FRChart1->SetRangeLoX(FGenerator.LowerLimit);
  FNLabHighB->SetValue(FGenerator.UpperLimit);
  FRChart1->SetRangeHiX(FGenerator.UpperLimit);
  ReleasePresets();
  DrawDistri();
}

// ---------------------------------------------------------------- Edit

// The editor dialog is created with the window, right after its controls, and
// stays hidden until "Edit".
void TFrmMain::CreateEditDialog() {
  FFrmEditDistri = new TFrmEditDistri(this);
  FFrmEditDistri->hide();
  FSButEditDistri->setEnabled(true);
  connect(FSButEditDistri, &QToolButton::clicked, this, [this] { EditClick(); });
}

void TFrmMain::EditClick() {
  // The table always has 500 rows; rows past a smaller resolution show 0 with the
  // upper limit as identifier, and the engine ignores what is typed there.
  constexpr int kRows = 500;
  TNTabEd& tab = *FFrmEditDistri->NTabEd1();
  tab.SetSuppressPaint(true);
  tab.SetNrOfRows(kRows);
  for (int i = 1; i <= kRows; ++i) tab.SetCellValue(1, i, FGenerator.GetRefPoint(i));
  tab.SetColIdentifier(1, "Probability");
  for (int i = 1; i <= kRows; ++i)
    tab.SetRowIdentifier(i, FloatText(1, 2, FGenerator.ClassEdge(i)));
  tab.SetSuppressPaint(false);
  FModalRunner(*FFrmEditDistri);
  for (int i = 1; i <= kRows; ++i) FGenerator.SetRefPoint(i, tab.GetCellValue(1, i));
  ResetStrokes();
  ReleasePresets();
  DrawDistri();
}

// ---------------------------------------------------------------- drawing

void TFrmMain::CreateSketching() {
  FUndoStack = new QUndoStack(this);
  FUndoStack->setUndoLimit(kUndoStrokes);
  // Not while a stroke is drawn: its table before would no longer be the one shown.
  auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
  connect(undo, &QShortcut::activated, this, [this] {
    if (!FStroke) FUndoStack->undo();
  });
  auto* redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this);
  connect(redo, &QShortcut::activated, this, [this] {
    if (!FStroke) FUndoStack->redo();
  });

  FRChart1->SetHint(kChartHint);
  FRChart1->SetShowHint(true);
  FRChart1->OnMouseDown = [this](TGraphicControl*, TMouseButton b, TShiftState, int x, int y) {
    StrokeDown(b, x, y);
  };
  FRChart1->OnMouseMove = [this](TGraphicControl*, TShiftState shift, int x, int y) {
    StrokeMove(shift, x, y);
  };
  FRChart1->OnMouseUp = [this](TGraphicControl*, TMouseButton b, TShiftState, int x, int y) {
    StrokeUp(b, x, y);
  };
  // The chart sets its own cursor on every move, then reports the move: the cross-hair
  // set here wins over the chart area.
  FRChart1->OnMouseMoveInChart = [this](TRChart*, bool inChart, TShiftState, double, double) {
    FRChart1->SetCursor(inChart ? crCross : crDefault);
  };
}

void TFrmMain::ChartPointToData(int px, int py, double& x, double& y) const {
  const TPoint p = FRChart1->ClampToChartArea(px, py);
  FRChart1->PixelToData(p.x, p.y, x, y);
}

void TFrmMain::StrokeDown(TMouseButton button, int x, int y) {
  if (button != mbLeft || FStroke || !FRChart1->InChartArea(x, y)) return;
  FStroke = true;
  FStrokeBefore = FGenerator.RefPoints();
  ChartPointToData(x, y, FStrokeX, FStrokeY);
  SketchPoint(FGenerator, FStrokeX, FStrokeY);
  DrawDistri();
}

void TFrmMain::StrokeMove(TShiftState shift, int x, int y) {
  if (!FStroke) return;
  // A move without the button means its release went elsewhere (a window that
  // popped up): the stroke ended there.
  if (!shift.Contains(TShiftFlag::ssLeft)) {
    EndStroke();
    return;
  }
  StrokeTo(x, y);
}

void TFrmMain::StrokeUp(TMouseButton button, int x, int y) {
  if (!FStroke || button != mbLeft) return;
  StrokeTo(x, y);
  EndStroke();
}

void TFrmMain::StrokeTo(int x, int y) {
  double dx, dy;
  ChartPointToData(x, y, dx, dy);
  if (dx == FStrokeX && dy == FStrokeY) return;
  SketchSegment(FGenerator, FStrokeX, FStrokeY, dx, dy);
  FStrokeX = dx;
  FStrokeY = dy;
  DrawDistri();
}

void TFrmMain::EndStroke() {
  FStroke = false;
  std::vector<double> before = std::move(FStrokeBefore);
  FStrokeBefore.clear();
  if (before == FGenerator.RefPoints()) return;  // nothing changed: no undo step
  FUndoStack->push(new TStrokeCommand(*this, std::move(before)));
  ReleasePresets();  // the density no longer follows the shape controls
}

void TFrmMain::ResetStrokes() {
  FStroke = false;
  FStrokeBefore.clear();
  if (FUndoStack != nullptr) FUndoStack->clear();
}
