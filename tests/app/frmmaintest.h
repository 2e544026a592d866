#pragma once
// The main window's test fixtures: the window with fake dialogs and help, its file
// commands into a scratch folder, and the "Edit" dialog driven through its table.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/about.h"
#include "app/core/export.h"
#include "app/core/session.h"
#include "app/core/shapes.h"
#include "app/frmdistr.h"
#include "app/frmedit.h"
#include "components/chart/rchart.h"
#include "components/tabed/ntabed.h"
#include "engine/alearix.h"
#include "engine/uniform.h"
#include "tests/support/fakeservices.h"
#include "tests/support/testfiles.h"

class FrmMainTest : public TScratchDir {
 protected:
  void SetUp() override {
    TScratchDir::SetUp();
    FForm = std::make_unique<TFrmMain>(&FDialogs, &FHelp);
    FForm->SetModalRunner([this](QDialog& dlg) {
      FShown.push_back(&dlg);
      if (auto* box = qobject_cast<TAboutBox*>(&dlg)) {
        FOkCaptions.push_back(box->BButOK()->text().toStdString());
        FDeclineHidden.push_back(box->BButDisagree()->isHidden());
      }
      return FModalResult;
    });
  }
  void TearDown() override {
    FForm.reset();
    TScratchDir::TearDown();
  }

  void Activate() { FForm->FormActivate(); }
  // The window activated, shown and active, so that keys reach it as from the window
  // system.
  void ShowActive() {
    Activate();
    FForm->show();
    FForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FForm.get()));
  }
  // A key through the window, to whichever control holds the keyboard focus.
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(FForm->windowHandle(), key, mods);
  }

  const std::vector<TGrafItem>& Items() const { return FForm->RChart1()->GrafItems(); }

  // Checks that the chart shows the density of the generator as one curve, starting
  // at item `from`.
  void ExpectCurveAt(std::size_t from) const {
    const TAlearix& gen = FForm->Generator();
    const auto& it = Items();
    ASSERT_GE(it.size(), from + 502);
    EXPECT_EQ(it[from].Kind, gkMoveTo);
    EXPECT_DOUBLE_EQ(it[from].x, gen.LowerLimit);
    EXPECT_EQ(it[from].y, 0.0);
    for (int i = 1; i <= 500; ++i) {
      const TGrafItem& item = it[from + i];
      ASSERT_EQ(item.Kind, gkLineTo) << i;
      EXPECT_EQ(item.Color, 0xFF0000u) << i;
      EXPECT_DOUBLE_EQ(item.x, gen.ClassEdge(i)) << i;
      EXPECT_DOUBLE_EQ(item.y, gen.GetRefPoint(i)) << i;
    }
    EXPECT_EQ(it[from + 501].Kind, gkLineTo);
    EXPECT_DOUBLE_EQ(it[from + 501].x, gen.UpperLimit);
    EXPECT_EQ(it[from + 501].y, 0.0);
  }

  // The window's density is the two-bell mixture of these parameters.
  void ExpectMixture(double m1, double s1, double m2, double s2, double ratio) const {
    TAlearix want;
    SetStartState(want);
    ComputeShapeTable(want, {m1, s1, m2, s2, ratio});
    EXPECT_EQ(FForm->Generator().RefPoints(), want.RefPoints());
  }

  int DownCount() const {
    int n = 0;
    for (int k = 0; k < 6; ++k) n += FForm->PresetButton(k)->isChecked() ? 1 : 0;
    return n;
  }

  std::array<int, 5> Bars() const {
    return {FForm->SBarHRatio()->value(), FForm->SBarStdDev1()->value(),
            FForm->SBarMean1()->value(), FForm->SBarStdDev2()->value(),
            FForm->SBarMean2()->value()};
  }

  TFakeFileDialogs FDialogs;
  TFakeHelpViewer FHelp;
  std::unique_ptr<TFrmMain> FForm;
  std::vector<QDialog*> FShown;
  std::vector<std::string> FOkCaptions;
  std::vector<bool> FDeclineHidden;
  int FModalResult = QDialog::Accepted;
};

class FrmMainFileTest : public FrmMainTest {
 protected:
  // Runs Calc into `name` from a known state of the uniform source.
  void CalcInto(const std::string& name) {
    UniformSeed = 0;
    UniformStartup();
    FDialogs.SaveAnswers.push_back(PathOf(name));
    FForm->SButCalcRandNums()->click();
  }
  // What ExportRandomNumbers writes for the window's settings from the same state.
  std::pair<std::string, THistogram> Reference(const std::string& name) {
    TAlearix gen = FForm->Generator();
    UniformSeed = 0;
    UniformStartup();
    THistogram h = ExportRandomNumbers(gen, FForm->NumRandNums, PathOf(name));
    return {Get(PathOf(name)), h};
  }
};

class FrmEditTest : public FrmMainFileTest {
 protected:
  // Shows the dialog when "Edit" runs it, lets `edit` work on it, then closes it
  // with "Done" or with the window's close box.
  void RunEdit(const std::function<void(TFrmEditDistri&, TNTabEd&)>& edit, bool done) {
    FForm->SetModalRunner([&](QDialog& d) {
      auto& dlg = dynamic_cast<TFrmEditDistri&>(d);
      dlg.show();
      edit(dlg, *dlg.NTabEd1());
      if (done)
        QTest::mouseClick(dlg.SpeedButton1(), Qt::LeftButton);
      else
        dlg.close();
      EXPECT_FALSE(dlg.isVisible());
      return dlg.result();
    });
    FForm->SButEditDistri()->click();
  }
  static void Type(TNTabEd& tab, const char* text, bool enter) {
    QLineEdit* ed = tab.InplaceEditor();
    ASSERT_TRUE(tab.EditorMode());
    ed->selectAll();
    QTest::keyClicks(ed, text);
    if (enter) QTest::keyClick(ed, Qt::Key_Return);
  }
};
