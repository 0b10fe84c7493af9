// The running window on the simulated module at a 1 us period (1,000,000
// cycles a second), offscreen, one tick every 200 ms of the module's clock:
// the module producing 200,000 cycles, the read, the store, the table, the
// statistics, the status bar, the chart, the log line, and then the event
// loop's queued chart redraw and painting. 64 ticks fill the store of
// 6,000,000 cycles twice, so the two ticks that auto-save (96 MB written and
// flushed to the benchmark folder) are among them. Baseline: the 200 ms poll
// interval, which every tick must leave mostly free.
//
// Reported: the mean tick as the time, and counters tick_median_ms,
// tick_max_ms (the slowest tick), autosave_tick_ms (the slowest tick that
// auto-saved) and autosaves. page/0 shows the Data page, page/1 the chart.
// Files go to $TRELVAN_BENCH_DIR (default /tmp/trelvan-bench) and are removed.
#include <benchmark/benchmark.h>

#include "offscreen_app.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/main_form.h"
#include "device/linked/linked_device_library.h"
#include "kavrel_sim.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace trelvan;
using Clock = std::chrono::steady_clock;

std::filesystem::path BenchFolder() {
  const char* dir = std::getenv("TRELVAN_BENCH_DIR");
  std::filesystem::path folder = std::filesystem::path(dir && *dir ? dir : "/tmp/trelvan-bench") / "window";
  std::filesystem::create_directories(folder);
  return folder;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

constexpr uint32_t CyclesPerTick = 200'000;
constexpr int Ticks = 2 * StoreCapacity / CyclesPerTick + 4;

void BM_PollTicksAt1MHz(benchmark::State& s) {
  OffscreenApp();
  const std::filesystem::path folder = BenchFolder();
  KavrelSim_Reset();
  KavrelSim_SetManualClock(1);
  {
    LinkedDeviceLibrary device;
    testing::ScriptedDialogs dialogs;
    TMainForm form(device, dialogs);
    form.FormCreate();
    form.Edit45->setText(QString::fromStdString(folder.string() + "/"));
    form.PageControl1->setCurrentIndex(static_cast<int>(s.range(0)));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) s.SkipWithError("the window was not shown");
    form.Button7Click();
    form.Edit1->setText("1");
    form.ComboBox6->setCurrentIndex(0);  // microseconds
    form.Button2Click();
    form.Button1Click();
    QCoreApplication::processEvents();

    std::vector<double> ticks, autosaveTicks;
    for (auto _ : s) {
      KavrelSim_AdvanceClock(CyclesPerTick);
      const uint64_t emptyings = form.acq.storeEmptyings;
      const uint32_t countBefore = form.acq.store.cycleCount;
      const auto start = Clock::now();
      form.Timer1Timer();
      QCoreApplication::processEvents();  // the queued chart redraw and the painting
      const double ms = Ms(Clock::now() - start);
      s.SetIterationTime(ms / 1000.0);
      ticks.push_back(ms);
      if (form.acq.storeEmptyings != emptyings || form.acq.store.cycleCount < countBefore)
        autosaveTicks.push_back(ms);
    }
    form.Button1Click();
    if (form.acq.paused() || KavrelSim_DroppedCycles() != 0) s.SkipWithError("the run paused or dropped cycles");
    if (autosaveTicks.size() < 2) s.SkipWithError("fewer than two auto-saves");
    form.close();

    std::sort(ticks.begin(), ticks.end());
    s.counters["tick_median_ms"] = ticks[ticks.size() / 2];
    s.counters["tick_max_ms"] = ticks.back();
    s.counters["autosave_tick_ms"] = autosaveTicks.empty() ? 0.0 : *std::max_element(autosaveTicks.begin(), autosaveTicks.end());
    s.counters["autosaves"] = static_cast<double>(autosaveTicks.size());
  }
  KavrelSim_Reset();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PollTicksAt1MHz)->ArgName("page")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(Ticks);

// Start-up inside a running application: construct, FormCreate, show until
// exposed. The whole program's start-up from exec is bench_startup.
void BM_WindowConstructToShown(benchmark::State& s) {
  OffscreenApp();
  for (auto _ : s) {
    LinkedDeviceLibrary device;
    testing::ScriptedDialogs dialogs;
    TMainForm form(device, dialogs);
    form.FormCreate();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) s.SkipWithError("the window was not shown");
    QCoreApplication::processEvents();
    s.PauseTiming();
    form.close();
    s.ResumeTiming();
  }
}
BENCHMARK(BM_WindowConstructToShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
