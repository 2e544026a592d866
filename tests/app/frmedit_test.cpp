// "Edit": the reference points typed in the editor dialog's table, written back to the
// main window's density.
#include <gtest/gtest.h>

#include "app/core/distfile.h"
#include "tests/app/frmmaintest.h"

namespace {

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
