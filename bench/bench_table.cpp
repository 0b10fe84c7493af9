// The data table: one poll's whole update in the real window, painted
// (offscreen), against the 200 ms poll interval; and the row texts of one
// page against snprintf of the same texts (the C routine they replace).
#include <benchmark/benchmark.h>

#include "offscreen_app.h"

#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/main_form.h"
#include "device/linked/linked_device_library.h"
#include "support/scripted_dialogs.h"
#include "views/qt/table_view_adapter.h"
#include "views/table_row_text.h"

namespace {

using namespace trelvan;

constexpr uint32_t BenchRows = 200'000;

// A store of varied rows: every code of the +/-10 V range turns up.
const SampleStore& FilledStore() {
  static const std::unique_ptr<SampleStore> store = [] {
    auto s = std::make_unique<SampleStore>(BenchRows);
    for (uint32_t r = 0; r < BenchRows; ++r) {
      for (int ch = 0; ch < Channels; ++ch) {
        const auto code = static_cast<int16_t>((r * 8 + ch) * 40503u);
        s->rawRow(r)[ch] = code;
        s->voltsRow(r)[ch] = static_cast<float>(code) * 10.0f / 32768.0f;
      }
    }
    s->cycleCount = BenchRows;
    return s;
  }();
  return *store;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// One poll's table update in the real window (offscreen): 40 new rows on a
// full page, so 27 rows are re-rendered, the scroll bar moves, the last line
// is highlighted and the 8 Current and 24 statistics texts are written; then
// the event loop paints what changed, as it does after a tick. Baseline: the
// 200 ms poll interval (the figure is a share of it). paint/0 leaves the
// painting out.
void BM_PollTableUpdate(benchmark::State& state) {
  OffscreenApp();
  LinkedDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  TMainForm form(device, dialogs, BenchRows);
  form.FormCreate();
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("the window was not shown");
  SampleStore& store = form.acq.store;
  const SampleStore& source = FilledStore();
  std::memcpy(store.volts.get(), source.volts.get(), sizeof(float) * Channels * BenchRows);
  std::memcpy(store.raw.get(), source.raw.get(), sizeof(int16_t) * Channels * BenchRows);
  for (auto& s : form.acq.channelStats) s = {9.5f, -9.75f};
  QCoreApplication::processEvents();
  PaintCounter tablePaints(form.RichEdit2->viewport());
  const bool paint = state.range(0) != 0;

  constexpr uint32_t perPoll = 40;
  store.cycleCount = 0;
  for (auto _ : state) {
    if (store.cycleCount + perPoll > BenchRows) {
      state.PauseTiming();
      store.cycleCount = 0;
      form.table().ResetTableView();
      QCoreApplication::processEvents();
      state.ResumeTiming();
    }
    store.cycleCount += perPoll;
    form.table().ShowNewestRows(perPoll);
    form.table().ShowChannelStats();
    if (paint) QCoreApplication::processEvents();
  }
  if (paint && tablePaints.paints < state.iterations()) state.SkipWithError("the table was not painted each time");
  form.close();
}
BENCHMARK(BM_PollTableUpdate)->ArgName("paint")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();

int PrintfRow(const SampleStore& store, uint32_t row, bool hex, char* line) {
  int n = std::snprintf(line, 32, "L%08d     ", static_cast<int>(row + 1));
  for (int ch = 0; ch < Channels; ++ch) {
    n += hex ? std::snprintf(line + n, 32, "  0x%04X    ",
                             static_cast<unsigned>(static_cast<uint16_t>(store.rawRow(row)[ch])))
             : std::snprintf(line + n, 400, "% 2.6f   ", static_cast<double>(store.voltsRow(row)[ch]));
  }
  return n;
}

// 27 rows, the page of one re-render.
void BM_PageTexts_Fast(benchmark::State& state) {
  const SampleStore& store = FilledStore();
  const bool hex = state.range(0) != 0;
  char line[TableRowMaxChars];
  uint32_t first = 0;
  for (auto _ : state) {
    for (uint32_t i = 0; i < TablePageRows; ++i) {
      char* end = AppendTableRow(line, store, first + i, hex);
      benchmark::DoNotOptimize(end);
      benchmark::ClobberMemory();
    }
    first = (first + TablePageRows) % (BenchRows - TablePageRows);
  }
}
BENCHMARK(BM_PageTexts_Fast)->Arg(0)->Arg(1)->ArgName("hex");

void BM_PageTexts_Snprintf(benchmark::State& state) {
  const SampleStore& store = FilledStore();
  const bool hex = state.range(0) != 0;
  char line[TableRowMaxChars + 400];
  uint32_t first = 0;
  for (auto _ : state) {
    for (uint32_t i = 0; i < TablePageRows; ++i) {
      benchmark::DoNotOptimize(PrintfRow(store, first + i, hex, line));
      benchmark::ClobberMemory();
    }
    first = (first + TablePageRows) % (BenchRows - TablePageRows);
  }
}
BENCHMARK(BM_PageTexts_Snprintf)->Arg(0)->Arg(1)->ArgName("hex");

}  // namespace
