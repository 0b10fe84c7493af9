// The waveform chart's hot paths against the poll interval of 200 ms:
// - re-plotting a full window of 64,000 cycles (512,000 points) and drawing
//   it once offscreen at the chart's size, budget a quarter of the interval;
// - one poll at 1 MHz, 200,000 new cycles into a window of 16,000, with the
//   one drawing that follows, budget a tenth of the interval;
// - baseline: the same points copied into plain vectors.
// The counter of_budget is the time per iteration divided by the budget;
// draw/0 leaves out the drawing, to show the share of filling the graphs.

#include <benchmark/benchmark.h>

#include "offscreen_app.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <memory>
#include <qcustomplot.h>
#include <utility>
#include <vector>

#include "views/qt/wave_chart_adapter.h"

namespace trelvan {
namespace {

struct WaveRig {
  explicit WaveRig(uint32_t capacity) : store(capacity) {
    for (uint32_t r = 0; r < capacity; ++r)
      for (int ch = 0; ch < Channels; ++ch)
        store.voltsRow(r)[ch] = float(8.0 * std::sin(r * 0.001 * (ch + 1)));
    chart1 = new QCustomPlot(&window);
    chart1->setGeometry(0, 0, 1017, 463);
    for (int i = 0; i < Channels; ++i) chart1->addGraph();
    widgets.chart1 = chart1;
    widgets.edit13 = new QLineEdit(&window);
    widgets.button12 = new QPushButton(&window);
    widgets.button11 = new QPushButton(&window);
    widgets.button13 = new QPushButton(&window);
    adapter = std::make_unique<WaveChartAdapter>(store, widgets, nullptr);
    window.resize(1030, 480);
    window.show();
    QCoreApplication::processEvents();
  }

  void ZoomTo(uint32_t division) {
    while (adapter->waveDivision() < division) widgets.button12->click();
    while (adapter->waveDivision() > division) widgets.button11->click();
  }

  void Draw() { chart1->replot(QCustomPlot::rpImmediateRefresh); }

  struct AppFirst {
    AppFirst() { OffscreenApp(); }
  } appFirst;
  SampleStore store;
  QWidget window;
  QCustomPlot* chart1;
  WaveWidgets widgets;
  std::unique_ptr<WaveChartAdapter> adapter;
};

void SetBudget(benchmark::State& state, double seconds) {
  state.counters["of_budget"] = benchmark::Counter(
      seconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ReplotFullWindow64000(benchmark::State& state) {
  WaveRig rig(64'000);
  rig.store.cycleCount = 64'000;
  rig.ZoomTo(6400);
  if (rig.chart1->viewport().size() != QSize(1017, 463)) state.SkipWithError("chart not at 1017 x 463");
  for (auto _ : state) {
    rig.widgets.button13->click();  // Home: re-plots cycles 0 .. 63,999
    if (state.range(0)) rig.Draw();
  }
  if (rig.chart1->graph(7)->dataCount() != 64'000) state.SkipWithError("window not full");
  SetBudget(state, 0.200 / 4);
}
BENCHMARK(BM_ReplotFullWindow64000)->ArgName("draw")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PollAt1MHzWindow16000(benchmark::State& state) {
  // The newest page holds 15,999 cycles after each read: the fullest re-plot.
  constexpr uint32_t Read = 200'000, Count = 13 * 16'000 + 15'999;
  WaveRig rig(Count);
  rig.ZoomTo(1600);
  for (auto _ : state) {
    rig.store.cycleCount = Count;
    rig.adapter->AppendWaveRows(Read);
    if (state.range(0)) rig.Draw();
  }
  if (rig.chart1->graph(7)->dataCount() != 15'999) state.SkipWithError("window not as expected");
  SetBudget(state, 0.200 / 10);
}
BENCHMARK(BM_PollAt1MHzWindow16000)->ArgName("draw")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: the same points as (x, y) pairs into eight plain vectors.
void BM_BaselinePlainVectors(benchmark::State& state) {
  const auto cycles = static_cast<uint32_t>(state.range(0));
  SampleStore store(cycles);
  for (uint32_t r = 0; r < cycles; ++r)
    for (int ch = 0; ch < Channels; ++ch) store.voltsRow(r)[ch] = float(r % 977) * 0.01f;
  for (auto _ : state) {
    std::vector<std::vector<std::pair<double, double>>> series(Channels);
    for (int ch = 0; ch < Channels; ++ch) {
      series[ch].resize(cycles);
      for (uint32_t i = 0; i < cycles; ++i) series[ch][i] = {double(i), store.voltsRow(i)[ch]};
    }
    benchmark::DoNotOptimize(series.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BaselinePlainVectors)->Arg(64'000)->Arg(15'999)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace trelvan
