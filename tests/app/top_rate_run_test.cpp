// A run at the module's top rate (1 us: 200,000 cycles a poll) into the full
// store of 6,000,000 cycles, as a user runs it: the window's own poll, the
// simulated module in its test pattern (a dropped cycle is a gap in the
// numbers) with its clock driven by hand, a slow medium whose flush is held
// through a tick at every auto-save, and a .txt Save As pressed while an
// auto-save is held. The poll reads at every tick, nothing is lost or
// reported lost, and the files hold every cycle once and in order.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>

#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "device/linked/linked_device_library.h"
#include "files/file_test_support.h"
#include "files/sample_formats.h"
#include "kavrel_sim.h"
#include "support/fake_device_library.h"
#include "support/file_work_settle.h"
#include "support/scripted_dialogs.h"
#include "support/top_rate_window.h"

namespace trelvan {
namespace {

constexpr uint32_t Capacity = 6'000'000;
constexpr uint32_t CyclesPerTick = 200'000;
constexpr int TicksPerStore = Capacity / CyclesPerTick;

// A slow medium for the auto-saves: their flush waits at the gate. A .txt
// file (Save As) goes through at once.
class SlowAutoSaveMedium : public testing::GatedWriter {
 public:
  int CreateNew(const std::string& path, int* fd) override {
    const int error = GatedWriter::CreateNew(path, fd);
    if (error == 0 && path.find(".txt") != std::string::npos) {
      std::lock_guard lock(mutex_);
      text_.insert(*fd);
    }
    return error;
  }
  int Sync(int fd) override {
    {
      std::lock_guard lock(mutex_);
      if (text_.count(fd) != 0) return FaultyWriter::Sync(fd);
    }
    return GatedWriter::Sync(fd);
  }
  int Close(int fd) override {
    {
      std::lock_guard lock(mutex_);
      text_.erase(fd);
    }
    return GatedWriter::Close(fd);
  }

 private:
  std::mutex mutex_;
  std::set<int> text_;
};

std::string TextLine(uint32_t index, const float* volts) {
  char line[TextLineMaxChars];
  return std::string(line, AppendTextLine(line, index, volts));
}

struct TopRateRun : ::testing::Test {
  QTemporaryDir dir;
  LinkedDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  SlowAutoSaveMedium medium;
  std::unique_ptr<TMainForm> form;
  int64_t pcClockUs = 1'000'000;

