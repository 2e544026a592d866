#pragma once
// The main window: a fixed panel of controls above the density chart. It owns the
// generator and hosts every command (presets, shape bars, range, count, Calc, Load,
// Save, Help, About and the start-up disclaimer), and the freehand drawing of the
// density on the chart with its undo stack.
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/alearix.h"
#include "platform/controltypes.h"

class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
class QToolButton;
class QUndoStack;
class IFileDialogs;
class IHelpViewer;
class TAboutBox;
class TFrmEditDistri;
class TNumLab;
class TRChart;

class TFrmMain : public QWidget {
  Q_OBJECT

 public:
  // The services are not owned; nullptr selects the Qt implementation.
  explicit TFrmMain(IFileDialogs* dialogs = nullptr, IHelpViewer* help = nullptr,
                    QWidget* parent = nullptr);
  ~TFrmMain() override;

  void SetFileDialogs(IFileDialogs* dialogs);
  void SetHelpViewer(IHelpViewer* help);
  // Shows the start-up disclaimer and returns the dialog's result; the default shows
  // the about box modally. TAboutBox::Abort closes the window.
  void SetDisclaimer(std::function<int()> disclaimer);
  // Runs a dialog modally and returns its result; the default is QDialog::exec.
  void SetModalRunner(std::function<int(QDialog&)> runner);

  // Shape parameters and settings.
  double Mean1 = 250, StdDev1 = 100, Mean2 = 250, StdDev2 = 100, Ratio = 0.5;
  int NumRandNums = 500;
  TAlearix& Generator() { return FGenerator; }
  const TAlearix& Generator() const { return FGenerator; }

  // Operations shared by the commands.
  void ComputeShape();
  void DrawDistri();
  void ReleasePresets();

  // The handler of the first activation (start values, normal shape, disclaimer);
  // later calls do nothing. Called by the window's activation.
  void FormActivate();
  bool Activated() const { return FActivated; }

  // Commands, as the buttons run them.
  void ExitClick();
  void AboutClick();
  void HelpClick();
  void CalcClick();
  void LoadClick();
  void SaveClick();
  // "Edit": the reference points in the editor dialog's table, shown modally, then
  // written back (clamped to 0..1).
  void EditClick();

  // Controls, for tests.
  QToolButton* SBExit() const { return FSBExit; }
  QToolButton* SButAbout() const { return FSButAbout; }
  QToolButton* SButHelp() const { return FSButHelp; }
  QToolButton* SButCalcRandNums() const { return FSButCalcRandNums; }
  QToolButton* SButLoadDistri() const { return FSButLoadDistri; }
  QToolButton* SButEditDistri() const { return FSButEditDistri; }
  QToolButton* SButSaveDistri() const { return FSButSaveDistri; }
  // The preset buttons in the order of Presets: normal, leptokurtic, platykurtic,
  // bimodal, left skewed, right skewed.
  QToolButton* PresetButton(int index) const { return FPresets.at(index); }
  QToolButton* SBSetNormalD() const { return FPresets[0]; }
  QToolButton* SButLeptoKD() const { return FPresets[1]; }
  QToolButton* SButPlatyKD() const { return FPresets[2]; }
  QToolButton* SButBiModal() const { return FPresets[3]; }
  QToolButton* SButLeftSkew() const { return FPresets[4]; }
  QToolButton* SButRightSKew() const { return FPresets[5]; }
  QScrollBar* SBarNumRandNum() const { return FSBarNumRandNum; }
  QScrollBar* SBarMean1() const { return FSBarMean1; }
  QScrollBar* SBarStdDev1() const { return FSBarStdDev1; }
  QScrollBar* SBarMean2() const { return FSBarMean2; }
  QScrollBar* SBarStdDev2() const { return FSBarStdDev2; }
  QScrollBar* SBarHRatio() const { return FSBarHRatio; }
  TNumLab* NLabNumPnts() const { return FNLabNumPnts; }
  TNumLab* NLabLowB() const { return FNLabLowB; }
  TNumLab* NLabHighB() const { return FNLabHighB; }
  QLineEdit* EdLowB() const { return FEdLowB; }
  QLineEdit* EdHighB() const { return FEdHighB; }
  TRChart* RChart1() const { return FRChart1; }
  TAboutBox* AboutBox() const { return FAboutBox; }
  TFrmEditDistri* FrmEditDistri() const { return FFrmEditDistri; }
  QLabel* Label(int n) const { return FLabels.at(n - 1); }  // Label1..Label8
  const std::array<QFrame*, 4>& Bevels() const { return FBevels; }
  // The drawn strokes: Ctrl+Z undoes the last, Ctrl+Shift+Z redoes it.
  QUndoStack* UndoStack() const { return FUndoStack; }

