// The main window: start-up, presets and shape bars, range editing, count selection
// and the file commands, driven without blocking dialogs.
#include "app/frmdistr.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/about.h"
#include "app/core/export.h"
#include "components/chart/rchart.h"
#include "components/numlab/numlab.h"
#include "engine/alearix.h"
#include "engine/uniform.h"
#include "tests/support/fakeservices.h"
#include "tests/support/testfiles.h"

namespace {

// The two-bell mixture, normalised to its maximum over the 500 classes.
std::vector<double> Mixture(double m1, double s1, double m2, double s2, double ratio) {
  std::vector<double> d(501, 0.0);
  double top = 0.0;
  for (int i = 1; i <= 500; ++i) {
    d[i] = (1 - ratio) * std::exp(-(i - m1) * (i - m1) / (s1 * s1)) +
           ratio * std::exp(-(i - m2) * (i - m2) / (s2 * s2));
    top = std::max(top, d[i]);
  }
  for (double& v : d) v /= top;
  return d;
}

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

  void ExpectDensity(const std::vector<double>& d) const {
    for (int i = 1; i <= 500; ++i)
      ASSERT_NEAR(FForm->Generator().GetRefPoint(i), d[i], 1e-12) << "class " << i;
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

TEST_F(FrmMainTest, FirstActivationDrawsTheNormalShapeAndShowsTheDisclaimerOnce) {
  EXPECT_EQ(FForm->windowTitle(), "Alearix - Configurable Random Generator");
  EXPECT_EQ(FForm->size(), QSize(557, 481));
  EXPECT_EQ(FForm->minimumSize(), FForm->maximumSize());
  EXPECT_EQ(FForm->Generator().Resolution(), 500);
  EXPECT_EQ(FForm->NumRandNums, 500);
  EXPECT_TRUE(FShown.empty());

  Activate();
  ASSERT_EQ(FShown.size(), 1u);
  EXPECT_EQ(FShown[0], FForm->AboutBox());
  EXPECT_EQ(FOkCaptions[0], "OK, I accept");
  EXPECT_FALSE(FDeclineHidden[0]);

  ExpectCurveAt(0);
  EXPECT_EQ(Items().size(), 503u);  // curve and end marker
  // the peak 1 sits on class 250, whose lower edge is -300 + 249 * 1.2 = -1.2
  const TGrafItem& peak = Items()[250];
  EXPECT_NEAR(peak.x, -1.2, 1e-9);
  EXPECT_EQ(peak.y, 1.0);
  for (int i = 1; i <= 500; ++i) {
    if (i != 250) {
      EXPECT_LT(Items()[i].y, 1.0) << i;
    }
  }
  EXPECT_NEAR(FForm->Generator().GetRefPoint(350), std::exp(-1.0), 1e-12);
  EXPECT_EQ(FForm->RChart1()->RangeLoX(), -300.0);
  EXPECT_EQ(FForm->RChart1()->RangeHiX(), 300.0);
  EXPECT_EQ(FForm->RChart1()->RangeHiY(), 1.1);

  EXPECT_EQ(FForm->NLabNumPnts()->NumberText(), "500");
  EXPECT_EQ(FForm->NLabLowB()->NumberText(), "-300.000");
  EXPECT_EQ(FForm->NLabHighB()->NumberText(), "300.000");
  EXPECT_TRUE(FForm->SBSetNormalD()->isChecked());
  EXPECT_EQ(DownCount(), 1);
  EXPECT_EQ(FForm->SBSetNormalD()->toolTip(), "Normal distribution");
  EXPECT_TRUE(FForm->SButEditDistri()->isEnabled());
  EXPECT_EQ(FForm->SButEditDistri()->text(), "Edit");

  Activate();  // later activations do nothing
  EXPECT_EQ(FShown.size(), 1u);
}

TEST_F(FrmMainTest, ShowingTheWindowActivatesItOnce) {
  FForm->show();
  QElapsedTimer t;
  t.start();
  while (!FForm->Activated() && t.elapsed() < 3000) QCoreApplication::processEvents();
  ASSERT_TRUE(FForm->Activated());
  for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
  EXPECT_EQ(FShown.size(), 1u);
  EXPECT_TRUE(FForm->isVisible());
  EXPECT_EQ(Items().size(), 503u);
}

TEST_F(FrmMainTest, DecliningTheDisclaimerClosesTheWindowAcceptingOrClosingItDoesNot) {
  int closed = 0;
  QObject::connect(FForm.get(), &TFrmMain::Closed, [&closed] { ++closed; });
  FForm->show();
  FModalResult = TAboutBox::kAbort;
  Activate();
  EXPECT_FALSE(FForm->isVisible());
  EXPECT_EQ(closed, 1);

  for (int result : {int(QDialog::Accepted), int(QDialog::Rejected)}) {
    TFrmMain other(&FDialogs, &FHelp);
    other.SetDisclaimer([result] { return result; });
    other.show();
    other.FormActivate();
    EXPECT_TRUE(other.isVisible()) << result;
  }
}

TEST_F(FrmMainTest, DisclaimerHookReplacesTheAboutBox) {
  int calls = 0;
  FForm->SetDisclaimer([&] {
    ++calls;
    return TAboutBox::kAbort;
  });
  FForm->show();
  Activate();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(FShown.empty());
  EXPECT_FALSE(FForm->isVisible());
}

TEST_F(FrmMainTest, AboutShowsDoneWithoutTheDeclineButtonAndHelpOpensTheContents) {
  Activate();
  FForm->SButAbout()->click();
  ASSERT_EQ(FShown.size(), 2u);
  EXPECT_EQ(FShown[1], FForm->AboutBox());
  EXPECT_EQ(FOkCaptions[1], "Done");
  EXPECT_TRUE(FDeclineHidden[1]);
  FForm->SButAbout()->click();  // and stays so
  EXPECT_EQ(FOkCaptions[2], "Done");

  FForm->SButHelp()->click();
  ASSERT_EQ(FHelp.Requests.size(), 1u);
  EXPECT_EQ(FHelp.Requests[0], "ALEARIX.HLP");
  EXPECT_EQ(Items().size(), 503u);  // neither touches the chart
}

TEST_F(FrmMainTest, ExitClosesTheWindow) {
  FForm->show();
  Activate();
  FForm->SBExit()->click();
  EXPECT_FALSE(FForm->isVisible());
}

TEST_F(FrmMainTest, ControlsSitAtTheirPlacesWithTheirHints) {
  struct TPlace {
    QWidget* W;
    QRect Rect;
    const char* Hint;
  };
  const TPlace places[] = {
      {FForm->SBExit(), {8, 4, 81, 25}, "Exit Alearix"},
      {FForm->SButAbout(), {8, 30, 40, 25}, "About Alearix"},
      {FForm->SButHelp(), {49, 30, 40, 25}, "Help"},
      {FForm->SBarNumRandNum(), {12, 98, 73, 14}, "Set number of random numbers to be generated"},
      {FForm->SButCalcRandNums(), {12, 118, 73, 25}, "Calculate random numbers"},
      {FForm->SBSetNormalD(), {105, 64, 25, 25}, "Normal distribution"},
      {FForm->SButBiModal(), {132, 64, 25, 25}, "Bimodal Distribution"},
      {FForm->SButLeptoKD(), {105, 91, 25, 25}, "Leptokurtic Distribution"},
      {FForm->SButPlatyKD(), {132, 91, 25, 25}, "Platykurtic Distribution"},
      {FForm->SButLeftSkew(), {105, 118, 25, 25}, "Left skewed distribution"},
      {FForm->SButRightSKew(), {132, 118, 25, 25}, "Right skewed distribution"},
      {FForm->SButLoadDistri(), {180, 64, 73, 25}, "Load distribution from file"},
      {FForm->SButEditDistri(), {180, 91, 73, 25}, "Edit distribution"},
      {FForm->SButSaveDistri(), {180, 118, 73, 25}, "Save distribution to file"},
      {FForm->SBarMean1(), {272, 29, 105, 14}, "Adjust mean value"},
      {FForm->SBarStdDev1(), {272, 48, 105, 14}, "Adjust standard deviation"},
      {FForm->SBarMean2(), {440, 29, 105, 14}, "Adjust mean value"},
      {FForm->SBarStdDev2(), {440, 48, 105, 14}, "Adjust standard deviation"},
      {FForm->SBarHRatio(), {336, 67, 145, 14}, "Adjust ratio of distributions"},
      {FForm->NLabLowB(), {272, 120, 121, 0}, "click here to change lower limit"},
      {FForm->NLabHighB(), {424, 120, 121, 0}, "click here to change upper limit"},
      {FForm->EdLowB(), {310, 122, 78, 18}, "Press <ENTER> to accept, <ESC> to cancel"},
      {FForm->EdHighB(), {461, 122, 79, 18}, "Press <ENTER> to accept, <ESC> to cancel"},
      {FForm->RChart1(), {0, 153, 557, 328}, "Drag to draw the density, Ctrl+Z to undo"},
  };
  for (const TPlace& p : places) {
    SCOPED_TRACE(p.Hint);
    QRect r = p.W->geometry();
    if (p.Rect.height() == 0) r.setHeight(0);  // a numeric label's height follows its font
    EXPECT_EQ(r, p.Rect);
    EXPECT_EQ(p.W->toolTip().toStdString(), p.Hint);
  }
  // the scroll bar ranges
  const std::pair<QScrollBar*, std::array<int, 3>> bars[] = {
      {FForm->SBarNumRandNum(), {1, 28, 16}}, {FForm->SBarMean1(), {1, 500, 250}},
      {FForm->SBarStdDev1(), {10, 250, 100}}, {FForm->SBarMean2(), {1, 500, 250}},
      {FForm->SBarStdDev2(), {10, 250, 100}}, {FForm->SBarHRatio(), {0, 100, 50}}};
  for (const auto& [bar, v] : bars) {
    EXPECT_EQ(bar->minimum(), v[0]);
    EXPECT_EQ(bar->maximum(), v[1]);
    EXPECT_EQ(bar->value(), v[2]);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
  }
  EXPECT_EQ(FForm->SBExit()->text(), "Exit");
  EXPECT_EQ(FForm->SButCalcRandNums()->text(), "Calc");
  EXPECT_EQ(FForm->SButLoadDistri()->text(), "Load");
  EXPECT_EQ(FForm->SButSaveDistri()->text(), "Save");
  EXPECT_EQ(FForm->Label(7)->text(), "Distribution Shapes");
  EXPECT_TRUE(FForm->Label(7)->font().bold());
  EXPECT_EQ(FForm->Label(7)->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
  EXPECT_EQ(FForm->Label(8)->text(), "Range of random numbers");
  EXPECT_EQ(FForm->Label(8)->pos(), QPoint(328, 96));
  EXPECT_FALSE(FForm->Label(6)->font().bold());
  EXPECT_EQ(FForm->NLabLowB()->LeftText(), "from");
  EXPECT_EQ(FForm->NLabHighB()->LeftText(), "to");
  EXPECT_EQ(FForm->NLabNumPnts()->LeftText(), "#");
  EXPECT_TRUE(FForm->EdLowB()->isHidden());
  // the chart neither pans nor zooms, and its settings do not paint on their own
  EXPECT_EQ(FForm->RChart1()->MouseAction(), maNone);
  EXPECT_FALSE(FForm->RChart1()->AutoRedraw());
  EXPECT_EQ(FForm->RChart1()->Caption(), "Probability Distribution");
  EXPECT_EQ(FForm->RChart1()->IdAbscissa(), "Range of generated random numbers");
}

TEST_F(FrmMainTest, ClickingTheLabelWithTheMouseOpensItsEditBox) {
  Activate();
  TNumLab* label = FForm->NLabLowB();
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(60, 8));
  EXPECT_FALSE(FForm->EdLowB()->isHidden());
  EXPECT_EQ(FForm->EdLowB()->text(), " -300.000");
  EXPECT_TRUE(FForm->EdHighB()->isHidden());
}

// Each preset sets the five bars (ratio, width A, position A, width B, position B).
TEST_F(FrmMainTest, PresetsSetTheBarsAndTheDensity) {
  Activate();
  struct TCase {
    QToolButton* Button;
    std::array<int, 5> Bars;
  };
  const TCase cases[] = {
      {FForm->SButLeptoKD(), {50, 60, 250, 21, 250}},
      {FForm->SButPlatyKD(), {50, 60, 205, 60, 295}},
      {FForm->SButBiModal(), {65, 50, 170, 40, 330}},
      {FForm->SButLeftSkew(), {50, 55, 230, 32, 270}},
      {FForm->SButRightSKew(), {50, 32, 230, 55, 270}},
      {FForm->SBSetNormalD(), {0, 100, 250, 100, 250}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Button->toolTip().toStdString());
    c.Button->click();
    EXPECT_EQ(Bars(), c.Bars);
    EXPECT_TRUE(c.Button->isChecked());
    EXPECT_EQ(DownCount(), 1);
    EXPECT_EQ(FForm->Ratio, c.Bars[0] * 0.01);
    EXPECT_EQ(FForm->StdDev1, c.Bars[1]);
    EXPECT_EQ(FForm->Mean1, c.Bars[2]);
    EXPECT_EQ(FForm->StdDev2, c.Bars[3]);
    EXPECT_EQ(FForm->Mean2, c.Bars[4]);
    ExpectDensity(Mixture(c.Bars[2], c.Bars[1], c.Bars[4], c.Bars[3], c.Bars[0] * 0.01));
    ExpectCurveAt(0);
  }
  // leptokurtic: a narrow peak over a wide base, both at 250
  FForm->SButLeptoKD()->click();
  EXPECT_EQ(FForm->Generator().GetRefPoint(250), 1.0);
  // platykurtic: two equal bells at 205 and 295 give a symmetric plateau
  FForm->SButPlatyKD()->click();
  EXPECT_NEAR(FForm->Generator().GetRefPoint(205), FForm->Generator().GetRefPoint(295), 1e-12);
}

TEST_F(FrmMainTest, PresetSetsTheBarsInItsOrder) {
  Activate();
  std::vector<std::string> order;
  const std::pair<QScrollBar*, const char*> bars[] = {{FForm->SBarMean1(), "Mean1"},
                                                      {FForm->SBarStdDev1(), "StdDev1"},
                                                      {FForm->SBarMean2(), "Mean2"},
                                                      {FForm->SBarStdDev2(), "StdDev2"},
                                                      {FForm->SBarHRatio(), "HRatio"}};
  for (const auto& [bar, name] : bars)
    QObject::connect(bar, &QScrollBar::valueChanged,
                     [&order, n = name](int) { order.push_back(n); });
  FForm->SButBiModal()->click();
  EXPECT_EQ(order, (std::vector<std::string>{"HRatio", "StdDev1", "Mean1", "StdDev2", "Mean2"}));
}

TEST_F(FrmMainTest, ClickingTheDownPresetPutsItUpAndStillAppliesIt) {
  Activate();
  FForm->SBarMean1()->setValue(100);  // moving a bar leaves the buttons as they are
  EXPECT_TRUE(FForm->SBSetNormalD()->isChecked());
  FForm->SBSetNormalD()->click();
  EXPECT_EQ(DownCount(), 0);
  EXPECT_EQ(Bars(), (std::array<int, 5>{0, 100, 250, 100, 250}));
  ExpectDensity(Mixture(250, 100, 250, 100, 0.0));

  // a preset equal to the bars still recomputes and redraws
  FForm->RChart1()->Line(0, 0, 1, 1);
  const std::size_t before = Items().size();
  FForm->SBSetNormalD()->click();
  EXPECT_TRUE(FForm->SBSetNormalD()->isChecked());
  EXPECT_EQ(Items().size(), before - 1);
  ExpectCurveAt(0);

  FForm->SButBiModal()->click();
  EXPECT_FALSE(FForm->SBSetNormalD()->isChecked());
  EXPECT_TRUE(FForm->SButBiModal()->isChecked());
  EXPECT_EQ(DownCount(), 1);
}

TEST_F(FrmMainTest, ShapeBarsFollowTheMixture) {
  Activate();
  FForm->SBarMean1()->setValue(100);
  EXPECT_EQ(FForm->Mean1, 100);
  ExpectDensity(Mixture(100, 100, 250, 100, 0.5));
  ExpectCurveAt(0);

  FForm->SBarStdDev2()->setValue(20);
  EXPECT_EQ(FForm->StdDev2, 20);
  ExpectDensity(Mixture(100, 100, 250, 20, 0.5));

  // ratio 100: Shape A is ignored; ratio 0: Shape B is ignored
  FForm->SBarHRatio()->setValue(100);
  EXPECT_EQ(FForm->Ratio, 1.0);
  ExpectDensity(Mixture(400, 10, 250, 20, 1.0));
  FForm->SBarHRatio()->setValue(0);
  ExpectDensity(Mixture(100, 100, 1, 10, 0.0));

  FForm->SBarStdDev1()->setValue(30);
  FForm->SBarMean2()->setValue(400);
  EXPECT_EQ(FForm->StdDev1, 30);
  EXPECT_EQ(FForm->Mean2, 400);
  ExpectDensity(Mixture(100, 30, 400, 20, 0.0));

  // dragging the thumb updates the curve at every step
  QScrollBar* bar = FForm->SBarMean1();
  bar->setSliderDown(true);
  bar->setSliderPosition(120);
  EXPECT_EQ(FForm->Mean1, 120);
  ExpectDensity(Mixture(120, 30, 400, 20, 0.0));
  bar->setSliderPosition(121);
  EXPECT_EQ(FForm->Mean1, 121);
  bar->setSliderDown(false);

  // steps are single classes, in the track as on the arrows
  EXPECT_EQ(bar->singleStep(), 1);
  EXPECT_EQ(bar->pageStep(), 1);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(FForm->Mean1, 122);
}

TEST_F(FrmMainTest, CountBarSelectsFromTheCountTable) {
  Activate();
  QScrollBar* bar = FForm->SBarNumRandNum();
  EXPECT_EQ(bar->value(), 16);
  bar->setValue(1);
  EXPECT_EQ(FForm->NumRandNums, 1);
  EXPECT_EQ(FForm->NLabNumPnts()->NumberText(), "1");
  bar->setValue(28);
  EXPECT_EQ(FForm->NumRandNums, 50000);
  EXPECT_EQ(FForm->NLabNumPnts()->NumberText(), "50000");
  bar->setValue(17);
  EXPECT_EQ(FForm->NumRandNums, 750);
  bar->setValue(40);  // beyond the end: stays on the last position
  EXPECT_EQ(FForm->NumRandNums, 50000);
}

TEST_F(FrmMainTest, RangeEditingAcceptsValidNumbersOnEnter) {
  Activate();
  QLineEdit* ed = FForm->EdHighB();
  EXPECT_TRUE(ed->isHidden());
  FForm->NLabHighB()->OnClick(FForm->NLabHighB());
  EXPECT_FALSE(ed->isHidden());
  EXPECT_EQ(ed->text(), " 300.000");
  EXPECT_FALSE(ed->hasSelectedText());
  EXPECT_FALSE(ed->hasFrame());

  ed->setText("1e2");
  QTest::keyClick(ed, Qt::Key_Return);
  EXPECT_TRUE(ed->isHidden());
  EXPECT_EQ(FForm->NLabHighB()->Value(), 100.0);
  EXPECT_EQ(FForm->NLabHighB()->NumberText(), "100.000");
  EXPECT_EQ(FForm->RChart1()->RangeHiX(), 100.0);
  EXPECT_EQ(FForm->Generator().UpperLimit, 100.0);
  ExpectCurveAt(0);
  EXPECT_EQ(Items()[501].x, 100.0);
  // the shape and the presets are not touched
  EXPECT_TRUE(FForm->SBSetNormalD()->isChecked());
  EXPECT_EQ(FForm->Generator().GetRefPoint(250), 1.0);
}

TEST_F(FrmMainTest, RangeEditingIgnoresInvalidTextAndEscape) {
  Activate();
  QLineEdit* ed = FForm->EdHighB();
  const std::vector<TGrafItem> before = Items();
  for (const char* text : {"100.", "", "abc"}) {
    FForm->NLabHighB()->OnClick(FForm->NLabHighB());
    ed->setText(text);
    QTest::keyClick(ed, Qt::Key_Enter);
    EXPECT_TRUE(ed->isHidden()) << text;
    EXPECT_EQ(FForm->Generator().UpperLimit, 300.0) << text;
    EXPECT_EQ(FForm->NLabHighB()->Value(), 300.0) << text;
    EXPECT_EQ(FForm->RChart1()->RangeHiX(), 300.0) << text;
  }
  FForm->NLabHighB()->OnClick(FForm->NLabHighB());
  ed->setText("5");
  QTest::keyClick(ed, Qt::Key_Escape);
  EXPECT_TRUE(ed->isHidden());
  EXPECT_EQ(FForm->Generator().UpperLimit, 300.0);
  EXPECT_EQ(Items().size(), before.size());

  // other keys edit the text; the box stays open without Enter or Escape
  FForm->NLabLowB()->OnClick(FForm->NLabLowB());
  QLineEdit* low = FForm->EdLowB();
  low->clear();
  QTest::keyClick(low, Qt::Key_7);
  low->clearFocus();
  EXPECT_FALSE(low->isHidden());
  EXPECT_EQ(FForm->Generator().LowerLimit, -300.0);
  // a second click refills the box from the label's value
  FForm->NLabLowB()->OnClick(FForm->NLabLowB());
  EXPECT_EQ(low->text(), " -300.000");
}

TEST_F(FrmMainTest, EditBoxShowsTheLimitAsTheLabelRoundsIt) {
  Activate();
  QLineEdit* ed = FForm->EdHighB();
  // 0.0625 is an exact tie at three decimals, -0.0001 rounds to zero
  const std::pair<const char*, const char*> cases[] = {
      {"0.0625", " 0.063"}, {"-0.0001", " 0.000"}, {"-2.0005", " -2.001"}};
  for (const auto& [typed, shown] : cases) {
    FForm->NLabHighB()->OnClick(FForm->NLabHighB());
    ed->setText(typed);
    QTest::keyClick(ed, Qt::Key_Return);
    ASSERT_EQ(FForm->Generator().UpperLimit, std::stod(typed)) << typed;
    FForm->NLabHighB()->OnClick(FForm->NLabHighB());
    EXPECT_EQ(ed->text().toStdString(), shown) << typed;
    QTest::keyClick(ed, Qt::Key_Escape);
  }
}

TEST_F(FrmMainTest, LowerLimitAboveTheUpperIsAccepted) {
  Activate();
  FForm->NLabLowB()->OnClick(FForm->NLabLowB());
  FForm->EdLowB()->setText("  500");
  QTest::keyClick(FForm->EdLowB(), Qt::Key_Return);
  EXPECT_EQ(FForm->Generator().LowerLimit, 500.0);
  EXPECT_EQ(FForm->NLabLowB()->Value(), 500.0);
  EXPECT_EQ(FForm->RChart1()->RangeLoX(), 500.0);
  ExpectCurveAt(0);  // drawn from 500 down to 300
  EXPECT_EQ(Items()[0].x, 500.0);
  EXPECT_LT(Items()[2].x, Items()[1].x);
}

// The window shown and active. Keys go in through the window, as the window system
// delivers them, to whichever control holds the keyboard focus; clicks go to controls.
class FrmMainKeysTest : public FrmMainTest {
 protected:
  void SetUp() override {
    FrmMainTest::SetUp();
    Activate();
    FForm->show();
    FForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FForm.get()));
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(FForm->windowHandle(), key, mods);
  }
  void Type(const std::string& text) {
    for (char c : text) QTest::keyClick(FForm->windowHandle(), c);
  }
  static void ClickLabel(TNumLab* label) {
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(60, 8));
  }
  static QWidget* Focus() { return QApplication::focusWidget(); }
  std::vector<QWidget*> BarsInTabOrder() const {
    return {FForm->SBarNumRandNum(), FForm->SBarMean1(),   FForm->SBarStdDev1(),
            FForm->SBarMean2(),      FForm->SBarStdDev2(), FForm->SBarHRatio()};
  }
};

