#pragma once
// The distribution editor dialog "Distribution": a "Done" button above a table with
// one column of reference points. The main window's "Edit" fills the table, shows the
// dialog modally and reads the table back; there is no cancel, so every way of
// closing the dialog keeps the edits.
#include <QDialog>

class QFrame;
class QToolButton;
class TNTabEd;

class TFrmEditDistri : public QDialog {
  Q_OBJECT

 public:
  // Outer size of the window, frame included.
  static constexpr int kOuterWidth = 184;
  static constexpr int kOuterHeight = 472;
  static constexpr int kPanelHeight = 41;

  explicit TFrmEditDistri(QWidget* parent = nullptr);

  QFrame* Panel1() const { return FPanel1; }
  QToolButton* SpeedButton1() const { return FSpeedButton1; }
  TNTabEd* NTabEd1() const { return FNTabEd1; }

  // Closing by any way first stores a value still being typed in the table.
  void done(int r) override;

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void FitOuterSize();
  void PlaceControls();

  QFrame* FPanel1 = nullptr;
  QToolButton* FSpeedButton1 = nullptr;
  TNTabEd* FNTabEd1 = nullptr;
};