 signals:
  // The window has closed: the program ends with it, even while other windows of
  // it (the help window) are still open.
  void Closed();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void CreateControls();
  void CreateEditDialog();
  QToolButton* NewSpeedButton(int l, int t, int w, int h, const QString& caption,
                              const QString& hint);
  QScrollBar* NewScrollBar(int l, int t, int w, int h, int min, int max, int pos,
                           const QString& hint);
  QLabel* NewLabel(int l, int t, const QString& text, bool heading);
  TNumLab* NewNumLab(int l, int t, int w, int h);
  void CountChange(int position);
  void ShapeBarChange();
  void OpenRangeEdit(bool upper);
  void CloseRangeEdit(QLineEdit* ed);
  void RangeKey(bool upper, int key);
  IFileDialogs& Dialogs();
  IHelpViewer& Help();

  // Freehand drawing: a left press inside the chart area starts a stroke, every move
  // with the button held extends it, the release ends it as one undo step.
  void CreateSketching();
  void StrokeDown(TMouseButton button, int x, int y);
  void StrokeMove(TShiftState shift, int x, int y);
  void StrokeUp(TMouseButton button, int x, int y);
  void StrokeTo(int x, int y);
  void EndStroke();
  // A chart pixel in data units, clamped to the chart area first.
  void ChartPointToData(int px, int py, double& x, double& y) const;
  // Drops the strokes kept for undo and any stroke in progress: the table was
  // replaced by other means.
  void ResetStrokes();

  TAlearix FGenerator;
  bool FActivated = false;
  bool FActivationPending = false;

  std::unique_ptr<IFileDialogs> FDefaultDialogs;
  std::unique_ptr<IHelpViewer> FDefaultHelp;
  IFileDialogs* FDialogs = nullptr;
  IHelpViewer* FHelp = nullptr;
  std::function<int()> FDisclaimer;
  std::function<int(QDialog&)> FModalRunner;
  TAboutBox* FAboutBox = nullptr;            // child of the window
  TFrmEditDistri* FFrmEditDistri = nullptr;  // child of the window
  QUndoStack* FUndoStack = nullptr;          // child of the window

  // The stroke in progress: the table before it and its last point in data units.
  bool FStroke = false;
  std::vector<double> FStrokeBefore;
  double FStrokeX = 0.0, FStrokeY = 0.0;

  QToolButton* FSBExit = nullptr;
  QToolButton* FSButAbout = nullptr;
  QToolButton* FSButHelp = nullptr;
  QToolButton* FSButCalcRandNums = nullptr;
  QToolButton* FSButLoadDistri = nullptr;
  QToolButton* FSButEditDistri = nullptr;
  QToolButton* FSButSaveDistri = nullptr;
  std::array<QToolButton*, 6> FPresets{};
  QScrollBar* FSBarNumRandNum = nullptr;
  QScrollBar* FSBarMean1 = nullptr;
  QScrollBar* FSBarStdDev1 = nullptr;
  QScrollBar* FSBarMean2 = nullptr;
  QScrollBar* FSBarStdDev2 = nullptr;
  QScrollBar* FSBarHRatio = nullptr;
  TNumLab* FNLabNumPnts = nullptr;
  TNumLab* FNLabLowB = nullptr;
  TNumLab* FNLabHighB = nullptr;
  QLineEdit* FEdLowB = nullptr;
  QLineEdit* FEdHighB = nullptr;
  TRChart* FRChart1 = nullptr;
  std::array<QLabel*, 8> FLabels{};
  std::array<QFrame*, 4> FBevels{};
};