TEST_F(FrmMainKeysTest, AClosedRangeBoxTakesNoKeysAndEachOpeningStartsFromTheLabel) {
  struct TCase {
    bool Upper;
    Qt::Key Close;
    const char* Typed;
    double Limit;  // after closing
  };
  auto keyName = [](Qt::Key key) { return key == Qt::Key_Escape ? " Escape" : " Enter"; };
  const TCase cases[] = {
      {true, Qt::Key_Escape, "99", 300.0},
      {true, Qt::Key_Return, "99", 300.00099},
      {false, Qt::Key_Escape, "5", -300.0},
      {false, Qt::Key_Enter, "5", -300.0005},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Upper ? "to " : "from ") + c.Typed + keyName(c.Close));
    TNumLab* label = c.Upper ? FForm->NLabHighB() : FForm->NLabLowB();
    QLineEdit* ed = c.Upper ? FForm->EdHighB() : FForm->EdLowB();
    auto limit = [&] {
      return c.Upper ? FForm->Generator().UpperLimit : FForm->Generator().LowerLimit;
    };
    ClickLabel(label);
    ASSERT_FALSE(ed->isHidden());
    EXPECT_EQ(ed->text().toStdString(), " " + label->NumberText());
    EXPECT_EQ(Focus(), ed);
    Type(c.Typed);
    Key(c.Close);
    EXPECT_TRUE(ed->isHidden());
    EXPECT_EQ(limit(), c.Limit);
    EXPECT_EQ(Focus(), FForm.get());  // the window itself

    // with no box open, Enter and typing change nothing
    const std::size_t items = Items().size();
    Key(Qt::Key_Return);
    Type("9");
    Key(Qt::Key_Enter);
    EXPECT_EQ(limit(), c.Limit);
    EXPECT_EQ(label->Value(), c.Limit);
    EXPECT_EQ(Items().size(), items);
    EXPECT_TRUE(ed->isHidden());
  }
}

