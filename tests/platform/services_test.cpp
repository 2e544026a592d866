#include "platform/services.h"

#include <gtest/gtest.h>

#include <QTextBrowser>
#include <QWidget>

#include "tests/support/fakeservices.h"

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
}

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
