// A long run on the simulated module in its test pattern, with the clock
// driven by hand and a small store: every cycle the module delivered is found
// once and in order across the auto-saved files and the store, also when the
// auto-save folder goes away during the run and comes back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "app/main_form.h"
#include "device/linked/linked_device_library.h"
#include "kavrel_sim.h"
#include "support/fake_device_library.h"
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
    form = std::make_unique<TMainForm>(device, dialogs, Capacity);
    form->FormCreate();
    form->Edit45->setText(dir.path() + "/");
    form->Button7Click();
    ASSERT_NE(form->acq.deviceIndex, 255);
    form->Edit1->setText("10");
    form->ComboBox6->setCurrentIndex(0);  // 10 us: 20,000 cycles a tick
    form->Button2Click();
    form->Button1Click();
    ASSERT_TRUE(IsRunning(form->acq.adcConfig));
  }
  void TearDown() override {
    form->close();
    form.reset();
    KavrelSim_Reset();
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      KavrelSim_AdvanceClock(200'000);
      form->Timer1Timer();
    }
  }
  // Sequence numbers of every auto-saved file (oldest first), then the store.
  std::vector<uint32_t> Everything() {
    QFileInfoList files = QDir(dir.path()).entryInfoList({"*.bin"}, QDir::Files);
    // Names are the date and time of the save; saves within one second are
    // numbered: "t.bin", "t (2).bin", "t (3).bin".
    const auto key = [](const QFileInfo& f) {
      static const QRegularExpression numbered("^(.*) \\((\\d+)\\)$");
      const auto m = numbered.match(f.completeBaseName());
      return m.hasMatch() ? std::make_pair(m.captured(1), m.captured(2).toInt())
                          : std::make_pair(f.completeBaseName(), 1);
    };
    std::sort(files.begin(), files.end(),
              [&](const QFileInfo& a, const QFileInfo& b) { return key(a) < key(b); });
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
  void ExpectEveryCycleOnceInOrder() {
    const std::vector<uint32_t> seq = Everything();
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

TEST_F(SimRun, AFolderThatGoesAwayPausesAndLosesNothing) {
  Ticks(2);  // 40,000 cycles
  const QString away = dir.path() + "-away";
  ASSERT_TRUE(QDir().rename(dir.path(), away));
  Ticks(3);  // the store fills; its save fails: read cycles wait, the module keeps them
  EXPECT_TRUE(form->acq.paused());
  const auto lines = form->log().Lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                          [](const LogLine& l) { return l.text.find("Fail to create file ") != std::string::npos; }));
  ASSERT_TRUE(QDir().rename(away, dir.path()));
  dialogs.folderAnswers.push_back(dir.path());  // Change: the same folder, back again
  form->Button26Click();
  EXPECT_FALSE(form->acq.paused());
  Ticks(2);
  form->Button1Click();
  ExpectEveryCycleOnceInOrder();
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 140'000u);
}

}  // namespace
}  // namespace trelvan