TEST_F(FrmMainKeysTest, TabVisitsTheScrollBarsInTheirOrderThenTheOpenRangeBoxes) {
  // the window opens with the first bar focused
  std::vector<QWidget*> expected = BarsInTabOrder();
  EXPECT_EQ(Focus(), expected.front());
  expected.push_back(expected.front());
  expected.erase(expected.begin());
  std::vector<QWidget*> seen;
  for (std::size_t k = 0; k < expected.size(); ++k) {
    Key(Qt::Key_Tab);
    seen.push_back(Focus());
  }
  EXPECT_EQ(seen, expected);  // the speed buttons stay out of the way

  // open boxes follow the bars; entered by Tab or Backtab they keep the caret
  ClickLabel(FForm->NLabLowB());
  ClickLabel(FForm->NLabHighB());
  expected = BarsInTabOrder();
  expected.push_back(FForm->EdLowB());
  expected.push_back(FForm->EdHighB());
  seen.clear();
  for (std::size_t k = 0; k < expected.size(); ++k) {
    Key(Qt::Key_Tab);
    seen.push_back(Focus());
    if (auto* ed = qobject_cast<QLineEdit*>(Focus())) {
      EXPECT_FALSE(ed->hasSelectedText());
    }
  }
  EXPECT_EQ(seen, expected);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_EQ(Focus(), FForm->EdLowB());
  EXPECT_FALSE(FForm->EdLowB()->hasSelectedText());
  Type("1");
  Key(Qt::Key_Return);
  EXPECT_EQ(FForm->Generator().LowerLimit, -300.0001);
}

