// The application object reports exceptions from event handlers and keeps running.
#include "app/application.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <stdexcept>

#include "app/frmdistr.h"
#include "engine/alearix.h"
#include "tests/support/fakeservices.h"
#include "tests/support/testfiles.h"

namespace {

// One application object for the whole test program, destroyed before exit.
class TAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "application_test";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<TApplication>(argc, argv);
  }
  void TearDown() override { FApp.reset(); }
  static inline std::unique_ptr<TApplication> FApp;
};
[[maybe_unused]] ::testing::Environment* const kAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new TAppEnvironment);

TApplication& App() {
  return *TAppEnvironment::FApp;
}

// Throws from its event handler when asked to.
class TThrowingObject : public QObject {
 public:
  enum TMode { tmNone, tmStdException, tmOther };
  TMode NextThrow = tmNone;
  int Handled = 0;

  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    ++Handled;
    const TMode m = NextThrow;
    NextThrow = tmNone;
    if (m == tmStdException) throw std::runtime_error("Disk full");
    if (m == tmOther) throw 42;
    return true;
  }
};

class ApplicationTest : public TScratchDir {
 protected:
  void SetUp() override {
    TScratchDir::SetUp();
    App().SetMessages(&FMessages);
  }
  void TearDown() override {
    App().SetMessages(nullptr);
    TScratchDir::TearDown();
  }
  TFakeMessages FMessages;
};

TEST_F(ApplicationTest, ExceptionsFromEventHandlersAreShownAndDeliveryGoesOn) {
  TThrowingObject obj;
  QEvent e(QEvent::User);
  obj.NextThrow = TThrowingObject::tmStdException;
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&obj, &e));
  ASSERT_EQ(FMessages.Errors.size(), 1u);
  EXPECT_EQ(FMessages.Errors[0], "Disk full");

  obj.NextThrow = TThrowingObject::tmOther;
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&obj, &e));
  ASSERT_EQ(FMessages.Errors.size(), 2u);
  EXPECT_EQ(FMessages.Errors[1], kUnknownErrorText);

  EXPECT_TRUE(QCoreApplication::sendEvent(&obj, &e));  // no throw, no message
  EXPECT_EQ(obj.Handled, 3);
  EXPECT_EQ(FMessages.Errors.size(), 2u);
}

TEST_F(ApplicationTest, ACommandThatFailsReportsItsMessageThroughTheApplication) {
  const std::string bad = Put("bad.rnd", "comment\r\n500\r\n-300\r\n300\r\n1,5\r\n");
  TFakeFileDialogs dialogs;
  TFakeHelpViewer help;
  TFrmMain frm(&dialogs, &help);
  frm.SetDisclaimer([] { return 1; });
  frm.show();
  frm.FormActivate();
  const double before = frm.Generator().GetRefPoint(100);

  dialogs.OpenAnswers.push_back(bad);
  QToolButton* load = frm.SButLoadDistri();
  QTest::mouseClick(load, Qt::LeftButton);
  ASSERT_EQ(dialogs.OpenRequests.size(), 1u);
  ASSERT_EQ(FMessages.Errors.size(), 1u);
  EXPECT_EQ(FMessages.Errors[0], "Invalid numeric input");
  EXPECT_EQ(frm.Generator().GetRefPoint(100), before);
  EXPECT_TRUE(frm.isVisible());
  EXPECT_FALSE(load->isDown());  // the button came back up: the window stays usable

  // a file that is not there
  dialogs.OpenAnswers.push_back(PathOf("no_such_file.rnd"));
  QTest::mouseClick(load, Qt::LeftButton);
  ASSERT_EQ(FMessages.Errors.size(), 2u);
  EXPECT_EQ(FMessages.Errors[1], "File not found");
}

}  // namespace
