#pragma once
// The about dialog. At start-up it serves once as the disclaimer the user must
// accept; afterwards the About command shows it as a plain information box.
#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QFrame;

// Registers the dialog's Qt resources (program icon, help contents
// ":/help/alearix.html"). They live in a static library, so the program calls
// this once at start-up; the dialog's constructor calls it too. Safe to repeat.
void InitAboutResources();

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // Result of the decline button. Accepting gives QDialog::Accepted, the close
  // box QDialog::Rejected; neither is this value.
  static constexpr int kAbort = 3;

  explicit TAboutBox(QWidget* parent = nullptr);

  // Turns the disclaimer into the information box for good: hides the decline
  // button, renames the accept button "Done" and replaces the first two memo
  // lines by an empty line and a heading.
  void SwitchToAboutMode();

  QPushButton* BButOK() const { return FBButOK; }
  QPushButton* BButDisagree() const { return FBButDisagree; }
  QPlainTextEdit* Memo1() const { return FMemo1; }
  QLabel* ProductName() const { return FProductName; }
  QLabel* ProgramIcon() const { return FProgramIcon; }
  QFrame* Panel() const { return FPanel; }
  // The memo's lines, first line at index 0.
  QStringList MemoLines() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QFrame* FPanel = nullptr;
  QLabel* FProgramIcon = nullptr;
  QLabel* FProductName = nullptr;
  QLabel* FVersion = nullptr;
  QLabel* FCopyright = nullptr;
  QLabel* FComments = nullptr;
  QPlainTextEdit* FMemo1 = nullptr;
  QPushButton* FBButOK = nullptr;
  QPushButton* FBButDisagree = nullptr;
  bool FCentred = false;
};