// Where a click on a part of a scroll bar lands.
QPoint PartOf(const QScrollBar* bar, QStyle::SubControl part) {
  QStyleOptionSlider opt;
  opt.initFrom(bar);
  opt.subControls = QStyle::SC_All;
  opt.orientation = bar->orientation();
  opt.state |= QStyle::State_Horizontal;
  opt.minimum = bar->minimum();
  opt.maximum = bar->maximum();
  opt.sliderPosition = bar->sliderPosition();
  opt.sliderValue = bar->value();
  opt.singleStep = bar->singleStep();
  opt.pageStep = bar->pageStep();
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar).center();
}

TEST_F(FrmMainKeysTest, KeysMoveAFocusedBarAsItsArrowsAndTrackDo) {
  struct TMove {
    Qt::Key Key;
    QStyle::SubControl Part;  // the part of the bar a click on which does the same
    int Step;
  };
  const TMove moves[] = {
      {Qt::Key_Right, QStyle::SC_ScrollBarAddLine, 1},
      {Qt::Key_Left, QStyle::SC_ScrollBarSubLine, -1},
      {Qt::Key_Down, QStyle::SC_ScrollBarAddLine, 1},
      {Qt::Key_Up, QStyle::SC_ScrollBarSubLine, -1},
      {Qt::Key_PageDown, QStyle::SC_ScrollBarAddPage, 1},
      {Qt::Key_PageUp, QStyle::SC_ScrollBarSubPage, -1},
  };
  // What each bar's handler keeps, in the bar's units.
  auto held = [this](QScrollBar* bar) -> double {
    if (bar == FForm->SBarNumRandNum()) {
      const auto at = std::find(CountTable.begin(), CountTable.end(), FForm->NumRandNums);
      return static_cast<double>(at - CountTable.begin() + 1);
    }
    if (bar == FForm->SBarMean1()) return FForm->Mean1;
    if (bar == FForm->SBarStdDev1()) return FForm->StdDev1;
    if (bar == FForm->SBarMean2()) return FForm->Mean2;
    if (bar == FForm->SBarStdDev2()) return FForm->StdDev2;
    return FForm->Ratio * 100.0;
  };
  const std::vector<QWidget*> bars = BarsInTabOrder();
  for (std::size_t k = 0; k < bars.size(); ++k) {
    auto* bar = qobject_cast<QScrollBar*>(bars[k]);
    SCOPED_TRACE(bar->toolTip().toStdString());
    if (k > 0) Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), bar);
    for (const TMove& m : moves) {
      SCOPED_TRACE(m.Key);
      const int start = bar->value();
      Key(m.Key);
      EXPECT_EQ(bar->value(), start + m.Step);
      EXPECT_DOUBLE_EQ(held(bar), start + m.Step);
      QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, PartOf(bar, m.Part));
      EXPECT_EQ(bar->value(), start + 2 * m.Step);
      EXPECT_DOUBLE_EQ(held(bar), start + 2 * m.Step);
    }
    EXPECT_EQ(Focus(), bar);  // clicks keep it on the bar
  }
  ExpectDensity(Mixture(FForm->Mean1, FForm->StdDev1, FForm->Mean2, FForm->StdDev2, FForm->Ratio));
}

