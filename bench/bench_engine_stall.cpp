// The real window at the top rate (1 us: 16 MB/s) on the simulated module's
// real clock, on a real X server (run it under Xvfb, see engine_stall.sh),
// with production dialogs, for a minute (TRELVAN_STALL_SECONDS), while the
// machine or the display misbehaves:
//   display: the X server is stopped (SIGSTOP of XVFB_PID) for 6 s in the middle;
//   busy:    three busy-looping processes at the same priority run beside it;
//   txtsave: a .txt Save As through the real file dialog a third of the way
//            in (run with the slow-sync library preloaded: every fsync and
//            fdatasync of the process sleeps 3 s).
// Each runs with the acquisition engine on its own thread and, as the
// baseline, with the window's own 200 ms poll (the build before the engine,
// without its toolkit-settings change). Reported: cycles the module dropped,
// the longest gap between two FIFO reads (the engine's; for the window's
// poll, its longest tick gap), the longest time the window's event loop was
// held (a 10 ms timer's lateness), and the process's CPU time per second.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <memory>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "acquisition/acquisition_engine.h"
#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "app/qt_dialogs.h"
#include "app/toolkit_settings.h"
#include "device/linked/linked_device_library.h"
#include "kavrel_sim.h"

namespace {

using namespace trelvan;
using Clock = std::chrono::steady_clock;

enum Scenario { Display = 0, Busy = 1, TxtSave = 2 };

QApplication& XApp() {
  static int argc = 1;
  static char name[] = "trelvan_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

double ProcessCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int Seconds() {
  const char* s = std::getenv("TRELVAN_STALL_SECONDS");
  return s != nullptr ? std::max(10, std::atoi(s)) : 60;
}

std::vector<pid_t> StartBusyLoops(int n) {
  std::vector<pid_t> pids;
  for (int i = 0; i < n; ++i) {
    const pid_t pid = fork();
    if (pid == 0) {
      volatile unsigned long spins = 0;
      for (;;) spins = spins + 1;
    }
    pids.push_back(pid);
  }
  return pids;
}

void StopBusyLoops(const std::vector<pid_t>& pids) {
  for (pid_t pid : pids) kill(pid, SIGKILL);
  for (pid_t pid : pids) waitpid(pid, nullptr, 0);
}

// Answers the file dialog that is about to open, once it has been shown a
// while: the .txt filter and a name; again until it has closed.
void AnswerSaveDialog(const QString& path) {
  auto* look = new QTimer;
  auto seen = std::make_shared<int>(0);
  QObject::connect(look, &QTimer::timeout, [look, path, seen] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      if (dialog == nullptr || !dialog->isVisible()) continue;
      if (++*seen < 5) return;
      for (const QString& f : dialog->nameFilters()) {
        if (f.contains("txt")) dialog->selectNameFilter(f);
      }
      dialog->setDirectory(QFileInfo(path).absolutePath());
      dialog->selectFile(QFileInfo(path).fileName());
      // The name box itself, as a user types it (selectFile is not always
      // taken while the folder is still being read).
      if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(QFileInfo(path).fileName());
      static_cast<QDialog*>(dialog)->accept();
      return;
    }
    if (*seen >= 5) {  // answered and closed
      look->stop();
      look->deleteLater();
    }
  });
  look->start(100);
}

void BM_TopRateWhileDisturbed(benchmark::State& s) {
  const auto scenario = static_cast<Scenario>(s.range(0));
  const bool engine = s.range(1) != 0;
  XApp();
  if (engine) KeepToolkitSettingsForTheRun();
  const pid_t xvfb = std::getenv("XVFB_PID") ? std::atoi(std::getenv("XVFB_PID")) : 0;
  if (scenario == Display && xvfb <= 0) {
    s.SkipWithError("XVFB_PID not set");
    return;
  }
  for (auto _ : s) {
    QTemporaryDir folder(QDir::currentPath() + "/stall-XXXXXX");
    KavrelSim_Reset();
    KavrelSim_SetManualClock(0);
    KavrelSim_SelectSource(KAVREL_SIM_SEQUENCE);
    LinkedDeviceLibrary device;
    QtDialogs dialogs;
    auto form = std::make_unique<TMainForm>(device, dialogs, StoreCapacity,
                                            engine ? PollMode::Engine : PollMode::ByHand);
    dialogs.SetParent(form.get());
    form->FormCreate();
    form->show();
    form->Edit45->setText(folder.path() + "/");
    form->Button7Click();
    form->Edit1->setText("1");
    form->ComboBox6->setCurrentIndex(0);  // microseconds
    form->Button2Click();

    // The window's event loop: a 10 ms timer's lateness; and, for the
    // window's own poll, its longest gap between ticks.
    int64_t heldUs = 0, tickGapUs = 0;
    Clock::time_point lastBeat = Clock::now(), lastTick{};
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout, [&] {
      const auto now = Clock::now();
      heldUs = std::max<int64_t>(heldUs, std::chrono::duration_cast<std::chrono::microseconds>(now - lastBeat).count() - 10'000);
      lastBeat = now;
    });
    QObject::connect(form->Timer1, &QTimer::timeout, [&] {
      const auto now = Clock::now();
      if (lastTick != Clock::time_point{}) {
        tickGapUs = std::max<int64_t>(tickGapUs, std::chrono::duration_cast<std::chrono::microseconds>(now - lastTick).count());
      }
      lastTick = now;
    });

    const int seconds = Seconds();
    std::vector<pid_t> busy;
    if (scenario == Busy) busy = StartBusyLoops(3);
    std::atomic<bool> over{false};
    std::thread stopper;
    if (scenario == Display) {
      stopper = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(seconds * 1000 / 2 - 3000));
        kill(xvfb, SIGSTOP);
        std::this_thread::sleep_for(std::chrono::seconds(6));
        kill(xvfb, SIGCONT);
      });
    }
    if (scenario == TxtSave) {
      QTimer::singleShot(seconds * 1000 / 3, form.get(), [&] {
        AnswerSaveDialog(folder.filePath("pressed.txt"));
        form->Button4->click();
      });
    }

    const double cpu0 = ProcessCpuSeconds();
    const auto t0 = Clock::now();
    form->Button1->click();  // Start
    lastBeat = Clock::now();
    beat.start(10);
    QTimer::singleShot(seconds * 1000, [&] { over = true; });
    while (!over) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    const double dropped = static_cast<double>(KavrelSim_DroppedCycles());
    const double gapMs = static_cast<double>(engine ? form->engine()->LongestGapUs() : tickGapUs) / 1000.0;
    const double cpuPerSecond = (ProcessCpuSeconds() - cpu0) /
                                std::chrono::duration<double>(Clock::now() - t0).count();
    beat.stop();
    if (stopper.joinable()) stopper.join();
    StopBusyLoops(busy);
    form->Button1->click();  // Stop
    QElapsedTimer waited;
    waited.start();
    while (form->files().Busy() && waited.elapsed() < 120'000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    form->close();
    form.reset();

    s.counters["dropped_cycles"] = dropped;
    s.counters["longest_read_gap_ms"] = gapMs;
    s.counters["window_held_ms"] = static_cast<double>(heldUs) / 1000.0;
    s.counters["cpu_s_per_s"] = cpuPerSecond;
    s.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
  }
  s.SetLabel(std::string(scenario == Display ? "display stopped 6 s" : scenario == Busy ? "three busy loops" : ".txt Save As, 3 s flushes") +
             (engine ? ", engine" : ", window's poll"));
}

BENCHMARK(BM_TopRateWhileDisturbed)
    ->ArgsProduct({{Display, Busy, TxtSave}, {1, 0}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
