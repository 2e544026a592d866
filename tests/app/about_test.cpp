#include "app/about.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

namespace {

TEST(AboutBoxTest, LayoutAndCaptions) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), "About");
  EXPECT_EQ(box.size(), QSize(415, 362));
  EXPECT_EQ(box.minimumSize(), box.maximumSize());  // cannot be resized
  EXPECT_EQ(box.font().family(), "Arial");
  EXPECT_EQ(box.font().pixelSize(), 13);

  EXPECT_EQ(box.BButOK()->geometry(), QRect(224, 319, 185, 34));
  EXPECT_EQ(box.BButOK()->text(), "OK, I accept");
  EXPECT_TRUE(box.BButOK()->font().bold());
  EXPECT_EQ(box.BButOK()->font().pixelSize(), 15);
  EXPECT_FALSE(box.BButOK()->icon().isNull());
  EXPECT_EQ(box.BButDisagree()->geometry(), QRect(8, 320, 185, 33));
  EXPECT_EQ(box.BButDisagree()->text(), "NO, I disagree");
  EXPECT_FALSE(box.BButDisagree()->icon().isNull());

  EXPECT_EQ(box.ProductName()->text(), "Alearix");
  QFont nameFont = box.ProductName()->font();
  EXPECT_EQ(nameFont.pixelSize(), 30);
  EXPECT_TRUE(nameFont.bold());
  EXPECT_TRUE(nameFont.italic());
  EXPECT_EQ(box.ProgramIcon()->size(), QSize(39, 39));
  EXPECT_TRUE(box.ProgramIcon()->hasScaledContents());
  EXPECT_FALSE(box.ProgramIcon()->pixmap().isNull());

  // the memo is read-only, sized as designed and scrolls vertically
  EXPECT_EQ(box.Memo1()->size(), QSize(385, 217));
  EXPECT_TRUE(box.Memo1()->isReadOnly());
  EXPECT_EQ(box.Memo1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  // everything sits inside the dialog's client area
  QRect client(QPoint(0, 0), box.size());
  for (QWidget* w : {static_cast<QWidget*>(box.Panel()), static_cast<QWidget*>(box.BButOK()),
                     static_cast<QWidget*>(box.BButDisagree())})
    EXPECT_TRUE(client.contains(w->geometry())) << w->metaObject()->className();
  QRect panel(QPoint(0, 0), box.Panel()->size());
  EXPECT_TRUE(panel.contains(box.Memo1()->geometry()));
}

TEST(AboutBoxTest, DisclaimerAsksToAcceptOrDecline) {
  TAboutBox box;
  QStringList lines = box.MemoLines();
  ASSERT_EQ(lines.size(), 32);
  QString head = lines[0] + " " + lines[1];
  EXPECT_TRUE(head.contains("OK, I accept"));
  EXPECT_TRUE(head.contains("NO, I disagree"));
  EXPECT_EQ(box.Memo1()->toPlainText(), lines.join('\n'));
}

TEST(AboutBoxTest, ShownCentredWithTheAcceptButtonFocused) {
  TAboutBox box;
  box.show();
  QApplication::processEvents();
  EXPECT_TRUE(box.BButDisagree()->isVisible());
  EXPECT_EQ(box.focusWidget(), box.BButOK());
  QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QPoint delta = box.frameGeometry().center() - screen.center();
  EXPECT_LE(std::abs(delta.x()), 1);
  EXPECT_LE(std::abs(delta.y()), 1);
}

// Runs the dialog modally and performs `action` once it is open.
int RunModal(TAboutBox& box, std::function<void()> action) {
  QTimer::singleShot(0, &box, action);
  return box.exec();
}