TEST_F(FrmMainTest, HelpOpensItsOwnWindowTitledAlearixHelp) {
  TFrmMain form(&FDialogs, nullptr);
  form.SButHelp()->click();
  int shown = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == "Alearix Help") ++shown;
  EXPECT_EQ(shown, 1);
}

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

TEST_F(FrmMainFileTest, CalcWritesTheExportAndDrawsTheHistogramUnderTheCurve) {
  Activate();
  FForm->SButBiModal()->click();
  CalcInto("a.asc");
  ASSERT_EQ(FDialogs.SaveRequests.size(), 1u);
  EXPECT_EQ(FDialogs.SaveRequests[0].Filter, "ASCII Format|*.asc");
  EXPECT_EQ(FDialogs.SaveRequests[0].FileName, "unknown.asc");
  EXPECT_TRUE(FDialogs.SaveRequests[0].OverwritePrompt);

  const std::string written = Get(PathOf("a.asc"));
  const auto [expected, hist] = Reference("b.asc");
  EXPECT_EQ(written, expected);
  const std::vector<std::string> lines = CrLfLines(written);
  ASSERT_EQ(lines.size(), 504u);
  EXPECT_EQ(lines[2], "500\t; # of rows");

  // curve, 500 lines, curve, end marker
  ASSERT_EQ(Items().size(), 502u + 500u + 502u + 1u);
  ExpectCurveAt(0);
  double tallest = 0.0;
  for (int i = 1; i <= 500; ++i) {
    const TGrafItem& line = Items()[501 + i];
    ASSERT_EQ(line.Kind, gkLine) << i;
    EXPECT_EQ(line.Color, 0xFFE0C0u);
    EXPECT_DOUBLE_EQ(line.x, FForm->Generator().ClassEdge(i));
    EXPECT_DOUBLE_EQ(line.x2, line.x);
    EXPECT_EQ(line.y, 0.0);
    EXPECT_DOUBLE_EQ(line.y2, hist.Count(i) / hist.Scale);
    tallest = std::max(tallest, line.y2);
  }
  EXPECT_EQ(tallest, 1.0);  // fewer than 1000 numbers: raw counts scale to 1
  ExpectCurveAt(1002);
  EXPECT_EQ(Items()[1002].Color, 0xFFE0C0u);  // the pen move still carries the line colour
  EXPECT_EQ(Items().back().Kind, gkEnd);
}

TEST_F(FrmMainFileTest, CalcWritesOneOrFiftyThousandNumbers) {
  Activate();
  FForm->SBarNumRandNum()->setValue(1);
  CalcInto("one.asc");
  const std::vector<std::string> one = CrLfLines(Get(PathOf("one.asc")));
  ASSERT_EQ(one.size(), 5u);
  EXPECT_EQ(one[2], "1\t; # of rows");
  EXPECT_EQ(Get(PathOf("one.asc")), Reference("one_ref.asc").first);

  FForm->SBarNumRandNum()->setValue(28);
  CalcInto("many.asc");
  const std::string many = Get(PathOf("many.asc"));
  EXPECT_EQ(CrLfLines(many).size(), 50004u);
  EXPECT_EQ(many, Reference("many_ref.asc").first);
}

