// The acquisition engine under the real window, on the simulated module in
// its test pattern (a dropped cycle is a gap in the numbers) at 1 us, with
// the module's clock driven by hand. The test holds the window's thread (it
// runs no events) while the engine empties the FIFO on its own: nothing is
// dropped, and once the window runs again every cycle is stored and saved
// once and in order, with one log line per read.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <regex>
#include <thread>

#include "acquisition/acquisition_engine.h"
#include "acquisition/run_health.h"
#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "device/linked/linked_device_library.h"
#include "files/file_test_support.h"
#include "kavrel_sim.h"
#include "support/fake_device_library.h"
#include "support/file_work_settle.h"
#include "support/scripted_dialogs.h"
#include "support/top_rate_window.h"

namespace trelvan {
namespace {

constexpr uint32_t EngineReadCycles = 200'000;  // the module's cycles between two reads
constexpr uint64_t FifoLength = 2'000'000;      // cycles the simulated FIFO holds
#ifdef TRELVAN_SANITIZED_BUILD
constexpr uint64_t HeldFifoLengths = 3;
#else
constexpr uint64_t HeldFifoLengths = 10;
#endif

template <class Done>
bool WaitUntil(Done&& done, int timeoutMs = 60'000) {
  QElapsedTimer waited;
  waited.start();
  while (!done()) {
    if (waited.elapsed() > timeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

struct EngineRun : ::testing::Test {
  QTemporaryDir dir;
  LinkedDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  testing::GatedWriter medium;  // the auto-saves' disk: its flush can be held
  std::unique_ptr<TMainForm> form;
  std::atomic<int64_t> pcClockUs{1'000'000};
  uint64_t sampled = 0;  // cycles the module has taken since Start

  void Open(uint32_t capacity) {
    KavrelSim_Reset();
    KavrelSim_SetManualClock(1);
    KavrelSim_SelectSource(KAVREL_SIM_SEQUENCE);
    medium.syncGate.OpenForGood();
    form = std::make_unique<TMainForm>(device, dialogs, capacity, PollMode::Engine);
    form->SetSteadyClock([this] { return pcClockUs.load(); });
    form->SetEngineIntervalMs(1);
    form->FormCreate();
    form->files().SetFileWriter(medium);
    testing::ConnectAtOneMicrosecond(*form, dir.path());
    ASSERT_NE(form->acq.deviceIndex, 255);
    form->Button1Click();
    ASSERT_TRUE(IsRunning(form->acq.adcConfig));
    ASSERT_NE(form->engine(), nullptr);
  }
  void TearDown() override {
    medium.syncGate.OpenForGood();
    if (form) form->close();
    form.reset();
    KavrelSim_Reset();
  }
  // The module samples `cycles` more cycles, a read's worth at a time, and
  // the engine reads each before the next is taken; the window's thread is
  // held here all the while.
  void SampleWhileHeld(uint64_t cycles) {
    for (uint64_t done = 0; done < cycles; done += EngineReadCycles) {
      KavrelSim_AdvanceClock(EngineReadCycles);
      pcClockUs += EngineReadCycles;
      sampled += EngineReadCycles;
      // Two reads more: the second began after the clock moved on.
      const uint64_t reads = form->engine()->readsTaken();
      ASSERT_TRUE(WaitUntil([&] { return form->engine()->readsTaken() >= reads + 2; }));
    }
  }
  // The window runs again (its timer and the engine's reports tick).
  template <class Done>
  void RunWindowUntil(Done&& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 60'000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(done());
  }
  // ... until it has stored every cycle the engine read.
  void RunWindowUntilStored() {
    RunWindowUntil([this] { return form->acq.adcConfig.trigCnt == sampled && form->acq.reads.Empty(); });
  }
  std::vector<std::string> SavedFiles() {
    std::vector<std::string> paths;
    for (const QFileInfo& f : QDir(dir.path()).entryInfoList({"*.bin"}, QDir::Files)) {
      paths.push_back(f.filePath().toStdString());
    }
    return paths;
  }
  // Every cycle number 0, 1, 2, ... once, across the files (by their first
  // cycle) and then the store.
  void ExpectEveryCycleOnceInOrder() {
    std::vector<std::vector<uint32_t>> files;
    for (const std::string& path : SavedFiles()) {
      QFile file(QString::fromStdString(path));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path;
      const QByteArray bytes = file.readAll();
      files.push_back(testing::CycleNumbers(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                            static_cast<std::size_t>(bytes.size()) / 16));
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return !a.empty() && (b.empty() || a[0] < b[0]); });
    uint64_t next = 0;
    for (const auto& numbers : files) {
      for (std::size_t i = 0; i < numbers.size(); ++i, ++next) ASSERT_EQ(numbers[i], next) << "file row " << i;
    }
    for (uint32_t r = 0; r < form->acq.store.cycleCount; ++r, ++next) {
      ASSERT_EQ(testing::SequenceOf(form->acq.store.rawRow(r)), next) << "store row " << r;
    }
    EXPECT_EQ(next, sampled);
  }
  // The trigCnt of each poll line in the log, in order.
  std::vector<uint64_t> PollLineCounts() {
    static const std::regex line(R"(Left = -?\d+ ,current trigCnt is (\d+) and read (\d+) bytes!$)");
    std::vector<uint64_t> counts;
    for (const LogLine& l : form->log().Lines()) {
      std::smatch m;
      if (std::regex_search(l.text, m, line)) counts.push_back(std::stoull(m[1]));
    }
    return counts;
  }
  bool AnyLostLine() {
    const auto lines = form->log().Lines();
    return std::any_of(lines.begin(), lines.end(),
                       [](const LogLine& l) { return l.text.find("were lost") != std::string::npos; });
  }
};

TEST_F(EngineRun, AWindowHeldForTenFifoLengthsLosesNothing) {
  constexpr uint32_t Capacity = 6'000'000;
  Open(Capacity);
  SampleWhileHeld(HeldFifoLengths * FifoLength);
  EXPECT_EQ(KavrelSim_DroppedCycles(), 0u);
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 0u) << "the window has stored nothing yet";
  EXPECT_EQ(form->acq.reads.Cycles(), sampled);

  RunWindowUntilStored();
  testing::SettleFileWork(*form);
  EXPECT_EQ(form->acq.store.cycleCount, sampled % Capacity);
  ExpectEveryCycleOnceInOrder();
  // One line per read, in order, since an auto-save emptied the log.
  const std::vector<uint64_t> counts = PollLineCounts();
  ASSERT_FALSE(counts.empty());
  EXPECT_EQ(counts.back(), sampled);
  for (std::size_t i = 1; i < counts.size(); ++i) EXPECT_EQ(counts[i], counts[i - 1] + EngineReadCycles);
  EXPECT_EQ(counts.front() % Capacity, 0u);
  EXPECT_FALSE(AnyLostLine());
  EXPECT_EQ(form->StatusPanel(0)->text(), "Connected");
  EXPECT_LE(form->engine()->LongestGapUs(), 2 * int64_t{EngineReadCycles});

  form->Button1Click();
  EXPECT_FALSE(IsRunning(form->acq.adcConfig));
  EXPECT_FALSE(form->engine()->running());
  EXPECT_EQ(KavrelSim_DroppedCycles(), 0u);
}

// The first store's flush is held by a slow disk while the window is held
// twice: before it stores the store that fills, and while it is written.
TEST_F(EngineRun, AWindowHeldThroughAHeldAutoSaveLosesNothing) {
  constexpr uint32_t Capacity = 2'000'000;
  Open(Capacity);
  medium.syncGate.Close();
  SampleWhileHeld(FifoLength + EngineReadCycles);
  RunWindowUntilStored();
  ASSERT_TRUE(medium.syncGate.WaitArrived(1)) << "the full store was handed to the writer";
  SampleWhileHeld(FifoLength - 2 * EngineReadCycles);  // the writer is held all the while
  medium.syncGate.OpenForGood();
  testing::SettleFileWork(*form);
  RunWindowUntilStored();
  testing::SettleFileWork(*form);

  EXPECT_EQ(KavrelSim_DroppedCycles(), 0u);
  EXPECT_FALSE(AnyLostLine());
  EXPECT_EQ(SavedFiles().size(), 1u);
  ExpectEveryCycleOnceInOrder();
}

// A pause (a full store that cannot be saved: the folder went away) holds
// the engine too: it reads no more than the store could take, and reads on
// once the pause ends; the reads it took meanwhile wait in order.
TEST_F(EngineRun, APauseHoldsTheEngineUntilTheAutoSaveSucceeds) {
  constexpr uint32_t Capacity = 1'000'000;
  Open(Capacity);
  const QString away = dir.path() + "-away";
  ASSERT_TRUE(QDir().rename(dir.path(), away));
  SampleWhileHeld(2 * Capacity + 2 * EngineReadCycles);
  // The first store's write fails; the second fills and cannot be handed over.
  RunWindowUntil([this] { return form->acq.store.full() && !form->files().Busy(); });
  QCoreApplication::processEvents();
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 2 * Capacity);
  EXPECT_EQ(form->acq.reads.Cycles(), 2 * EngineReadCycles);
  const uint64_t readsAtPause = form->engine()->readsTaken();
  KavrelSim_AdvanceClock(EngineReadCycles);
  pcClockUs += EngineReadCycles;
  sampled += EngineReadCycles;
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // fifty of the engine's intervals
  EXPECT_LE(form->engine()->readsTaken(), readsAtPause + 1) << "only a read under way may end";

  ASSERT_TRUE(QDir().rename(away, dir.path()));
  dialogs.folderAnswers.push_back(dir.path());  // Change: the same folder, back again
  form->Button26Click();
  testing::SettleFileWork(*form);
  RunWindowUntilStored();
  testing::SettleFileWork(*form);
  form->Button1Click();
  testing::SettleFileWork(*form);
  EXPECT_FALSE(form->acq.paused());
  EXPECT_EQ(KavrelSim_DroppedCycles(), 0u);
  ExpectEveryCycleOnceInOrder();
}

// Stop stores the reads the engine took before the press, with their lines.
TEST_F(EngineRun, StopStoresWhatTheEngineReadWhileTheWindowWasHeld) {
  Open(6'000'000);
  SampleWhileHeld(5 * EngineReadCycles);
  form->Button1Click();
  EXPECT_FALSE(IsRunning(form->acq.adcConfig));
  EXPECT_EQ(form->acq.store.cycleCount, sampled);
  EXPECT_EQ(PollLineCounts(), (std::vector<uint64_t>{200'000, 400'000, 600'000, 800'000, 1'000'000}));
  ExpectEveryCycleOnceInOrder();
}

// Disconnected while sampling: the run goes on against no module, as the
// ticks did, its failed reads counted; nothing is stored.
TEST_F(EngineRun, DisconnectWhileTheEngineReads) {
  Open(6'000'000);
  SampleWhileHeld(2 * EngineReadCycles);
  RunWindowUntilStored();
  form->Button7Click();
  EXPECT_TRUE(form->log().Lines().back().text.ends_with("] The device has disconnected!"));
  EXPECT_TRUE(IsRunning(form->acq.adcConfig));
  EXPECT_TRUE(form->engine()->running());
  const uint64_t reads = form->engine()->readsTaken();
  ASSERT_TRUE(WaitUntil([&] { return form->engine()->readsTaken() >= reads + FailedReadsReported; }));
  form->Timer1Timer();
  EXPECT_EQ(form->acq.store.cycleCount, 400'000u);
  EXPECT_TRUE(form->log().Lines().back().text.ends_with(ReadsFailingMessage()));
  form->Button1Click();  // the module cannot be stopped: the run goes on
  EXPECT_EQ(form->engine()->running(), IsRunning(form->acq.adcConfig));
}

// Unplugged while the engine reads, then closed while it reads on: the
// window says what it says without the engine, and nothing hangs.
TEST_F(EngineRun, RemovalAndCloseWhileTheEngineReads) {
  Open(6'000'000);
  SampleWhileHeld(2 * EngineReadCycles);
  RunWindowUntilStored();
  ASSERT_TRUE(KavrelSim_Unplug());
  ASSERT_TRUE(KavrelSim_WaitNotifications(5'000));
  QCoreApplication::processEvents();
  const auto lines = form->log().Lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const LogLine& l) {
    return l.text.ends_with("] The device was removed while sampling: 400000 cycles are in the store");
  }));
  EXPECT_EQ(form->acq.deviceIndex, 255);
  EXPECT_TRUE(form->engine()->running()) << "reading no module, as the ticks did";
  form->close();
  EXPECT_FALSE(form->engine()->running());
}

}  // namespace
}  // namespace trelvan
