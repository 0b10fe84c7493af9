// A long run on the simulated module in its test pattern (a drop would be a
// gap in the numbers), with the clock driven by hand and a small store: every
// cycle the module sampled is found once and in order across the auto-saved
// files and the store, also when the writer is slow or the auto-save folder
// goes away during the run and comes back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "files/file_test_support.h"
#include "device/linked/linked_device_library.h"
#include "kavrel_sim.h"
#include "support/fake_device_library.h"
#include "support/file_work_settle.h"
#include "support/scripted_dialogs.h"

namespace trelvan {
namespace {

constexpr uint32_t Capacity = 50'000;

struct SimRun : ::testing::Test {
  QTemporaryDir dir;
  LinkedDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> form;

  void SetUp() override {
    KavrelSim_Reset();
    KavrelSim_SetManualClock(1);
    KavrelSim_SelectSource(KAVREL_SIM_SEQUENCE);
    form = std::make_unique<TMainForm>(device, dialogs, Capacity, PollMode::ByHand);
    form->FormCreate();
    form->Edit45->setText(dir.path() + "/");
    form->Button7Click();
    ASSERT_NE(form->acq.deviceIndex, 255);
    form->Edit1->setText("10");
    form->ComboBox6->setCurrentIndex(0);  // 10 us: 20,000 cycles a tick
    form->Button2Click();
    form->Button1Click();
    ASSERT_TRUE(IsRunning(form->acq.adcConfig));
    form->Timer1->stop();  // the test ticks by hand, also while it runs the events
  }
  void TearDown() override {
    form->close();
    form.reset();
    KavrelSim_Reset();
  }
  // Ticks of the poll; after each one the file work reports (a fast disk).
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      Tick();
      Settle();
    }
  }
  void Tick() {
    KavrelSim_AdvanceClock(200'000);
    form->Timer1Timer();
  }
  void Settle() { testing::SettleFileWork(*form); }
  // Sequence numbers of every auto-saved file (oldest first, folder by
  // folder), then the store.
  std::vector<uint32_t> Everything(const QStringList& folders = {}) {
    QFileInfoList files;
    for (const QString& folder : folders.isEmpty() ? QStringList{dir.path()} : folders) {
      QFileInfoList here = QDir(folder).entryInfoList({"*.bin"}, QDir::Files);
      SortBySaveTime(here);
      files += here;
    }
    std::vector<uint32_t> seq;
    for (const QFileInfo& info : files) {
      QFile file(info.filePath());
      EXPECT_TRUE(file.open(QIODevice::ReadOnly));
      const QByteArray bytes = file.readAll();
      EXPECT_EQ(bytes.size(), qsizetype{Capacity} * 16) << info.fileName().toStdString();
      for (qsizetype off = 0; off + 16 <= bytes.size(); off += 16) {
        seq.push_back(testing::SequenceOf(reinterpret_cast<const int16_t*>(bytes.constData() + off)));
      }
    }
    for (uint32_t r = 0; r < form->acq.store.cycleCount; ++r) {
      seq.push_back(testing::SequenceOf(form->acq.store.rawRow(r)));
    }
    return seq;
  }
  // Names are the date and time of the save; saves within one second are
  // numbered: "t.bin", "t (2).bin", "t (3).bin".
  static void SortBySaveTime(QFileInfoList& files) {
    const auto key = [](const QFileInfo& f) {
      static const QRegularExpression numbered("^(.*) \\((\\d+)\\)$");
      const auto m = numbered.match(f.completeBaseName());
      return m.hasMatch() ? std::make_pair(m.captured(1), m.captured(2).toInt())
                          : std::make_pair(f.completeBaseName(), 1);
    };
    std::sort(files.begin(), files.end(),
              [&](const QFileInfo& a, const QFileInfo& b) { return key(a) < key(b); });
  }
  void ExpectEveryCycleOnceInOrder(const QStringList& folders = {}) {
    const std::vector<uint32_t> seq = Everything(folders);
    ASSERT_EQ(seq.size(), form->acq.adcConfig.trigCnt);
    for (std::size_t i = 0; i < seq.size(); ++i) {
      ASSERT_EQ(seq[i], i) << "at " << i;
    }
    EXPECT_EQ(KavrelSim_DroppedCycles(), 0u);
  }
};

TEST_F(SimRun, AcrossSeveralAutoSavesNoCycleIsLost) {
  Ticks(9);  // 180,000 cycles: three auto-saves
  form->Button1Click();
  EXPECT_EQ(QDir(dir.path()).entryList({"*.bin"}, QDir::Files).size(), 3);
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 180'000u);
  ExpectEveryCycleOnceInOrder();
}

// A slow medium: each file's flush is held for a tick. The poll reads at
// every tick through the auto-saves and never pauses.
TEST_F(SimRun, ASlowWriterNeverHoldsThePoll) {
  testing::GatedWriter slow;
  slow.syncGate.Close();
  form->files().SetFileWriter(slow);
  int arrivals = 0;
  bool holding = false;
  for (int tick = 1; tick <= 12; ++tick) {  // 240,000 cycles: four auto-saves
    Tick();
    EXPECT_FALSE(form->acq.paused()) << "tick " << tick;
    EXPECT_EQ(form->acq.adcConfig.trigCnt, tick * 20'000u) << "every tick reads";
    if (holding) {  // the flush held through this tick ends now
      slow.syncGate.Open();
      holding = false;
      QElapsedTimer waited;
      waited.start();
      while (form->files().UnwrittenCycles() > 0 && waited.elapsed() < 30'000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      }
    }
    if (form->files().UnwrittenCycles() > 0) {  // handed over by this tick
      ASSERT_TRUE(slow.syncGate.WaitArrived(++arrivals));
      holding = true;
    }
  }
  slow.syncGate.OpenForGood();
  Settle();
  form->Button1Click();
  EXPECT_EQ(QDir(dir.path()).entryList({"*.bin"}, QDir::Files).size(), 4);
  ExpectEveryCycleOnceInOrder();
}

// A writer held for good: the second full store pauses the poll (the module
// keeps the cycles in its FIFO); releasing the writer ends the pause.
TEST_F(SimRun, ASecondFullStoreWaitsForTheWriter) {
  testing::GatedWriter stuck;
  stuck.syncGate.Close();
  form->files().SetFileWriter(stuck);
  for (int i = 0; i < 5; ++i) Tick();  // 100,000: the second store is full
  Tick();
  QCoreApplication::processEvents();
  EXPECT_TRUE(form->acq.store.full());
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 100'000u) << "no read while the store waits";
  EXPECT_EQ(form->files().UnwrittenCycles(), Capacity);
  stuck.syncGate.OpenForGood();
  Settle();
  Settle();
  EXPECT_EQ(form->acq.store.cycleCount, 0u) << "the second store handed over at once";
  Ticks(2);  // the first reads the cycles the module kept meanwhile
  form->Button1Click();
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 160'000u);
  ExpectEveryCycleOnceInOrder();
}

TEST_F(SimRun, AFolderThatGoesAwayPausesAndLosesNothing) {
  Ticks(2);  // 40,000 cycles
  const QString away = dir.path() + "-away";
  ASSERT_TRUE(QDir().rename(dir.path(), away));
  Ticks(5);  // the first store's write fails; the second fills: no more reads
  EXPECT_TRUE(form->acq.store.full());
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 100'000u);
  EXPECT_EQ(form->files().UnwrittenCycles(), Capacity);
  const auto lines = form->log().Lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                          [](const LogLine& l) { return l.text.find("Fail to create file ") != std::string::npos; }));
  ASSERT_TRUE(QDir().rename(away, dir.path()));
  dialogs.folderAnswers.push_back(dir.path());  // Change: the same folder, back again
  form->Button26Click();
  Settle();
  Settle();
  EXPECT_FALSE(form->acq.paused());
  Ticks(2);
  form->Button1Click();
  ExpectEveryCycleOnceInOrder();
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 180'000u);
}

// A real full disk: a small filesystem that holds one auto-save file. Needs
// the right to mount; skipped where the machine does not give it.
TEST_F(SimRun, AFullFilesystemPausesUntilAnotherFolderIsPicked) {
  QTemporaryDir small;
  const QString command = "mount -t tmpfs -o size=1200k tmpfs '" + small.path() + "' 2>&1";
  if (std::system(command.toLocal8Bit().constData()) != 0) {
    GTEST_SKIP() << "cannot mount a small filesystem here (" << command.toStdString() << " failed)";
  }
  struct Unmount {
    QString path;
    ~Unmount() { std::system(("umount '" + path + "'").toLocal8Bit().constData()); }
  } unmount{small.path()};

  form->Edit45->setText(small.path() + "/");
  Ticks(8);  // the first file fits, the second does not; the third store fills
  EXPECT_TRUE(form->acq.paused());
  Ticks(1);  // no read while cycles wait: the module keeps them
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 160'000u);
  EXPECT_EQ(QDir(small.path()).entryList({"*.bin"}, QDir::Files).size(), 1);
  EXPECT_TRUE(QDir(small.path()).entryList({"*.part"}, QDir::Files).isEmpty())
      << "no temporary file is left behind";
  dialogs.folderAnswers.push_back(dir.path());
  form->Button26Click();
  Settle();
  Settle();
  EXPECT_EQ(form->acq.store.cycleCount, 10'000u) << "both stores saved at once to the folder picked";
  Ticks(1);
  form->Button1Click();
  ExpectEveryCycleOnceInOrder({small.path(), dir.path()});
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 200'000u);
}

}  // namespace
}  // namespace trelvan
