// Set Config from packing the controls to the status panels rewritten, and
// the About window from construction to shown with four version reads of the
// simulated module; each against the 200 ms poll interval (baseline: a sleep
// of that interval in the same run). Counter "pct_of_poll": the real time of
// one iteration in percent of the poll interval.

#include <benchmark/benchmark.h>

#include "offscreen_app.h"

#include <array>
#include <chrono>
#include <memory>
#include <thread>

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWidget>

#include "acquisition/set_config.h"
#include "app/parts/about_form.h"
#include "app/parts/settings_panel.h"
#include "device/linked/linked_device_library.h"

namespace trelvan {
namespace {

constexpr double PollIntervalSeconds = 0.2;

// Times the benchmark loop in real time and reports it per iteration.
class PollShare {
 public:
  explicit PollShare(benchmark::State& state) : state_(state), start_(Clock::now()) {}
  ~PollShare() {
    const std::chrono::duration<double> elapsed = Clock::now() - start_;
    state_.counters["pct_of_poll"] = benchmark::Counter(
        100.0 * elapsed.count() / PollIntervalSeconds, benchmark::Counter::kAvgIterations);
  }

 private:
  using Clock = std::chrono::steady_clock;
  benchmark::State& state_;
  Clock::time_point start_;
};

// The simulated module, opened once for the whole run.
struct OpenModule {
  LinkedDeviceLibrary device;
  uint8_t index = device.OpenDevice();
};
OpenModule& Module() {
  static OpenModule module;
  return module;
}

// The settings group and the status bar, wired as the window wires them.
struct SettingsWindow : AcquisitionHooks {
  SettingsWindow() : state(16) {
    auto* layout = new QVBoxLayout(&window);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    for (QComboBox** box : {&w.comboBox8, &w.comboBox6, &w.comboBox5, &w.comboBox4, &w.comboBox3,
                            &w.comboBox1, &w.comboBox2}) {
      *box = new QComboBox;
      row->addWidget(*box);
    }
    for (QLineEdit** edit : {&w.edit2, &w.edit1, &w.edit4}) {
      *edit = new QLineEdit;
      row->addWidget(*edit);
    }
    auto* bar = new QStatusBar;
    layout->addWidget(bar);
    for (QLabel*& panel : panels) {
      panel = new QLabel;
      bar->addWidget(panel);
    }
    panel = std::make_unique<SettingsPanel>(w);
    state.deviceIndex = Module().index;
    Module().device.ADCGetConfig(state.deviceIndex, &state.adcConfig);
    RefreshControls();
    UpdateStatusPanels();
    window.show();
    QApplication::processEvents();
  }
  void RefreshControls() override { panel->ShowAdcConfig(state.adcConfig); }
  void UpdateStatusPanels() override {
    const auto texts = panel->StatusPanelTexts(state.adcConfig);
    for (std::size_t i = 0; i < texts.size(); ++i) panels[i]->setText(QString::fromStdString(texts[i]));
  }

  QWidget window;
  SettingsWidgets w{};
  std::array<QLabel*, 9> panels{};
  std::unique_ptr<SettingsPanel> panel;
  AcquisitionState state;
};

void BM_PollInterval(benchmark::State& state) {
  {
    PollShare share(state);
    for (auto _ : state) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}
BENCHMARK(BM_PollInterval)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// One Set Config with a changed period and trigger mode, painted.
void BM_SetConfig(benchmark::State& state) {
  OffscreenApp();
  SettingsWindow window;
  if (window.state.deviceIndex == NoDevice) {
    state.SkipWithError("the simulated module did not open");
    return;
  }
  bool flip = false;
  PollShare share(state);
  for (auto _ : state) {
    flip = !flip;
    window.w.edit1->setText(flip ? QStringLiteral("250") : QStringLiteral("100"));
    window.w.comboBox5->setEditText(flip ? QStringLiteral("IO&Period") : QStringLiteral("Period"));
    const AdcConfig packed = window.panel->PackAdcSettings(window.state.adcConfig);
    if (!SetConfig(window.state, Module().device, window, packed)) {
      state.SkipWithError("the module refused the record");
      break;
    }
    QApplication::processEvents();
  }
}
BENCHMARK(BM_SetConfig)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Button3Click up to the dialog on screen: construction with its four
// version reads, shown and painted; then closed and destroyed (counted too).
void BM_AboutWindow(benchmark::State& state) {
  OffscreenApp();
  QWidget owner;
  owner.resize(800, 600);
  owner.show();
  QApplication::processEvents();
  if (Module().index == NoDevice) {
    state.SkipWithError("the simulated module did not open");
    return;
  }
  int failedReads = 0;
  PollShare share(state);
  for (auto _ : state) {
    TForm1 form(&owner, Module().device, Module().index,
                [&](const std::string&, uint32_t) { ++failedReads; },
                QStringLiteral("Jul 21 2023 14:26:46"));
    form.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(form.StaticText5->text());
    form.close();
  }
  if (failedReads > 0) state.SkipWithError("a version read failed");
}
BENCHMARK(BM_AboutWindow)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace trelvan
