#include "app/about.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>

// Q_INIT_RESOURCE must be used outside of any namespace.
static void InitHelpResource() {
  Q_INIT_RESOURCE(help);
}

void InitAboutResources() {
  static bool done = false;
  if (!done) {
    InitHelpResource();
    done = true;
  }
}

namespace {

// The disclaimer; its first two lines ask the user to accept or decline.
const char* const kDisclaimerLines[] = {
    "Please read the terms below, then click \"OK, I accept\"",
    "to use Alearix, or \"NO, I disagree\" to quit the program.",
    "",
    "Terms of use",
    "------------",
    "Alearix generates random numbers that follow a density",
    "which you shape yourself. The numbers come from a",
    "pseudo-random generator: every start of the program",
    "repeats the same sequence for the same actions. They",
    "are therefore not suited for cryptography, gambling,",
    "lotteries or any purpose where unpredictable numbers",
    "are required.",
    "",
    "The program is provided \"as is\", without warranty of",
    "any kind, express or implied, including but not limited",
    "to the warranties of merchantability, fitness for a",
    "particular purpose and non-infringement.",
    "",
    "In no event shall the authors be liable for any claim,",
    "damages or other liability arising from the use of the",
    "program or of the numbers and files it produces, even",
    "if advised of the possibility of such damage.",
    "",
    "You are responsible for checking that the generated",
    "numbers and their distribution meet the needs of your",
    "simulation, test or study before relying on them.",
    "",
    "Files written by Alearix (\".asc\" random numbers and",
    "\".rnd\" distributions) are plain text and may be used,",
    "copied and passed on freely.",
    "",
    "By clicking \"OK, I accept\" you agree to these terms.",
};

QFont ArialFont(int pixelSize, bool bold = false, bool italic = false) {
  QFont f("Arial");
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  InitAboutResources();
  setWindowTitle("About");
  setFont(ArialFont(13));
  setFixedSize(415, 362);
  setWindowIcon(QIcon(":/about/alearix.png"));

  FPanel = new QFrame(this);
  FPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  FPanel->setGeometry(8, 8, 401, 305);

  FProgramIcon = new QLabel(FPanel);
  FProgramIcon->setGeometry(8, 8, 39, 39);
  FProgramIcon->setScaledContents(true);  // the icon is stretched to the box
  FProgramIcon->setPixmap(QPixmap(":/about/alearix.png"));

  FProductName = new QLabel("Alearix", FPanel);
  FProductName->setFont(ArialFont(30, true, true));
  FProductName->setStyleSheet("color: #800000;");
  FProductName->setGeometry(56, 6, 160, 36);

  FVersion = new QLabel("Version 1.0", FPanel);
  FVersion->setGeometry(58, 46, 120, 16);

  FCopyright = new QLabel("Alearix developers", FPanel);
  FCopyright->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  FCopyright->setGeometry(193, 12, 200, 16);

  FComments = new QLabel("Configurable random numbers", FPanel);
  FComments->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  FComments->setGeometry(193, 32, 200, 16);

  FMemo1 = new QPlainTextEdit(FPanel);
  FMemo1->setGeometry(8, 80, 385, 217);
  FMemo1->setReadOnly(true);
  FMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QStringList lines;
  for (const char* line : kDisclaimerLines) lines << QString::fromUtf8(line);
  FMemo1->setPlainText(lines.join('\n'));

  FBButOK = new QPushButton("OK, I accept", this);
  FBButOK->setGeometry(224, 319, 185, 34);
  FBButOK->setFont(ArialFont(15, true));
  FBButOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  FBButOK->setDefault(true);
  connect(FBButOK, &QPushButton::clicked, this, &QDialog::accept);

  FBButDisagree = new QPushButton("NO, I disagree", this);
  FBButDisagree->setGeometry(8, 320, 185, 33);
  FBButDisagree->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  FBButDisagree->setAutoDefault(false);
  connect(FBButDisagree, &QPushButton::clicked, this, [this] { done(kAbort); });
}

QStringList TAboutBox::MemoLines() const {
  QStringList lines;
  for (QTextBlock b = FMemo1->document()->begin(); b.isValid(); b = b.next()) lines << b.text();
  return lines;
}

void TAboutBox::SwitchToAboutMode() {
  FBButDisagree->hide();
  FBButOK->setText("Done");
  QStringList lines = MemoLines();
  if (lines.size() >= 2) {
    lines[0] = "";
    lines[1] = "         Info on Alearix";
  }
  FMemo1->setPlainText(lines.join('\n'));
}

void TAboutBox::showEvent(QShowEvent* event) {
  if (!FCentred) {
    // centred on the screen the first time it is shown; the user may move it later
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
    FCentred = true;
  }
  QDialog::showEvent(event);
  FBButOK->setFocus();
}
