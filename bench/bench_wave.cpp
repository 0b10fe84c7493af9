// The waveform chart: filling its eight graphs with a window of a quarter,
// half and all of the largest window (16,000 / 32,000 / 64,000 cycles, up to
// 512,000 points), alone and with the one drawing at the chart's size
// (1017 x 463, offscreen raster), and one poll at 1 MHz (200,000 new cycles
// into a window of 16,000) with its drawing. Baseline: the same chart and
// axes filled with the same points through QCustomPlot's own point-by-point
// QCPGraph::addData(key, value), drawn the same way.

#include <benchmark/benchmark.h>

#include "offscreen_app.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <memory>
#include <qcustomplot.h>

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

  // The plain way: every point added on its own, graph by graph; a point's
  // key is its position in the window, as the chart plots it.
  void FillPointByPoint(uint32_t first, uint32_t count) {
    for (int ch = 0; ch < Channels; ++ch) {
      QCPGraph* graph = chart1->graph(ch);
      graph->data()->clear();
      for (uint32_t i = 0; i < count; ++i) graph->addData(double(i), store.voltsRow(first + i)[ch]);
    }
  }

  void Draw() { chart1->replot(QCustomPlot::rpImmediateRefresh); }

  bool Holds(uint32_t points) const { return chart1->graph(Channels - 1)->dataCount() == int(points); }

  struct AppFirst {
    AppFirst() { OffscreenApp(); }
  } appFirst;
  SampleStore store;
  QWidget window;
  QCustomPlot* chart1;
  WaveWidgets widgets;
  std::unique_ptr<WaveChartAdapter> adapter;
};

// range(0): window in cycles (ten divisions); range(1): 1 with the drawing.
void BM_ChartFill(benchmark::State& state) {
  const auto window = static_cast<uint32_t>(state.range(0));
  WaveRig rig(window);
  rig.store.cycleCount = window;
  rig.ZoomTo(window / 10);
  if (rig.chart1->viewport().size() != QSize(1017, 463)) state.SkipWithError("chart not at 1017 x 463");
  for (auto _ : state) {
    rig.widgets.button13->click();  // Home: re-plots cycles 0 .. window-1
    if (state.range(1)) rig.Draw();
  }
  if (!rig.Holds(window)) state.SkipWithError("window not full");
}

void BM_ChartFillPointByPoint(benchmark::State& state) {
  const auto window = static_cast<uint32_t>(state.range(0));
  WaveRig rig(window);
  rig.store.cycleCount = window;
  rig.ZoomTo(window / 10);
  rig.widgets.button13->click();
  for (auto _ : state) {
    rig.FillPointByPoint(0, window);
    if (state.range(1)) rig.Draw();
  }
  if (!rig.Holds(window)) state.SkipWithError("window not full");
}

void WindowSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"window", "draw"});
  for (int draw : {0, 1})
    for (int window : {16'000, 32'000, 64'000}) b->Args({window, draw});
  b->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_ChartFill)->Apply(WindowSizes);
BENCHMARK(BM_ChartFillPointByPoint)->Apply(WindowSizes);

// One poll at 1 MHz: the newest page holds 15,999 cycles after each read, the
// fullest re-plot of a running chart, then one drawing.
constexpr uint32_t PollRead = 200'000, PollCount = 13 * 16'000 + 15'999;

void BM_PollAt1MHzWindow16000(benchmark::State& state) {
  WaveRig rig(PollCount);
  rig.ZoomTo(1600);
  for (auto _ : state) {
    rig.store.cycleCount = PollCount;
    rig.adapter->AppendWaveRows(PollRead);
    rig.Draw();
  }
  if (!rig.Holds(15'999)) state.SkipWithError("window not as expected");
}
BENCHMARK(BM_PollAt1MHzWindow16000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PollAt1MHzWindow16000PointByPoint(benchmark::State& state) {
  WaveRig rig(PollCount);
  rig.ZoomTo(1600);
  rig.store.cycleCount = PollCount;
  rig.adapter->AppendWaveRows(PollRead);
  for (auto _ : state) {
    rig.FillPointByPoint(13 * 16'000, 15'999);
    rig.Draw();
  }
  if (!rig.Holds(15'999)) state.SkipWithError("window not as expected");
}
BENCHMARK(BM_PollAt1MHzWindow16000PointByPoint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace trelvan
