#include "platform/services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>
#include <QWidget>
#include <filesystem>

#include "tests/support/fakeservices.h"
#include "tests/support/testfiles.h"

TEST(Services, FilterBecomesQtFilter) {
  EXPECT_EQ(ToQtFileFilter("ASCII Format|*.asc"), "ASCII Format (*.asc)");
  EXPECT_EQ(ToQtFileFilter("Random Number Distribution|*.rnd|All files|*.*"),
            "Random Number Distribution (*.rnd);;All files (*.*)");
  EXPECT_EQ(ToQtFileFilter("Texts|*.txt;*.asc"), "Texts (*.txt *.asc)");
  EXPECT_EQ(ToQtFileFilter(""), "");
}

TEST(Services, HelpFileNameMapsToResource) {
  EXPECT_EQ(HelpResourceFor("ALEARIX.HLP"), ":/help/alearix.html");
  EXPECT_EQ(HelpResourceFor("alearix.hlp"), ":/help/alearix.html");
  EXPECT_EQ(HelpResourceFor("C:\\PROG\\Alearix.Hlp"), ":/help/alearix.html");
  EXPECT_EQ(HelpResourceFor("sub/Other.hlp"), ":/help/other.html");
}

TEST(Services, MissingHelpFileIsReported) {
  TFakeMessages messages;
  TQtHelpViewer viewer(&messages);
  viewer.ShowContents("NOHELP.HLP");
  EXPECT_EQ(messages.Errors, std::vector<std::string>({"Cannot find help file NOHELP.HLP"}));
  EXPECT_EQ(viewer.Window(), nullptr);
}

TEST(Services, HelpWindowShowsTheFileAndIsReused) {
  Q_INIT_RESOURCE(helptest);
  TFakeMessages messages;
  TQtHelpViewer viewer(&messages);
  viewer.ShowContents("SAMPLE.HLP");
  ASSERT_NE(viewer.Window(), nullptr);
  EXPECT_TRUE(messages.Errors.empty());
  EXPECT_TRUE(viewer.Window()->isVisible());
  EXPECT_TRUE(viewer.Window()->isWindow());
  EXPECT_TRUE(viewer.Browser()->toPlainText().contains("Sample contents"));
  EXPECT_EQ(viewer.Window()->windowTitle(), "Sample help");
  QWidget* first = viewer.Window();
  viewer.Window()->hide();
  viewer.ShowContents("sample.hlp");
  EXPECT_EQ(viewer.Window(), first);
  EXPECT_TRUE(first->isVisible());

  TQtHelpViewer titled(&messages, "Alearix Help");  // a title given wins over the file's
  titled.ShowContents("SAMPLE.HLP");
  ASSERT_NE(titled.Window(), nullptr);
  EXPECT_EQ(titled.Window()->windowTitle(), "Alearix Help");
}

namespace {

// Answers the real file dialogs that open while it lives, as a user would: notes the
// folder a dialog opened in and its proposed file name, then types the chosen file's
// name in that file's folder and accepts, or cancels when no file is chosen. Any other
// modal window (a warning) is noted and closed, so a test fails instead of hanging.
class TDialogAnswerer {
 public:
  TDialogAnswerer() {
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Answer(); });
    FTimer.start(10);
  }
  QString Choice;  // the next answer; empty: cancel
  QString Folder;
  QString Proposed;
  QStringList Others;

 private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dlg = qobject_cast<QFileDialog*>(modal);
    if (dlg == nullptr) {
      if (auto* other = qobject_cast<QDialog*>(modal)) {
        Others << other->windowTitle();
        other->reject();
      }
      return;
    }
    if (dlg == FAnswered) return;
    FAnswered = dlg;
    Folder = QFileInfo(dlg->directory().absolutePath()).canonicalFilePath();
    Proposed = QFileInfo(dlg->selectedFiles().value(0)).fileName();
    if (Choice.isEmpty()) {
      dlg->reject();
      return;
    }
    dlg->setDirectory(QFileInfo(Choice).absolutePath());
    auto* name = dlg->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QFileInfo(Choice).fileName());
    static_cast<QDialog*>(dlg)->accept();  // as the dialog's own button does
  }

  QTimer FTimer;
  QPointer<QFileDialog> FAnswered;
};