TEST_F(FrmMainFileTest, CancellingCalcChangesNothing) {
  Activate();
  CalcInto("a.asc");
  const std::vector<TGrafItem> before = Items();
  ASSERT_EQ(before.size(), 1505u);
  const std::uint32_t seed = UniformSeed;
  FDialogs.SaveAnswers.push_back(std::nullopt);
  FForm->SButCalcRandNums()->click();
  EXPECT_EQ(FDialogs.SaveRequests.size(), 2u);
  EXPECT_EQ(Items().size(), before.size());
  EXPECT_EQ(UniformSeed, seed);
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(FrmMainFileTest, CalcIntoAnUncreatableFileKeepsThePreviousChart) {
  Activate();
  CalcInto("a.asc");
  const std::vector<TGrafItem> before = Items();
  FDialogs.SaveAnswers.push_back(PathOf("nodir/b.asc"));
  try {
    FForm->CalcClick();
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
  EXPECT_EQ(Items().size(), before.size());
}

TEST_F(FrmMainFileTest, CalcWithoutPositivePointsReportsItAndWritesNoFile) {
  Activate();
  CalcInto("a.asc");
  const std::size_t itemsBefore = Items().size();
  for (int i = 1; i <= 500; ++i) FForm->Generator().SetRefPoint(i, 0.0);
  FDialogs.SaveAnswers.push_back(PathOf("none.asc"));
  try {
    FForm->CalcClick();
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "The distribution has no positive reference point");
  }
  EXPECT_FALSE(std::filesystem::exists(PathOf("none.asc")));
  EXPECT_EQ(Items().size(), itemsBefore);
}

TEST_F(FrmMainFileTest, SaveThenLoadRestoresTheDensityAndReleasesThePresets) {
  Activate();
  FForm->SButBiModal()->click();
  FForm->NLabLowB()->OnClick(FForm->NLabLowB());
  FForm->EdLowB()->setText("-12.5");
  QTest::keyClick(FForm->EdLowB(), Qt::Key_Return);
  const TAlearix saved = FForm->Generator();

  FDialogs.SaveAnswers.push_back(PathOf("d.rnd"));
  FForm->SButSaveDistri()->click();
  ASSERT_EQ(FDialogs.SaveRequests.size(), 1u);
  EXPECT_EQ(FDialogs.SaveRequests[0].Filter, "Random Number Distribution|*.rnd");
  EXPECT_EQ(FDialogs.SaveRequests[0].FileName, "unknown.rnd");
  EXPECT_TRUE(FDialogs.SaveRequests[0].OverwritePrompt);
  EXPECT_EQ(CrLfLines(Get(PathOf("d.rnd"))).size(), 504u);
  EXPECT_TRUE(FForm->SButBiModal()->isChecked());  // saving changes nothing

  // change everything the file holds, then load it back
  FForm->SBSetNormalD()->click();
  FForm->NLabLowB()->OnClick(FForm->NLabLowB());
  FForm->EdLowB()->setText("7");
  QTest::keyClick(FForm->EdLowB(), Qt::Key_Return);
  FForm->NLabHighB()->OnClick(FForm->NLabHighB());
  FForm->EdHighB()->setText("8");
  QTest::keyClick(FForm->EdHighB(), Qt::Key_Return);

  FDialogs.OpenAnswers.push_back(PathOf("d.rnd"));
  FForm->SButLoadDistri()->click();
  ASSERT_EQ(FDialogs.OpenRequests.size(), 1u);
  EXPECT_EQ(FDialogs.OpenRequests[0].Filter, "Random Number Distribution|*.rnd");
  EXPECT_EQ(FDialogs.OpenRequests[0].FileName, "unknown.rnd");
  EXPECT_FALSE(FDialogs.OpenRequests[0].OverwritePrompt);

  const TAlearix& gen = FForm->Generator();
  EXPECT_EQ(gen.Resolution(), 500);
  EXPECT_EQ(gen.LowerLimit, -12.5);
  EXPECT_EQ(gen.UpperLimit, 300.0);
  for (int i = 1; i <= 500; ++i)
    ASSERT_NEAR(gen.GetRefPoint(i), saved.GetRefPoint(i), 1e-14 * saved.GetRefPoint(i) + 1e-300)
        << i;
  EXPECT_EQ(FForm->NLabLowB()->Value(), -12.5);
  EXPECT_EQ(FForm->NLabHighB()->Value(), 300.0);
  EXPECT_EQ(FForm->RChart1()->RangeLoX(), -12.5);
  EXPECT_EQ(FForm->RChart1()->RangeHiX(), 300.0);
  EXPECT_EQ(DownCount(), 0);
  ExpectCurveAt(0);
  EXPECT_EQ(Items().size(), 503u);
  // the shape bars keep their positions
  EXPECT_EQ(Bars(), (std::array<int, 5>{0, 100, 250, 100, 250}));
}

TEST_F(FrmMainFileTest, LoadOfAMalformedFileChangesNothing) {
  Activate();
  FForm->SButLeftSkew()->click();
  const TAlearix before = FForm->Generator();
  const std::vector<TGrafItem> items = Items();
  Put("bad.rnd", "comment\r\n10\t; resolution\r\n-1\r\n1\r\n0.5\r\n0.6\r\n5.\r\n0.7\r\n");
  FDialogs.OpenAnswers.push_back(PathOf("bad.rnd"));
  try {
    FForm->LoadClick();
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric input");
  }
  EXPECT_EQ(FForm->Generator().Resolution(), 500);
  EXPECT_EQ(FForm->Generator().LowerLimit, -300.0);
  for (int i = 1; i <= 500; ++i)
    ASSERT_EQ(FForm->Generator().GetRefPoint(i), before.GetRefPoint(i)) << i;
  EXPECT_TRUE(FForm->SButLeftSkew()->isChecked());
  EXPECT_EQ(FForm->NLabLowB()->Value(), -300.0);
  EXPECT_EQ(Items().size(), items.size());

  // a cancelled open dialog does nothing either
  FDialogs.OpenAnswers.push_back(std::nullopt);
  FForm->LoadClick();
  EXPECT_TRUE(FForm->SButLeftSkew()->isChecked());
}

TEST_F(FrmMainFileTest, LoadingAShortTableGivesTenPoints) {
  Activate();
  Put("short.rnd", "anything\r\n2\r\n0\r\n0.001\r\n0.2\r\n0.4\r\n");
  FDialogs.OpenAnswers.push_back(PathOf("short.rnd"));
  FForm->LoadClick();
  const TAlearix& gen = FForm->Generator();
  EXPECT_EQ(gen.Resolution(), 10);
  EXPECT_EQ(gen.GetRefPoint(1), 0.2);
  EXPECT_EQ(gen.GetRefPoint(2), 0.4);
  EXPECT_EQ(gen.GetRefPoint(3), 1.0);
  EXPECT_EQ(FForm->NLabHighB()->NumberText(), "0.001");
  // the curve still has 500 points: those past the resolution lie at (0.001, 0)
  ExpectCurveAt(0);
  EXPECT_EQ(Items()[11].x, 0.001);
  EXPECT_EQ(Items()[11].y, 0.0);

  // a finer table: only its first 500 points are drawn before the fall at the upper limit
  std::string fine = "comment\r\n4000\r\n0\r\n4000\r\n";
  for (int i = 1; i <= 4000; ++i) fine += (i == 3000 ? "1" : "0.5") + std::string("\r\n");
  Put("fine.rnd", fine);
  FDialogs.OpenAnswers.push_back(PathOf("fine.rnd"));
  FForm->LoadClick();
  EXPECT_EQ(FForm->Generator().Resolution(), 4000);
  ExpectCurveAt(0);
  EXPECT_EQ(Items().size(), 503u);
  EXPECT_DOUBLE_EQ(Items()[500].x, 499.0);
  EXPECT_EQ(Items()[500].y, 0.5);
  EXPECT_EQ(Items()[501].x, 4000.0);
}

TEST_F(FrmMainFileTest, CalcOverATooWideRangeReportsItAndKeepsTheChart) {
  Activate();
  CalcInto("a.asc");
  const std::size_t itemsBefore = Items().size();
  FForm->Generator().LowerLimit = -1e308;
  FForm->Generator().UpperLimit = 1e308;
  FDialogs.SaveAnswers.push_back(PathOf("wide.asc"));
  try {
    FForm->CalcClick();
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "The range of random numbers is too wide");
  }
  EXPECT_FALSE(std::filesystem::exists(PathOf("wide.asc")));
  EXPECT_EQ(Items().size(), itemsBefore);
}

}  // namespace

// "Edit": the reference points typed in the editor dialog's table.
#include <QtTest/QTest>

#include "app/core/distfile.h"
#include "app/frmedit.h"
#include "components/tabed/ntabed.h"