  void SetUp() override {
    KavrelSim_Reset();
    KavrelSim_SetManualClock(1);
    KavrelSim_SelectSource(KAVREL_SIM_SEQUENCE);
    form = std::make_unique<TMainForm>(device, dialogs, Capacity, PollMode::ByHand);
    form->SetSteadyClock([this] { return pcClockUs; });
    form->FormCreate();
    form->files().SetFileWriter(medium);
    testing::ConnectAtOneMicrosecond(*form, dir.path());
    ASSERT_NE(form->acq.deviceIndex, 255);
    form->Button1Click();
    ASSERT_TRUE(IsRunning(form->acq.adcConfig));
    form->Timer1->stop();  // the test ticks by hand, also while it runs the events
  }
  void TearDown() override {
    medium.syncGate.OpenForGood();
    if (form) form->close();
    form.reset();
    KavrelSim_Reset();
  }
  void Tick() {
    KavrelSim_AdvanceClock(CyclesPerTick);
    pcClockUs += CyclesPerTick;
    form->Timer1Timer();
  }
  void WaitUntilWritten() {
    QElapsedTimer waited;
    waited.start();
    while (form->files().UnwrittenCycles() > 0 && waited.elapsed() < 60'000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    ASSERT_EQ(form->files().UnwrittenCycles(), 0u);
  }
  bool AnyLostLine() {
    const auto lines = form->log().Lines();
    return std::any_of(lines.begin(), lines.end(),
                       [](const LogLine& l) { return l.text.find("were lost") != std::string::npos; });
  }
  // The cycle numbers of the auto-saved files in the order they were
  // written, then of the store, checked against 0, 1, 2, ...
  void ExpectEveryCycleOnceInOrder(const std::vector<std::string>& files) {
    uint64_t next = 0;
    for (const std::string& path : files) {
      QFile file(QString::fromStdString(path));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path;
      const QByteArray bytes = file.readAll();
      ASSERT_EQ(bytes.size(), qsizetype{Capacity} * 16) << path;
      const std::vector<uint32_t> numbers =
          testing::CycleNumbers(reinterpret_cast<const uint8_t*>(bytes.constData()), Capacity);
      for (uint32_t i = 0; i < Capacity; ++i, ++next) {
        ASSERT_EQ(numbers[i], next) << path << " row " << i;
      }
    }
    for (uint32_t r = 0; r < form->acq.store.cycleCount; ++r, ++next) {
      ASSERT_EQ(testing::SequenceOf(form->acq.store.rawRow(r)), next) << "store row " << r;
    }
    EXPECT_EQ(next, form->acq.adcConfig.trigCnt);
  }
};

TEST_F(TopRateRun, ThreeHeldAutoSavesAndATextSaveLoseNothing) {
  medium.syncGate.Close();
  constexpr int AutoSaves = 3;
  constexpr int PressTick = TicksPerStore + 1;  // the first store's flush is held then
  const int lastTick = AutoSaves * TicksPerStore + 2;
  const QString textPath = dir.filePath("pressed.txt");
  uint32_t pressRows = 0, pressFirst = 0;
  std::string firstLine, lastLine;
  int arrivals = 0;
  bool holding = false;

  for (int tick = 1; tick <= lastTick; ++tick) {
    Tick();
    ASSERT_FALSE(form->acq.paused()) << "tick " << tick;
    ASSERT_EQ(form->acq.adcConfig.trigCnt, uint64_t{CyclesPerTick} * tick) << "every tick reads";
    ASSERT_FALSE(AnyLostLine()) << "tick " << tick;
    if (tick == PressTick) {
      ASSERT_TRUE(holding) << "an auto-save is held while Save As is pressed";
      pressRows = form->acq.store.cycleCount;
      pressFirst = testing::SequenceOf(form->acq.store.rawRow(0));
      firstLine = TextLine(0, form->acq.store.voltsRow(0));
      lastLine = TextLine(pressRows - 1, form->acq.store.voltsRow(pressRows - 1));
      dialogs.saveAnswers.push_back({textPath, 1});
      form->Button4Click();
    }
    if (holding) {  // the flush held through this tick ends now
      medium.syncGate.Open();
      holding = false;
      WaitUntilWritten();
    }
    if (form->files().UnwrittenCycles() > 0) {  // handed over by this tick
      ASSERT_TRUE(medium.syncGate.WaitArrived(++arrivals));
      holding = true;
    }
  }
  medium.syncGate.OpenForGood();
  testing::SettleFileWork(*form);
  form->Button1Click();
  testing::SettleFileWork(*form);

  EXPECT_EQ(arrivals, AutoSaves);
  EXPECT_EQ(KavrelSim_DroppedCycles(), 0u);
  EXPECT_FALSE(AnyLostLine());
  EXPECT_EQ(form->StatusPanel(0)->text(), "Connected");
  EXPECT_EQ(form->acq.store.cycleCount, 2 * CyclesPerTick);

  // Names are the date and time of the save; saves within one second are
  // numbered: "t.bin", "t (2).bin", "t (3).bin".
  QStringList names = QDir(dir.path()).entryList({"*.bin"}, QDir::Files);
  ASSERT_EQ(names.size(), AutoSaves);
  const auto key = [](const QString& name) {
    static const QRegularExpression numbered("^(.*) \\((\\d+)\\)\\.bin$");
    const auto m = numbered.match(name);
    return m.hasMatch() ? std::make_pair(m.captured(1), m.captured(2).toInt())
                        : std::make_pair(name.chopped(4), 1);
  };
  std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return key(a) < key(b); });
  std::vector<std::string> finalPaths;
  for (const QString& name : names) finalPaths.push_back(dir.filePath(name).toStdString());
  ExpectEveryCycleOnceInOrder(finalPaths);

  EXPECT_EQ(pressRows, CyclesPerTick) << "the press came one tick after the first hand-over";
  EXPECT_EQ(pressFirst, Capacity);
  QFile text(textPath);
  ASSERT_TRUE(text.open(QIODevice::ReadOnly));
  const QByteArray all = text.readAll();
  EXPECT_EQ(all.count('\n'), qsizetype{pressRows});
  // Line i is row i of the press ("L" and its index), none left out or added.
  qsizetype at = 0;
  for (uint32_t i = 0; i < pressRows && at < all.size(); ++i) {
    char index[16];
    std::snprintf(index, sizeof index, "L%08u,", i);
    ASSERT_EQ(all.mid(at, 10).toStdString(), index) << "line " << i;
    at = all.indexOf('\n', at) + 1;
  }
  EXPECT_EQ(all.left(static_cast<qsizetype>(firstLine.size())).toStdString(), firstLine);
  EXPECT_EQ(all.right(static_cast<qsizetype>(lastLine.size())).toStdString(), lastLine);
}

}  // namespace
}  // namespace trelvan
