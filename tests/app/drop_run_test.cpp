// The drop estimate on the simulated module with its clock driven by hand:
// a poll held back longer than the module's FIFO lasts gives one red line
// whose count matches what the module dropped, and panel 0 keeps it; a clean
// run raises nothing, also with the module's clock 100 ppm off the PC's.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "acquisition/drop_estimator.h"
#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "device/log_colours.h"
#include "device/linked/linked_device_library.h"
#include "files/file_test_support.h"
#include "kavrel_sim.h"
#include "support/file_work_settle.h"
#include "support/scripted_dialogs.h"

namespace trelvan {
namespace {

struct DropRun : ::testing::Test {
  QTemporaryDir dir;
  LinkedDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> form;
  int64_t pcClockUs = 1'000'000;
  double pcPerModule = 1.0;  // PC microseconds per module microsecond

  void Open(uint32_t capacity, const QString& periodUs) {
    KavrelSim_Reset();
    KavrelSim_SetManualClock(1);
    form = std::make_unique<TMainForm>(device, dialogs, capacity, PollMode::ByHand);
    form->SetSteadyClock([this] { return pcClockUs; });
    form->FormCreate();
    form->Edit45->setText(dir.path() + "/");
    form->Button7Click();
    ASSERT_NE(form->acq.deviceIndex, 255);
    form->Edit1->setText(periodUs);
    form->ComboBox6->setCurrentIndex(0);  // microseconds
    form->Button2Click();
    form->Button1Click();
    ASSERT_TRUE(IsRunning(form->acq.adcConfig));
  }
  void TearDown() override {
    if (form) form->close();
    form.reset();
    KavrelSim_Reset();
  }
  void Advance(uint64_t moduleUs) {
    KavrelSim_AdvanceClock(moduleUs);
    pcClockUs += std::llround(static_cast<double>(moduleUs) * pcPerModule);
  }
  // Ticks of the poll; after each one the file work reports (a fast disk).
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      Advance(200'000);
      form->Timer1Timer();
      Settle();
    }
  }
  void Settle() { testing::SettleFileWork(*form); }
  std::vector<std::string> RedLinesWith(const std::string& part) {
    std::vector<std::string> found;
    for (const LogLine& l : form->log().Lines()) {
      if (l.colour == LogRed && l.text.find(part) != std::string::npos) found.push_back(l.text);
    }
    return found;
  }
};

TEST_F(DropRun, AnOverflowGivesOneRedLineWithTheModulesCount) {
  Open(2'500'000, "10");  // 20,000 cycles a poll: the FIFO holds 20 s
  Ticks(5);
  Advance(24'800'000);  // the poll held back 25 s
  Ticks(3);
  const uint64_t dropped = KavrelSim_DroppedCycles();
  ASSERT_GT(dropped, 400'000u);
  const auto lines = RedLinesWith(" cycles were lost: the module's FIFO was full");
  ASSERT_EQ(lines.size(), 1u);
  const std::string count = lines[0].substr(lines[0].find("] About ") + 8);
  const double reported = std::stod(count);
  EXPECT_NEAR(reported, static_cast<double>(dropped), 0.01 * static_cast<double>(dropped));
  EXPECT_EQ(form->StatusPanel(0)->text(), "Lost ~500k");
  EXPECT_EQ(form->StatusPanel(0)->styleSheet(), "color: red;");

  Ticks(3);  // reading keeps up again: no new episode
  EXPECT_EQ(RedLinesWith(" cycles were lost").size(), 1u);
  form->Button1Click();  // Stop: the panel keeps the count until the next Start
  EXPECT_EQ(form->StatusPanel(0)->text(), "Lost ~500k");
  form->Button1Click();
  EXPECT_EQ(form->StatusPanel(0)->text(), "Connected");
  EXPECT_EQ(form->StatusPanel(0)->styleSheet(), "");
}

// Ten minutes at 1 us into the full store, the files' bytes discarded (a
// hundred auto-saves); shorter where the sanitizers slow every cycle down.
#ifdef TRELVAN_SANITIZED_BUILD
constexpr int CleanRunTicks = 300;  // one minute, ten auto-saves
#else
constexpr int CleanRunTicks = 3000;  // ten minutes
#endif

TEST_F(DropRun, CleanRunsRaiseNoAlarmWithTheClocksApart) {
  testing::DiscardingWriter medium;
  for (const double ppm : {0.0, 100.0, -100.0}) {
    pcPerModule = 1.0 + ppm * 1e-6;
    Open(StoreCapacity, "1");
    form->files().SetFileWriter(medium);
    Ticks(CleanRunTicks);
    EXPECT_EQ(KavrelSim_DroppedCycles(), 0u);
    EXPECT_EQ(form->acq.adcConfig.trigCnt, CleanRunTicks * 200'000u) << ppm;
    EXPECT_GE(form->acq.storeEmptyings, uint64_t{CleanRunTicks} * 200'000u / StoreCapacity) << ppm;
    EXPECT_TRUE(RedLinesWith("lost").empty()) << ppm;
    EXPECT_EQ(form->StatusPanel(0)->text(), "Connected") << ppm;
    form->close();
    form.reset();
  }
}

}  // namespace
}  // namespace trelvan