namespace {

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

TEST_F(FrmEditTest, TypedPointsAreClampedDrawnAndSaved) {
  Activate();
  const TAlearix before = FForm->Generator();
  RunEdit(
      [&](TFrmEditDistri& dlg, TNTabEd& tab) {
        EXPECT_EQ(dlg.windowTitle(), "Distribution");
        EXPECT_EQ(dlg.frameGeometry().size(), QSize(184, 472));
        EXPECT_EQ(dlg.SpeedButton1()->text(), "Done");
        EXPECT_EQ(dlg.SpeedButton1()->geometry(), QRect(8, 5, 81, 30));
        EXPECT_EQ(tab.NrOfRows(), 500);
        EXPECT_EQ(tab.NrOfColumns(), 1);
        EXPECT_FALSE(tab.RowAttribVisible());
        EXPECT_EQ(tab.ColWidth(0), 80);
        EXPECT_EQ(tab.ColWidth(1), 74);
        EXPECT_EQ(tab.RowHeight(1), 20);
        EXPECT_EQ(tab.GetColIdentifier(1), "Probability");
        EXPECT_EQ(tab.GetRowIdentifier(1), "-300.00");
        EXPECT_EQ(tab.GetRowIdentifier(2), "-298.80");
        EXPECT_EQ(tab.GetRowIdentifier(500), "298.80");
        for (int i = 1; i <= 500; ++i) ASSERT_EQ(tab.GetCellValue(1, i), before.GetRefPoint(i));
        Type(tab, "2", true);    // Enter moves on to row 2
        Type(tab, "-1", false);  // still in the cell when "Done" is clicked
      },
      true);
  const TAlearix& gen = FForm->Generator();
  EXPECT_EQ(gen.GetRefPoint(1), 1.0);
  EXPECT_EQ(gen.GetRefPoint(2), 0.0);
  for (int i = 3; i <= 500; ++i) ASSERT_EQ(gen.GetRefPoint(i), before.GetRefPoint(i)) << i;
  EXPECT_EQ(DownCount(), 0);
  ExpectCurveAt(0);
  EXPECT_EQ(Items()[1].y, 1.0);
  EXPECT_EQ(Items()[2].y, 0.0);

  FDialogs.SaveAnswers.push_back(PathOf("e.rnd"));
  FForm->SButSaveDistri()->click();
  TAlearix saved;
  LoadDistribution(saved, PathOf("e.rnd"));
  EXPECT_EQ(saved.GetRefPoint(1), 1.0);
  EXPECT_EQ(saved.GetRefPoint(2), 0.0);
  EXPECT_EQ(saved.GetRefPoint(250), gen.GetRefPoint(250));
}

TEST_F(FrmEditTest, ShortResolutionShowsTheUpperLimitAndTheCloseBoxKeepsEdits) {
  Activate();
  Put("short.rnd", "anything\r\n2\r\n-5\r\n5\r\n0.2\r\n0.4\r\n");
  FDialogs.OpenAnswers.push_back(PathOf("short.rnd"));
  FForm->LoadClick();
  ASSERT_EQ(FForm->Generator().Resolution(), 10);
  RunEdit(
      [&](TFrmEditDistri&, TNTabEd& tab) {
        EXPECT_EQ(tab.GetRowIdentifier(1), "-5.00");
        EXPECT_EQ(tab.GetRowIdentifier(10), "4.00");
        EXPECT_EQ(tab.GetRowIdentifier(11), "5.00");
        EXPECT_EQ(tab.GetRowIdentifier(500), "5.00");
        EXPECT_EQ(tab.GetCellValue(1, 11), 0.0);
        tab.FocusCell(1, 11);
        Type(tab, "0.5", true);  // past the resolution
        tab.FocusCell(1, 10);
        Type(tab, "0.75", false);  // still in the cell when the window closes
      },
      false);
  const TAlearix& gen = FForm->Generator();
  EXPECT_EQ(gen.Resolution(), 10);
  EXPECT_EQ(gen.GetRefPoint(10), 0.75);
  EXPECT_EQ(gen.GetRefPoint(11), 0.0);
}

}  // namespace

// Drawing the density with the mouse on the chart, and undoing strokes.
#include <QUndoStack>

namespace {

class FrmDrawTest : public FrmEditTest {
 protected:
  void SetUp() override {
    FrmEditTest::SetUp();
    Activate();
    FForm->show();
    FForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FForm.get()));
  }
  TRChart* Chart() const { return FForm->RChart1(); }
  QPoint At(double x, double y) const {
    const TPoint p = Chart()->DataToPixel(x, y);
    return {p.x, p.y};
  }
  // The data point that a pixel of the chart area stands for.
  std::pair<double, double> DataAt(QPoint p) const {
    double x, y;
    Chart()->PixelToData(p.x(), p.y(), x, y);
    return {x, y};
  }
  // Press at the first point, move through the others, release at the last.
  void Stroke(const std::vector<QPoint>& path, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(Chart(), button, {}, path.front());
    for (std::size_t k = 1; k + 1 < path.size(); ++k) QTest::mouseMove(Chart(), path[k]);
    QTest::mouseRelease(Chart(), button, {}, path.back());
  }
  std::vector<double> Table() const {
    std::vector<double> t;
    for (int i = 1; i <= FForm->Generator().Resolution(); ++i)
      t.push_back(FForm->Generator().GetRefPoint(i));
    return t;
  }
  // The class whose edge lies nearest to x, found by trying every one.
  int Nearest(double x) const {
    int best = 1;
    for (int i = 2; i <= FForm->Generator().Resolution(); ++i)
      if (std::fabs(FForm->Generator().ClassEdge(i) - x) <
          std::fabs(FForm->Generator().ClassEdge(best) - x))
        best = i;
    return best;
  }
  // Limits, resolution and a table that holds no value a stroke sets here.
  void Setup(double lo, double hi, int resolution) {
    TAlearix& gen = FForm->Generator();
    gen.SetResolution(resolution);
    gen.LowerLimit = lo;
    gen.UpperLimit = hi;
    for (int i = 1; i <= resolution; ++i) gen.SetRefPoint(i, 0.05 + (i % 7) * 0.01);
    Chart()->SetRanges(lo, 0.0, hi, 1.1);
    FForm->DrawDistri();
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods) {
    QTest::keyClick(FForm->windowHandle(), key, mods);
  }
  void Undo() { Key(Qt::Key_Z, Qt::ControlModifier); }
  void Redo() { Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }
  int Steps() const { return FForm->UndoStack()->count(); }
};

