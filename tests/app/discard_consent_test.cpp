// Cycles promised to a file go only with the user's consent: a full store
// that could not be handed to the writer, the rows of a failed write, the
// cycles held back. The simulated module in its test pattern, the clock
// driven by hand, a small store, and an auto-save folder that goes away.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "acquisition/poll.h"
#include "device/linked/linked_device_library.h"
#include "kavrel_sim.h"
#include "support/file_work_settle.h"
#include "support/scripted_dialogs.h"

namespace trelvan {
namespace {

constexpr uint32_t Capacity = 50'000;

struct UnsavedRun : ::testing::Test {
  QTemporaryDir dir, other;
  QString away;
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
    form->Timer1->stop();  // the test ticks by hand
    away = dir.path() + "-away";
  }
  void TearDown() override {
    if (QDir(away).exists()) QDir().rename(away, dir.path());
    dialogs.chooseAnswers.assign({2});  // closing: discard what is left
    form->close();
    form.reset();
    KavrelSim_Reset();
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      KavrelSim_AdvanceClock(200'000);
      form->Timer1Timer();
      Settle();
    }
  }
  // A log line ends with `text` (after its time stamp).
  bool Logged(const std::string& text) const {
    const auto lines = form->log().Lines();
    return std::any_of(lines.begin(), lines.end(), [&](const LogLine& l) {
      return l.text.size() >= text.size() && l.text.compare(l.text.size() - text.size(), text.size(), text) == 0;
    });
  }
  void Settle() { testing::SettleFileWork(*form); }
  // The first store's write fails (its folder went away) and the second
  // store fills behind it: 50,000 rows with the writer, 50,000 in the store.
  void FailTheAutoSave() {
    Ticks(2);
    ASSERT_TRUE(QDir().rename(dir.path(), away));
    Ticks(4);
    ASSERT_TRUE(form->acq.store.full());
    ASSERT_EQ(form->files().UnwrittenCycles(), Capacity);
  }
  int Questions() const {
    return static_cast<int>(std::count_if(dialogs.asked.begin(), dialogs.asked.end(), [](const QString& q) {
      return q.contains("cycles are not saved to a file. Discard them?");
    }));
  }
  QString WriteBinFile(uint32_t rows) {
    const QString path = other.path() + "/load.bin";
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(qsizetype{rows} * 16, '\0'));
    return QFileInfo(path).absoluteFilePath();
  }
};

enum class Emptying { Start, ClearBuff, LoadFrom };

struct ConsentCase {
  const char* name;
  Emptying by;
  bool yes;
};

class ConsentTest : public UnsavedRun, public ::testing::WithParamInterface<ConsentCase> {};

