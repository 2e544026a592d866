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

#include "components/numlab/numlab.h"
#include "tests/app/frmmaintest.h"

namespace {

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
    ExpectMixture(c.Bars[2], c.Bars[1], c.Bars[4], c.Bars[3], c.Bars[0] * 0.01);
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
  ExpectMixture(250, 100, 250, 100, 0.0);

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
  ExpectMixture(100, 100, 250, 100, 0.5);
  ExpectCurveAt(0);

  FForm->SBarStdDev2()->setValue(20);
  EXPECT_EQ(FForm->StdDev2, 20);
  ExpectMixture(100, 100, 250, 20, 0.5);

  // ratio 100: Shape A is ignored; ratio 0: Shape B is ignored
  FForm->SBarHRatio()->setValue(100);
  EXPECT_EQ(FForm->Ratio, 1.0);
  ExpectMixture(400, 10, 250, 20, 1.0);
  FForm->SBarHRatio()->setValue(0);
  ExpectMixture(100, 100, 1, 10, 0.0);

  FForm->SBarStdDev1()->setValue(30);
  FForm->SBarMean2()->setValue(400);
  EXPECT_EQ(FForm->StdDev1, 30);
  EXPECT_EQ(FForm->Mean2, 400);
  ExpectMixture(100, 30, 400, 20, 0.0);

  // dragging the thumb updates the curve at every step
  QScrollBar* bar = FForm->SBarMean1();
  bar->setSliderDown(true);
  bar->setSliderPosition(120);
  EXPECT_EQ(FForm->Mean1, 120);
  ExpectMixture(120, 30, 400, 20, 0.0);
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
    ShowActive();
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
  ExpectMixture(FForm->Mean1, FForm->StdDev1, FForm->Mean2, FForm->StdDev2, FForm->Ratio);
}

TEST_F(FrmMainTest, HelpOpensItsOwnWindowTitledAlearixHelp) {
  TFrmMain form(&FDialogs, nullptr);
  form.SButHelp()->click();
  int shown = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == "Alearix Help") ++shown;
  EXPECT_EQ(shown, 1);
}

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
