// The running window over a long run at a slow period: the simulated module
// at 100 ms (two cycles and one log line a tick), its clock driven by hand,
// 200,000 poll ticks of the real window, offscreen, shown and painted (the
// tick, then the event loop's queued redraws and painting). About 11 hours
// of the module's time: the store never fills, so the only thing that grows
// is the message log, which keeps its newest 100,000 lines.
//
// Reported: the cost of one tick (the thread's CPU time: the machine may be
// busy, and a tick involves no I/O), median and mean over the first and the
// last 10,000 ticks (and the 10,000 after the first 100,000, once the log
// holds its bound), and the slowest tick; the resident memory the run added
// (after returning freed heap to the system), sampled every 10,000 ticks,
// over the first 100,000 ticks and the second. Flat means the last ticks
// cost what the first did and the memory stops growing once the log holds
// its bound; the baseline of the slowest tick is the 200 ms poll interval.
#include <benchmark/benchmark.h>

#include "offscreen_app.h"
#include "thread_cpu_and_memory.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "device/linked/linked_device_library.h"
#include "kavrel_sim.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace trelvan;

double Median(std::vector<double> v) {
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

double Mean(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size()); }

constexpr int Ticks = 200'000;
constexpr int Window = 10'000;
constexpr int SampleEvery = 10'000;
constexpr uint64_t TickUs = 200'000;  // the poll interval in the module's time

void BM_Window200kTicksAt100ms(benchmark::State& s) {
  OffscreenApp();
  QTemporaryDir folder;
  KavrelSim_Reset();
  KavrelSim_SetManualClock(1);
  for (auto _ : s) {
    LinkedDeviceLibrary device;
    testing::ScriptedDialogs dialogs;
    TMainForm form(device, dialogs);
    form.FormCreate();
    form.Edit45->setText(folder.path() + "/");
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) s.SkipWithError("the window was not shown");
    form.Button7Click();
    form.Edit1->setText("100");
    form.ComboBox6->setCurrentIndex(1);  // milliseconds
    form.Button2Click();
    form.Button1Click();
    form.Timer1->stop();  // ticked by hand only
    QCoreApplication::processEvents();

    std::vector<double> first, afterBound, last;  // afterBound: ticks 100,001 to 110,000
    double worstUs = 0;
    const double start = ResidentMb();
    double atHalf = 0;
    double peak = start;
    for (int i = 1; i <= Ticks; ++i) {
      KavrelSim_AdvanceClock(TickUs);
      const double tickStart = ThreadCpuUs();
      form.Timer1Timer();
      QCoreApplication::processEvents();  // the queued redraws and the painting
      const double us = ThreadCpuUs() - tickStart;
      worstUs = std::max(worstUs, us);
      if (i <= Window) first.push_back(us);
      if (i > Ticks / 2 && i <= Ticks / 2 + Window) afterBound.push_back(us);
      if (i > Ticks - Window) last.push_back(us);
      if (i % SampleEvery == 0) {
        const double rss = ResidentMb();
        peak = std::max(peak, rss);
        if (i == Ticks / 2) atHalf = rss;
      }
    }
    const double atEnd = ResidentMb();
    const uint64_t cycles = form.acq.adcConfig.trigCnt;
    form.Button1Click();
    if (KavrelSim_DroppedCycles() != 0 || cycles + 2 < 2u * Ticks) s.SkipWithError("the run did not read every cycle");
    form.close();

    s.counters["tick_median_us_first_10k"] = Median(first);
    s.counters["tick_median_us_last_10k"] = Median(last);
    s.counters["tick_mean_us_first_10k"] = Mean(first);
    s.counters["tick_mean_us_last_10k"] = Mean(last);
    s.counters["tick_median_us_after_100k"] = Median(afterBound);
    s.counters["tick_mean_us_after_100k"] = Mean(afterBound);
    s.counters["last_over_first_median"] = Median(last) / Median(first);
    s.counters["last_over_first_mean"] = Mean(last) / Mean(first);
    s.counters["tick_max_ms"] = worstUs / 1000;
    s.counters["rss_added_first_100k_MB"] = atHalf - start;
    s.counters["rss_added_second_100k_MB"] = atEnd - atHalf;
    s.counters["rss_second_over_first"] = (atEnd - atHalf) / std::max(atHalf - start, 1e-9);
    s.counters["rss_peak_added_MB"] = peak - start;
    s.counters["cycles"] = static_cast<double>(cycles);
  }
  KavrelSim_Reset();
}
BENCHMARK(BM_Window200kTicksAt100ms)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
