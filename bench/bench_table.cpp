// The data table: one poll's whole update on real widgets (offscreen) against
// the 200 ms poll interval, and the row texts against snprintf of the same
// texts.
#include <benchmark/benchmark.h>

#include "offscreen_app.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

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

// One poll: 40 new rows on a full page, so 27 rows are re-rendered, the
// scroll bar moves, the last line is highlighted and the 8 Current and 24
// statistics texts are written.
void BM_PollTableUpdate(benchmark::State& state) {
  OffscreenApp();
  SampleStore store(BenchRows);
  const SampleStore& source = FilledStore();
  std::memcpy(store.volts.get(), source.volts.get(), sizeof(float) * Channels * BenchRows);
  std::memcpy(store.raw.get(), source.raw.get(), sizeof(int16_t) * Channels * BenchRows);
  std::array<ChannelStats, Channels> stats{};
  for (auto& s : stats) s = {9.5f, -9.75f};

  QWidget window;
  auto* pages = new QTabWidget(&window);
  auto* dataPage = new QWidget;
  auto* wavePage = new QWidget;
  pages->addTab(dataPage, "Data");
  pages->addTab(wavePage, "WaveForm");
  pages->setGeometry(0, 0, 760, 560);
  TableWidgets widgets;
  widgets.pageControl1 = pages;
  widgets.waveformPage = wavePage;
  widgets.richEdit2 = new QPlainTextEdit(dataPage);
  widgets.richEdit2->setGeometry(1, 26, 672, 432);
  widgets.scrollBar1 = new QScrollBar(dataPage);
  widgets.button8 = new QPushButton("Switch to Hex", &window);
  for (auto* column : {&widgets.current, &widgets.maxVol, &widgets.minVol, &widgets.pkpk}) {
    for (QLineEdit*& box : *column) box = new QLineEdit(&window);
  }
  TableViewAdapter adapter(store, stats, widgets);
  window.show();

  constexpr uint32_t perPoll = 40;
  store.cycleCount = 0;
  std::chrono::steady_clock::duration paused{};
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (store.cycleCount + perPoll > BenchRows) {
      state.PauseTiming();
      const auto pauseStart = std::chrono::steady_clock::now();
      store.cycleCount = 0;
      adapter.ResetTableView();
      paused += std::chrono::steady_clock::now() - pauseStart;
      state.ResumeTiming();
    }
    store.cycleCount += perPoll;
    adapter.ShowNewestRows(perPoll);
    adapter.ShowChannelStats();
  }
  // Share of the 200 ms poll interval one update takes, in percent (wall
  // clock, so a busy machine only makes it look worse).
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start - paused;
  state.counters["percent_of_200ms"] =
      spent.count() / static_cast<double>(state.iterations()) / 0.200 * 100.0;
}
BENCHMARK(BM_PollTableUpdate)->Unit(benchmark::kMicrosecond)->UseRealTime();

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
