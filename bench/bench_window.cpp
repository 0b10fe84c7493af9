// The running window on the simulated module at a 1 us period (1,000,000
// cycles a second): one poll tick (the module's own time producing 200 ms of
// cycles, the read, the store, the table, the statistics, the status bar, the
// chart and the log line) against the 200 ms interval; and the time from
// creating the window to its first showing.
#include <benchmark/benchmark.h>

#include "offscreen_app.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <thread>

#include "app/main_form.h"
#include "device/linked/linked_device_library.h"
#include "kavrel_sim.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace trelvan;

void BM_PollTickAt1MHz(benchmark::State& s) {
  OffscreenApp();
  KavrelSim_Reset();
  KavrelSim_SetManualClock(1);
  LinkedDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  TMainForm form(device, dialogs);
  form.FormCreate();
  form.Edit45->setText("/tmp/");
  form.show();
  form.Button7Click();
  form.Edit1->setText("1");
  form.ComboBox6->setCurrentIndex(0);  // microseconds
  form.Button2Click();
  form.Button1Click();
  for (auto _ : s) {
    KavrelSim_AdvanceClock(200'000);
    form.Timer1Timer();
    QCoreApplication::processEvents();  // the queued chart redraw
  }
  s.counters["cycles"] = form.acq.adcConfig.trigCnt;
  form.Button1Click();
  form.close();
  KavrelSim_Reset();
}
// 25 ticks: 5,000,000 cycles, below one auto-save.
BENCHMARK(BM_PollTickAt1MHz)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(25);

void BM_PollIntervalBaseline(benchmark::State& s) {
  for (auto _ : s) std::this_thread::sleep_for(std::chrono::milliseconds(200));
}
BENCHMARK(BM_PollIntervalBaseline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_StartToWindowShown(benchmark::State& s) {
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
BENCHMARK(BM_StartToWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