TEST(AboutBoxTest, OnlyDecliningGivesTheAbortResult) {
  TAboutBox box;
  EXPECT_EQ(RunModal(box, [&] { box.BButDisagree()->click(); }), TAboutBox::kAbort);
  EXPECT_FALSE(box.isVisible());

  int accepted = RunModal(box, [&] { box.BButOK()->click(); });
  EXPECT_EQ(accepted, QDialog::Accepted);
  EXPECT_NE(accepted, TAboutBox::kAbort);

  // the close box and the Escape key go on like accepting: not the abort result
  EXPECT_NE(RunModal(box, [&] { box.close(); }), TAboutBox::kAbort);
  EXPECT_NE(RunModal(box, [&] { QTest::keyClick(&box, Qt::Key_Escape); }), TAboutBox::kAbort);
  EXPECT_FALSE(box.isVisible());
}

TEST(AboutBoxTest, EnterAccepts) {
  TAboutBox box;
  int result = RunModal(box, [&] { QTest::keyClick(box.focusWidget(), Qt::Key_Return); });
  EXPECT_EQ(result, QDialog::Accepted);
}

TEST(AboutBoxTest, AboutModeIsPermanent) {
  TAboutBox box;
  QStringList before = box.MemoLines();
  box.SwitchToAboutMode();
  QStringList after = box.MemoLines();
  ASSERT_EQ(after.size(), 32);
  EXPECT_EQ(after[0], "");
  EXPECT_EQ(after[1], "         Info on Alearix");
  EXPECT_EQ(after.mid(2), before.mid(2));
  EXPECT_EQ(box.BButOK()->text(), "Done");

  int result = RunModal(box, [&] {
    EXPECT_FALSE(box.BButDisagree()->isVisible());
    EXPECT_TRUE(box.BButOK()->isVisible());
    box.BButOK()->click();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  // a second show keeps the changes
  RunModal(box, [&] {
    EXPECT_FALSE(box.BButDisagree()->isVisible());
    box.close();
  });
  EXPECT_EQ(box.BButOK()->text(), "Done");
  EXPECT_EQ(box.MemoLines()[1], "         Info on Alearix");
}

QString HelpText() {
  InitAboutResources();
  QFile file(":/help/alearix.html");
  if (!file.open(QIODevice::ReadOnly)) return {};
  QTextDocument doc;
  doc.setHtml(QString::fromUtf8(file.readAll()));
  return doc.toPlainText();
}

TEST(AboutHelpTest, HelpDescribesEveryControl) {
  QString help = HelpText();
  ASSERT_FALSE(help.isEmpty());
  for (const char* word : {"Exit",
                           "About",
                           "Help",
                           "#",
                           "count",
                           "scroll bar",
                           "Calc",
                           "Load",
                           "Edit",
                           "Save",
                           "Shape A",
                           "Shape B",
                           "Position",
                           "Width",
                           "Ratio A/B",
                           "from",
                           "to",
                           "Enter",
                           "Escape",
                           "Normal distribution",
                           "Leptokurtic Distribution",
                           "Platykurtic Distribution",
                           "Bimodal Distribution",
                           "Left skewed distribution",
                           "Right skewed distribution"})
    EXPECT_TRUE(help.contains(word)) << word;
}

TEST(AboutHelpTest, HelpDescribesFilesAndTheGenerator) {
  QString help = HelpText();
  for (const char* word : {".asc",
                           ".rnd",
                           "; # of columns",
                           "; # of rows",
                           "false false false",
                           "; resolution of random generator",
                           "; lower limit of random numbers",
                           "; upper limit of random numbers",
                           "; reference points ...",
                           "3.00000000000000E+0002",
                           "same numbers",
                           "alearix-gen",
                           "--shape",
                           "--mix",
                           "--load",
                           "--from",
                           "--to",
                           "--count",
                           "--seed",
                           "-o",
                           "--save",
                           "--png",
                           "normal",
                           "leptokurtic",
                           "platykurtic",
                           "bimodal",
                           "left-skewed",
                           "right-skewed"})
    EXPECT_TRUE(help.contains(word)) << word;
}

TEST(AboutHelpTest, ProgramIconIsAResource) {
  InitAboutResources();
  QImage icon(":/about/alearix.png");
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.width(), icon.height());
  EXPECT_GE(icon.width(), 39);
}

}  // namespace