TEST_F(FrmDrawTest, AHorizontalDragSetsExactlyThePointsUnderIt) {
  struct TCase {
    double Lo, Hi;
    int Resolution;
  };
  for (const TCase& c :
       {TCase{-300, 300, 500}, TCase{300, -300, 500}, TCase{-5, 5, 10}, TCase{-300, 300, 4000}}) {
    SCOPED_TRACE(testing::Message() << c.Lo << ".." << c.Hi << " / " << c.Resolution);
    Setup(c.Lo, c.Hi, c.Resolution);
    FForm->SBSetNormalD()->setChecked(true);
    const std::vector<double> before = Table();
    // from -200 to 100 over the start range, and the same share of any other
    const auto x = [&](double share) { return c.Lo + (c.Hi - c.Lo) * share; };
    std::vector<QPoint> path;
    for (double share = 1.0 / 6; share < 2.0 / 3 + 1e-9; share += 0.125)
      path.push_back(At(x(share), 0.5));
    path.push_back(At(x(2.0 / 3), 0.5));
    Stroke(path);

    const auto [x0, y] = DataAt(path.front());
    const double x1 = DataAt(path.back()).first;
    EXPECT_NEAR(y, 0.5, 0.005);
    const int pressed = Nearest(x0);
    int set = 0;
    for (int i = 1; i <= c.Resolution; ++i) {
      const double e = FForm->Generator().ClassEdge(i);
      const bool under = std::min(x0, x1) <= e && e <= std::max(x0, x1);
      set += under ? 1 : 0;
      ASSERT_EQ(FForm->Generator().GetRefPoint(i), under || i == pressed ? y : before[i - 1])
          << "class " << i << " at " << e;
    }
    EXPECT_NEAR(set, c.Resolution / 2.0, c.Resolution / 200.0 + 2);
    EXPECT_EQ(DownCount(), 0);
    EXPECT_EQ(Chart()->MouseAction(), maNone);
    EXPECT_TRUE(Chart()->MouseCursorFixed());
    ExpectCurveAt(0);
  }
}

TEST_F(FrmDrawTest, AFastStrokeFillsTheGapAndAStrokeLeavingTheAreaStopsAtItsEdge) {
  Setup(-300, 300, 500);
  const std::vector<double> before = Table();
  Stroke({At(-250, 0.2), At(250, 0.8)});  // a press and a release
  const auto [x0, y0] = DataAt(At(-250, 0.2));
  const auto [x1, y1] = DataAt(At(250, 0.8));
  for (int i = 1; i <= 500; ++i) {
    const double e = FForm->Generator().ClassEdge(i);
    const double expected = x0 <= e && e <= x1 ? y0 + (e - x0) * (y1 - y0) / (x1 - x0)
                            : i == Nearest(x0) ? y0
                                               : before[i - 1];
    ASSERT_NEAR(FForm->Generator().GetRefPoint(i), expected, 1e-12) << i;
  }

  // out to the right of and below the area: the end is clamped to its corner
  Stroke({At(100, 0.4), QPoint(Chart()->width() + 40, Chart()->height() + 30)});
  const double from = DataAt(At(100, 0.4)).first;
  const auto [right, bottom] = DataAt(At(300, 0));
  EXPECT_EQ(bottom, 0.0);
  for (int i = 1; i <= 500; ++i) {
    const double e = FForm->Generator().ClassEdge(i);
    if (e >= from) {
      ASSERT_NEAR(FForm->Generator().GetRefPoint(i), 0.4 * (right - e) / (right - from), 1e-12)
          << i;
    }
  }
  EXPECT_EQ(Steps(), 2);
}

TEST_F(FrmDrawTest, NoStrokeStartsOutsideTheAreaWithAnotherButtonOrOverEqualLimits) {
  struct TCase {
    const char* Name;
    QPoint Press;
    Qt::MouseButton Button;
    bool EqualLimits;
  };
  const TCase cases[] = {
      {"left rim", QPoint(20, 150), Qt::LeftButton, false},
      {"below the area", At(0, -0.05), Qt::LeftButton, false},
      {"right button", At(0, 0.5), Qt::RightButton, false},
      {"equal limits", At(0, 0.5), Qt::LeftButton, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.EqualLimits) FForm->Generator().LowerLimit = FForm->Generator().UpperLimit;
    const std::vector<double> before = Table();
    Stroke({c.Press, At(-100, 0.9), At(100, 0.1)}, c.Button);
    EXPECT_EQ(Table(), before);
    EXPECT_EQ(Steps(), 0);
    EXPECT_EQ(DownCount(), 1);
  }
}

TEST_F(FrmDrawTest, UndoAndRedoRestoreWholeTables) {
  std::vector<std::vector<double>> tables{Table()};
  for (double y : {0.2, 0.4, 0.6}) {
    Stroke({At(-200, y), At(-50, y + 0.3), At(150, y)});
    tables.push_back(Table());
  }
  for (int k = 2; k >= 0; --k) {
    Undo();
    ASSERT_EQ(Table(), tables[k]);
  }
  Undo();  // nothing left to undo
  EXPECT_EQ(Table(), tables[0]);
  ExpectCurveAt(0);
  Redo();
  Redo();
  EXPECT_EQ(Table(), tables[2]);
  ExpectCurveAt(0);

  // a new stroke drops what could be redone; many strokes are kept
  Stroke({At(0, 1), At(50, 1)});
  const std::vector<double> start = Table();
  Redo();
  EXPECT_EQ(Table(), start);
  for (int k = 0; k < 25; ++k) Stroke({At(-290 + 20 * k, 0.03 * k), At(-280 + 20 * k, 0.5)});
  for (int k = 0; k < 25; ++k) Undo();
  EXPECT_EQ(Table(), start);
}

TEST_F(FrmDrawTest, LoadPresetsShapeBarsAndEditClearTheStrokes) {
  Put("d.rnd", "c\r\n10\r\n-300\r\n300\r\n0.1\r\n0.2\r\n1\r\n");
  const std::vector<std::pair<const char*, std::function<void()>>> actions = {
      {"Load", [&] { FDialogs.OpenAnswers.push_back(PathOf("d.rnd")), FForm->LoadClick(); }},
      {"preset", [&] { FForm->SButBiModal()->click(); }},
      {"shape bar", [&] { FForm->SBarMean1()->setValue(120); }},
      {"Edit", [&] { RunEdit([](TFrmEditDistri&, TNTabEd&) {}, true); }},
  };
  for (const auto& [name, action] : actions) {
    SCOPED_TRACE(name);
    Stroke({At(-200, 0.3), At(200, 0.3)});
    ASSERT_EQ(Steps(), 1);
    action();
    EXPECT_EQ(Steps(), 0);
    const std::vector<double> after = Table();
    Undo();
    EXPECT_EQ(Table(), after);
  }
}

TEST_F(FrmDrawTest, TheChartAreaShowsACrossHairAndTheHint) {
  EXPECT_EQ(Chart()->toolTip(), "Drag to draw the density, Ctrl+Z to undo");
  QTest::mouseMove(Chart(), At(0, 0.5));
  EXPECT_EQ(Chart()->cursor().shape(), Qt::CrossCursor);
  QTest::mouseMove(Chart(), QPoint(10, 10));  // the rim
  EXPECT_NE(Chart()->cursor().shape(), Qt::CrossCursor);
  QTest::mousePress(Chart(), Qt::LeftButton, {}, At(0, 0.5));
  QTest::mouseMove(Chart(), At(10, 0.6));
  EXPECT_EQ(Chart()->cursor().shape(), Qt::CrossCursor);
  QTest::mouseRelease(Chart(), Qt::LeftButton, {}, At(10, 0.6));
}

TEST_F(FrmDrawTest, AReleaseThatWentElsewhereEndsTheStroke) {
  QTest::mousePress(Chart(), Qt::LeftButton, {}, At(-100, 0.5));
  QTest::mouseRelease(FForm.get(), Qt::LeftButton, {}, QPoint(5, 5));  // lost to the chart
  const std::vector<double> ended = Table();
  QTest::mouseMove(Chart(), At(100, 0.9));
  EXPECT_EQ(Table(), ended);
  EXPECT_EQ(Steps(), 1);
}

}  // namespace