// Start (after Stop), Clear Buff and Load From on a failed auto-save: the
// question counts the store and the writer's rows; No keeps both, Yes
// empties the store and drops the writer's rows.
TEST_P(ConsentTest, UnsavedCyclesGoOnlyWithYes) {
  const ConsentCase c = GetParam();
  FailTheAutoSave();
  QString file;
  if (c.by == Emptying::Start) {
    form->Button1Click();  // Stop: its retry fails too
    Settle();
    ASSERT_FALSE(IsRunning(form->acq.adcConfig));
  }
  if (c.by == Emptying::LoadFrom) {
    file = WriteBinFile(100);
    dialogs.confirmAnswers.push_back(true);
    dialogs.openAnswers.push_back({file, 0});
  }
  dialogs.chooseAnswers.push_back(c.yes ? 0 : 1);
  const int asked = dialogs.asked.size();
  switch (c.by) {
    case Emptying::Start: form->Button1Click(); break;
    case Emptying::ClearBuff: form->Button9Click(); break;
    case Emptying::LoadFrom: form->Button27Click(); break;
  }
  Settle();
  ASSERT_EQ(Questions(), 1);
  const QString question = dialogs.asked.mid(asked).filter("Discard them?").first();
  EXPECT_EQ(question, "Choose 100000 cycles are not saved to a file. Discard them? [Yes|No]");
  if (c.yes) {
    EXPECT_EQ(form->acq.store.cycleCount, c.by == Emptying::LoadFrom ? 100u : 0u);
    EXPECT_EQ(form->files().UnwrittenCycles(), 0u);
    EXPECT_TRUE(Logged("50000 cycles of a failed auto-save were discarded!"));
    EXPECT_TRUE(IsRunning(form->acq.adcConfig));
  } else {
    EXPECT_TRUE(form->acq.store.full()) << "No changes nothing";
    EXPECT_EQ(form->files().UnwrittenCycles(), Capacity);
    EXPECT_EQ(IsRunning(form->acq.adcConfig), c.by != Emptying::Start);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachWay, ConsentTest,
    ::testing::Values(ConsentCase{"StartNo", Emptying::Start, false}, ConsentCase{"StartYes", Emptying::Start, true},
                      ConsentCase{"ClearBuffNo", Emptying::ClearBuff, false},
                      ConsentCase{"ClearBuffYes", Emptying::ClearBuff, true},
                      ConsentCase{"LoadFromNo", Emptying::LoadFrom, false},
                      ConsentCase{"LoadFromYes", Emptying::LoadFrom, true}),
    [](const ::testing::TestParamInfo<ConsentCase>& info) { return std::string(info.param.name); });

// The folder is back before Clear Buff: the one try hands the rows over and
// nothing is asked.
TEST_F(UnsavedRun, ATryThatWorksAsksNothing) {
  Ticks(2);
  ASSERT_TRUE(QDir().rename(dir.path(), away));
  Ticks(1);  // the first store's write fails
  ASSERT_EQ(form->files().UnwrittenCycles(), Capacity);
  ASSERT_TRUE(QDir().rename(away, dir.path()));
  form->files().RetryAutoSaveNow();
  form->Button9Click();
  Settle();
  EXPECT_EQ(Questions(), 0);
  EXPECT_EQ(form->acq.store.cycleCount, 0u);
  EXPECT_EQ(form->files().UnwrittenCycles(), 0u);
  EXPECT_EQ(QDir(dir.path()).entryList({"*.bin"}, QDir::Files).size(), 1);
}

TEST_F(UnsavedRun, APartlyFilledStoreIsEmptiedWithoutAQuestion) {
  Ticks(1);
  ASSERT_EQ(form->acq.store.cycleCount, 20'000u);
  form->Button9Click();
  form->Button1Click();  // Stop
  form->Button1Click();  // Start
  EXPECT_EQ(Questions(), 0);
  EXPECT_EQ(form->acq.store.cycleCount, 0u);
  EXPECT_TRUE(IsRunning(form->acq.adcConfig));
}

// Panel 0 says so while the writer holds the rows of a failed write, and
// the pause behind them; back to "Connected" once they are written.
TEST_F(UnsavedRun, PanelZeroWhileRowsWaitUnwritten) {
  Ticks(2);
  ASSERT_TRUE(QDir().rename(dir.path(), away));
  Ticks(1);
  EXPECT_EQ(form->StatusPanel(0)->text(), "Rows waiting unwritten");
  EXPECT_EQ(form->StatusPanel(0)->styleSheet(), "color: red;");
  Ticks(3);  // the second store fills behind them
  EXPECT_EQ(form->StatusPanel(0)->text(), "Paused: auto-save");
  ASSERT_TRUE(QDir().rename(away, dir.path()));
  dialogs.folderAnswers.push_back(dir.path());
  form->Button26Click();  // Change: the same folder, back again
  Settle();
  Settle();
  EXPECT_EQ(form->files().UnwrittenCycles(), 0u);
  EXPECT_EQ(form->StatusPanel(0)->text(), "Connected");
  EXPECT_EQ(form->StatusPanel(0)->styleSheet(), "");
}

// Stop with a full store and nothing held: one try, then the red count of
// the store and the writer's rows together.
TEST_F(UnsavedRun, StopWithAFullStoreCountsEverythingUnsaved) {
  FailTheAutoSave();
  ASSERT_EQ(form->acq.waitingCycles, 0u);
  form->Button1Click();  // Stop
  Settle();
  EXPECT_TRUE(Logged(UnsavedCyclesMessage(100'000)));
}

}  // namespace
}  // namespace trelvan