class QtFileDialogsTest : public TScratchDir {};

TEST_F(QtFileDialogsTest, EachDialogOpensInTheFolderLastChosenFromTheFirstInTheWorkingFolder) {
  std::filesystem::create_directories(FDir / "a");
  std::filesystem::create_directories(FDir / "b");
  Put("b/y.rnd", "");  // an open dialog takes existing files only
  Put("b/w.rnd", "");
  struct TStep {
    bool Save;
    const char* Choose;   // in the scratch folder; empty: cancel
    const char* OpensIn;  // in the scratch folder; nullptr: the working folder
  };
  const TStep steps[] = {
      {true, "a/x.asc", nullptr}, {false, "b/y.rnd", "a"}, {true, "", "b"},
      {false, "", "b"},           {true, "a/z.asc", "b"},  {false, "b/w.rnd", "a"},
  };
  TQtFileDialogs dialogs;
  TDialogAnswerer seen;
  for (const TStep& step : steps) {
    SCOPED_TRACE(std::string(step.Save ? "save " : "open ") + step.Choose);
    const QString choice = *step.Choose ? QString::fromStdString(PathOf(step.Choose)) : QString();
    seen.Choice = choice;
    const TFileDialogRequest req{"ASCII Format|*.asc", step.Save ? "unknown.asc" : "unknown.rnd",
                                 step.Save};
    const std::optional<std::string> got =
        step.Save ? dialogs.SaveFile(req) : dialogs.OpenFile(req);
    const QString folder =
        step.OpensIn ? QString::fromStdString(std::filesystem::canonical(FDir / step.OpensIn))
                     : QFileInfo(QDir::currentPath()).canonicalFilePath();
    EXPECT_EQ(seen.Folder.toStdString(), folder.toStdString());
    EXPECT_EQ(seen.Proposed.toStdString(), req.FileName);
    if (choice.isEmpty())
      EXPECT_EQ(got, std::nullopt);
    else
      EXPECT_EQ(got, choice.toStdString());
    EXPECT_TRUE(seen.Others.isEmpty()) << seen.Others.join(", ").toStdString();
  }
}

}  // namespace

TEST(Services, FakeDialogsAnswerFromQueuesAndRecord) {
  TFakeFileDialogs d;
  d.SaveAnswers.push_back("/tmp/a.asc");
  d.SaveAnswers.push_back(std::nullopt);
  d.OpenAnswers.push_back("/tmp/b.rnd");
  EXPECT_EQ(d.SaveFile({"ASCII Format|*.asc", "unknown.asc", true}), "/tmp/a.asc");
  EXPECT_EQ(d.SaveFile({"x|*.x", "y.x", false}), std::nullopt);
  EXPECT_EQ(d.SaveFile({}), std::nullopt);  // queue empty: cancelled
  EXPECT_EQ(d.OpenFile({"Random Number Distribution|*.rnd", "unknown.rnd"}), "/tmp/b.rnd");
  EXPECT_EQ(d.OpenFile({}), std::nullopt);
  ASSERT_EQ(d.SaveRequests.size(), 3u);
  EXPECT_EQ(d.SaveRequests[0].Filter, "ASCII Format|*.asc");
  EXPECT_EQ(d.SaveRequests[0].FileName, "unknown.asc");
  EXPECT_TRUE(d.SaveRequests[0].OverwritePrompt);
  EXPECT_FALSE(d.SaveRequests[1].OverwritePrompt);
  ASSERT_EQ(d.OpenRequests.size(), 2u);
  EXPECT_EQ(d.OpenRequests[0].FileName, "unknown.rnd");

  TFakeMessages m;
  m.ShowError("File not found");
  EXPECT_EQ(m.Errors, std::vector<std::string>({"File not found"}));
  TFakeHelpViewer h;
  h.ShowContents("ALEARIX.HLP");
  EXPECT_EQ(h.Requests, std::vector<std::string>({"ALEARIX.HLP"}));
}
