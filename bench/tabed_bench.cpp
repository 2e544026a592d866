// The table editor as the "Edit" dialog uses it, on Qt's offscreen platform:
//  - "Edit" on 500 rows, from the click to the dialog painted;
//  - a full paint of the visible cells of a 500-row table;
//  - Down from the first row to the last: the cells drawn per key show that
//    scrolling redraws only what moved (the counter cells_per_key).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QtTest/QTest>
#include <chrono>

#include "app/frmdistr.h"
#include "app/frmedit.h"
#include "components/tabed/ntabed.h"

namespace {

void BM_EditClickToPainted(benchmark::State& state) {
  TFrmMain form;
  form.SetDisclaimer([] { return 1; });
  form.FormActivate();
  std::chrono::steady_clock::time_point start;
  form.SetModalRunner([&](QDialog& d) {
    d.show();
    benchmark::DoNotOptimize(d.grab());  // paints the panel, the grid and its editor now
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    d.hide();
    return 1;
  });
  for (auto _ : state) {
    start = std::chrono::steady_clock::now();
    form.EditClick();
  }
}
BENCHMARK(BM_EditClickToPainted)->UseManualTime()->Unit(benchmark::kMillisecond);

// An editor set up as the dialog's, 500 rows, shown at the dialog's size.
std::unique_ptr<TFrmEditDistri> ShownDialog() {
  auto dlg = std::make_unique<TFrmEditDistri>();
  TNTabEd* tab = dlg->NTabEd1();
  tab->SetNrOfRows(500);
  for (int i = 1; i <= 500; ++i) tab->SetCellValue(1, i, i / 500.0);
  dlg->show();
  QApplication::processEvents();
  return dlg;
}

void BM_PaintVisibleCells(benchmark::State& state) {
  auto dlg = ShownDialog();
  TNTabEd* tab = dlg->NTabEd1();
  const long long before = tab->CellsDrawn();
  for (auto _ : state) tab->Paint();
  state.counters["cells_per_paint"] =
      static_cast<double>(tab->CellsDrawn() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PaintVisibleCells)->Unit(benchmark::kMicrosecond);

void BM_ScrollTopToBottomByKeys(benchmark::State& state) {
  auto dlg = ShownDialog();
  TNTabEd* tab = dlg->NTabEd1();
  long long cells = 0;
  long long keys = 0;
  for (auto _ : state) {
    state.PauseTiming();
    tab->FocusCell(1, 1);
    tab->Paint();
    const long long before = tab->CellsDrawn();
    state.ResumeTiming();
    for (int row = 1; row < 500; ++row) QTest::keyClick(tab->InplaceEditor(), Qt::Key_Down);
    cells += tab->CellsDrawn() - before;
    keys += 499;
  }
  state.counters["cells_per_key"] = static_cast<double>(cells) / static_cast<double>(keys);
}
BENCHMARK(BM_ScrollTopToBottomByKeys)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
