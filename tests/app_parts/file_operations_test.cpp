#include "app/parts/file_operations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstring>
#include <deque>

#include "acquisition/conversion.h"
#include "acquisition/poll.h"
#include "acquisition/store_clear.h"
#include "device/log_colours.h"
#include "files/file_test_support.h"
#include "files/sample_load.h"
#include "files/background_load.h"
#include "files/background_save.h"
#include "files/sample_save.h"
#include "support/fake_device_library.h"

namespace trelvan {
namespace {

using testing::LogLine;
using namespace std::chrono_literals;

// Dialogs answered from a script; each answer may run code while "open".
struct ScriptedDialogs : Dialogs {
  std::deque<FileChoice> files;
  std::deque<QString> folders;
  std::deque<bool> confirms;
  std::function<void()> whileOpen;
  std::vector<QString> asked;  // what was asked, in order
  std::vector<int> selectedFilters;

  FileChoice SaveFile(const QString&, const QStringList& filters, int selected, bool confirmOverwrite) override {
    asked.push_back("save " + filters.join(";;") + (confirmOverwrite ? " confirm" : ""));
    selectedFilters.push_back(selected);
    return Next(files);
  }
  FileChoice OpenFile(const QString&, const QStringList& filters) override {
    asked.push_back("open " + filters.join(";;"));
    return Next(files);
  }
  QString PickFolder(const QString& start) override {
    asked.push_back("folder " + start);
    return Next(folders);
  }
  bool Confirm(const QString& text) override {
    asked.push_back("confirm " + text);
    return Next(confirms);
  }
  std::deque<int> choices;
  std::function<void()> cancelProgress;
  int progressOpen = 0;
  int Choose(const QString& text, const QStringList& buttons, int) override {
    asked.push_back("choose " + text + " [" + buttons.join("|") + "]");
    return Next(choices);
  }
  struct Progressing : ProgressView {
    int& open;
    explicit Progressing(int& o) : open(o) { ++open; }
    ~Progressing() override { --open; }
    void SetPercent(int) override {}
  };
  std::unique_ptr<ProgressView> Progress(const QString& title, const QString&, int, bool,
                                         std::function<void()> cancel) override {
    asked.push_back("progress " + title);
    cancelProgress = std::move(cancel);
    return std::make_unique<Progressing>(progressOpen);
  }
  void Information(const QString& text) override { asked.push_back("information " + text); }
  void Error(const QString&, const QString& text) override { asked.push_back("error " + text); }

  template <typename T>
  T Next(std::deque<T>& answers) {
    if (whileOpen) std::exchange(whileOpen, nullptr)();
    T answer = answers.empty() ? T{} : answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
};

struct WindowHooks : testing::RecordingHooks {
  FileOperations* files = nullptr;
  bool AutoSave() override { return files->AutoSave(); }
};

constexpr uint32_t Capacity = 1000;

struct FileOperationsTest : ::testing::Test {
  FileOperationsTest() : state(Capacity), ops(state, hooks, dialogs, &edit45) {
    state.fullScaleVolts = 10.0f;
    state.channelFactor.fill(1.0f);
    state.deviceIndex = 0;
    hooks.files = &ops;
    edit45.setText(QString::fromStdString(temp.folder()));
    ops.SetFileWriter(writer);
    ops.SetClock([this] { return when; });
    ops.SetSteadyClock([this] { return now; });
    ops.SetDateTimeFormats(QLocale::c(), "yyyy/M/d", "H:mm:ss");
    writer.syncGate.OpenForGood();  // a fast medium unless a test holds it
  }
  void Store(uint32_t count, uint32_t first = 0) {
    const std::vector<uint8_t> cycles = testing::NumberedCycles(count, first);
    StoreCycles(state, cycles.data(), count);
  }
  QString Path(const std::string& name) const { return QString::fromStdString(temp.file(name)); }
  // A poll tick that reads `cycles` more cycles.
  void Tick(uint32_t cycles) {
    device.fifoChunks.push_back(testing::NumberedCycles(cycles, sent));
    sent += cycles;
    Timer1Timer(state, device, hooks);
  }
  // Runs the window's events until the file work has reported.
  void Settle() {
    QElapsedTimer waited;
    waited.start();
    while (ops.Busy() && waited.elapsed() < 30'000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_FALSE(ops.Busy()) << "file work still running after 30 s";
  }
  // Runs events until `done` holds.
  template <class Done>
  void RunUntil(Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 30'000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(done());
  }
  ~FileOperationsTest() override {
    writer.syncGate.OpenForGood();
    writer.writeGate.OpenForGood();
  }

  testing::TempFolder temp;
  testing::GatedWriter writer;
  AcquisitionState state;
  WindowHooks hooks;
  ScriptedDialogs dialogs;
  QLineEdit edit45;
  FileOperations ops;
  testing::FakeDeviceLibrary device;
  QDateTime when{QDate(2024, 3, 5), QTime(9, 7, 2)};
  AutoSaver::Clock::time_point now{100s};
  uint32_t sent = 0;
};

TEST_F(FileOperationsTest, SaveAsWritesTheChosenFormatAndRemembersTheFilter) {
  Store(3);
  struct Case {
    const char* name;
    int filter;
    const char* file;
    std::size_t bytes;
  } cases[] = {
      {"data", 0, "data.bin", 48},
      {"data.BIN", 0, "data.BIN.bin", 48},
      {"x.bin.txt", 0, "x.bin.txt", 48},
      {"run", 1, "run.txt", 3 * 119},
      {"a.txt.bin", 1, "a.txt.bin", 3 * 119},
  };
  int previousFilter = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hooks.log.clear();
    dialogs.files.push_back({Path(c.name), c.filter});
    ops.Button4Click();
    Settle();
    EXPECT_EQ(dialogs.selectedFilters.back(), previousFilter);
    previousFilter = c.filter;
    const std::vector<uint8_t> bytes = testing::ReadAll(temp.file(c.file));
    ASSERT_EQ(bytes.size(), c.bytes);
    if (c.filter == 0) {
      EXPECT_EQ(bytes, testing::NumberedCycles(3));
    } else {
      EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 13), "L00000000,   ");
    }
    EXPECT_EQ(hooks.log, (std::vector<LogLine>{
                             {c.filter == 0 ? "Start saving to bin ..." : "Start saving to txt ...", LogBlue},
                             {"Save completed!", LogBlue}}));
  }
  EXPECT_EQ(dialogs.asked.front(), "save bin file (*.bin);;txt file (*.txt) confirm");
}

TEST_F(FileOperationsTest, SaveAsRefusesAnEmptyStoreWithoutADialog) {
  ops.Button4Click();
  EXPECT_EQ(hooks.log, (std::vector<LogLine>{{"No data for save!", LogRed}}));
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(FileOperationsTest, SaveThatFailsHalfWayKeepsTheFileItWasToReplace) {
  Store(Capacity);
  testing::WriteAll(temp.file("old.bin"), {7, 7});
  writer.fault = testing::FaultyWriter::Fault::FailWrite;
  writer.failAfterBytes = Capacity * 8;
  dialogs.files.push_back({Path("old.bin"), 0});
  ops.Button4Click();
  Settle();
  EXPECT_EQ(hooks.log, (std::vector<LogLine>{
                           {"Start saving to bin ...", LogBlue},
                           {SaveFailedMessage(temp.file("old.bin"), "No space left on device"), LogRed}}));
  EXPECT_EQ(testing::ReadAll(temp.file("old.bin")), (std::vector<uint8_t>{7, 7}));
  EXPECT_EQ(temp.names(), std::vector<std::string>{"old.bin"});
}

TEST_F(FileOperationsTest, AppendedExtensionNamingAnotherFileIsAskedAgain) {
  Store(2);
  testing::WriteAll(temp.file("run.bin"), {5});
  for (bool replace : {false, true}) {
    dialogs.asked.clear();
    dialogs.files.push_back({Path("run"), 0});
    dialogs.confirms.push_back(replace);
    ops.Button4Click();
    Settle();
    ASSERT_GE(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1], "confirm " + Path("run.bin") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(testing::ReadAll(temp.file("run.bin")).size(), replace ? 32u : 1u);
  }
}

// The rows counted at the press are written, byte for byte, whatever the
// poll, an auto-save, a clear or a load did to the store meanwhile.
TEST_F(FileOperationsTest, SaveAsWritesTheRowsOfThePressWhateverHappensMeanwhile) {
  testing::WriteAll(temp.file("load.bin"), testing::NumberedCycles(30, 5000));
  struct Case {
    const char* what;
    std::function<void()> meanwhile;
  } cases[] = {
      {"an auto-save", [this] { Tick(150); }},  // fills the store: handed over, 50 rows after it
      {"a clear and new rows", [this] { ClearSampleStore(state, hooks); Store(700, 3000); }},
      {"a load", [this] {
         dialogs.confirms.push_front(true);
         dialogs.files.push_front({Path("load.bin"), 0});
         ops.Button27Click();
         Settle();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearSampleStore(state, hooks);
    Store(900);
    dialogs.files.push_back({Path("mine.bin"), 0});
    dialogs.whileOpen = c.meanwhile;
    ops.Button4Click();
    Settle();
    EXPECT_EQ(testing::ReadAll(temp.file("mine.bin")), testing::NumberedCycles(900));
    EXPECT_NE(std::find(hooks.log.begin(), hooks.log.end(), LogLine{"Save completed!", LogBlue}), hooks.log.end());
  }
  // The text format reads the volts of the press the same way.
  ClearSampleStore(state, hooks);
  Store(900);
  dialogs.files.push_back({Path("mine.txt"), 1});
  dialogs.whileOpen = [this] { ClearSampleStore(state, hooks); Store(900, 7777); };
  ops.Button4Click();
  Settle();
  const std::vector<uint8_t> text = testing::ReadAll(temp.file("mine.txt"));
  ASSERT_EQ(text.size(), 900u * 119);
  const std::string first(text.begin(), text.begin() + 119);
  char expected[160];
  const std::vector<uint8_t> cycle0 = testing::NumberedCycles(1);
  int16_t code;
  std::memcpy(&code, cycle0.data(), 2);
  std::snprintf(expected, sizeof expected, "L00000000,   % 2.6f,   ", CodeToVolts(code, 10.0f));
  EXPECT_EQ(first.substr(0, std::strlen(expected)), expected);
}

TEST_F(FileOperationsTest, SaveAsCancelledOrRunningTwice) {
  Store(900);
  writer.gateWrites = true;
  dialogs.files.push_back({Path("mine.bin"), 0});
  ops.Button4Click();
  ASSERT_TRUE(writer.writeGate.WaitArrived(1));
  EXPECT_EQ(dialogs.progressOpen, 1);

  // A second Save As while the first runs: refused without a dialog.
  const std::size_t asked = dialogs.asked.size();
  ops.Button4Click();
  EXPECT_EQ(dialogs.asked.size(), asked);
  EXPECT_EQ(hooks.log.back(), (LogLine{SaveRunningMessage(temp.file("mine.bin")), LogRed}));

  dialogs.cancelProgress();
  writer.writeGate.OpenForGood();
  Settle();
  EXPECT_EQ(hooks.log.back(), (LogLine{SaveCancelledMessage(temp.file("mine.bin")), LogBlue}));
  EXPECT_TRUE(temp.names().empty()) << "no file, no temporary file";
  EXPECT_EQ(dialogs.progressOpen, 0);
}

TEST_F(FileOperationsTest, AutoSaveNamesTheFileFromTheClockInTheFormats) {
  struct Case {
    const char* dateFormat;
    const char* timeFormat;
    QTime time;
    const char* name;
  } cases[] = {
      {"yyyy/M/d", "H:mm:ss", QTime(9, 7, 2), "2024-3-5 9-07-02"},
      {"d.M.yyyy", "h:mm:ss AP", QTime(21, 7, 2), "5.3.2024 9-07-02 PM"},
      {"dd/MM/yy", "HH:mm:ss", QTime(9, 7, 2), "05-03-24 09-07-02"},
  };
  for (const Case& c : cases) {
    ops.SetDateTimeFormats(QLocale::c(), c.dateFormat, c.timeFormat);
    EXPECT_EQ(ops.AutoSaveBaseNameAt(QDateTime(QDate(2024, 3, 5), c.time)), c.name);
  }
  // The default formats are the system's, without a time-zone field.
  FileOperations system(state, hooks, dialogs, &edit45);
  const QString name = system.AutoSaveBaseNameAt(QDateTime::currentDateTime());
  EXPECT_FALSE(name.contains(u'/') || name.contains(u':')) << name.toStdString();

  Store(Capacity);
  ASSERT_TRUE(ops.AutoSave());
  Settle();
  EXPECT_EQ(hooks.log.back(), (LogLine{"create file 05-03-24 09-07-02", LogBlue}));
  EXPECT_EQ(testing::ReadAll(temp.file("05-03-24 09-07-02.bin")).size(), Capacity * 16u);
}

TEST_F(FileOperationsTest, ChangeLeavesAFullStoreThatIsNotPausedAsItIs) {
  Store(Capacity);
  dialogs.folders.push_back(QString::fromStdString(temp.folder()));
  ops.Button26Click();
  EXPECT_EQ(state.store.cycleCount, Capacity);
  EXPECT_TRUE(temp.names().empty());
}

// A failed write keeps its rows and the store goes on; a second store that
// fills meanwhile pauses the poll. Change writes both at once.
TEST_F(FileOperationsTest, ChangeEndsAPauseAtOnce) {
  testing::TempFolder other;
  edit45.setText(QString::fromStdString(temp.folder() + "unplugged/"));
  Tick(700);
  Tick(700);  // the store fills: handed over, the write fails
  Settle();
  EXPECT_EQ(ops.UnwrittenCycles(), Capacity);
  EXPECT_FALSE(state.paused());
  Tick(700);  // the second store fills while the first is unwritten: 100 wait
  Settle();
  ASSERT_TRUE(state.paused());
  EXPECT_EQ(state.waitingCycles, 100u);

  dialogs.folders.push_back({});
  ops.Button26Click();  // cancelled
  EXPECT_EQ(edit45.text().toStdString(), temp.folder() + "unplugged/");
  EXPECT_TRUE(state.paused());

  const QString picked = QString::fromStdString(other.folder()).chopped(1);
  dialogs.folders.push_back(picked);
  ops.Button26Click();
  EXPECT_EQ(dialogs.asked.back(), "folder " + QString::fromStdString(temp.folder() + "unplugged/"));
  EXPECT_EQ(edit45.text(), picked + "/");
  Settle();  // the first store written, then the second handed over and written
  Settle();
  EXPECT_FALSE(state.paused());
  EXPECT_EQ(state.store.cycleCount, 100u);
  EXPECT_EQ(ops.UnwrittenCycles(), 0u);
  EXPECT_EQ(other.names(), (std::vector<std::string>{"2024-3-5 9-07-02 (2).bin", "2024-3-5 9-07-02.bin"}));
  EXPECT_EQ(testing::ReadAll(other.file("2024-3-5 9-07-02.bin")), testing::NumberedCycles(Capacity));
  EXPECT_EQ(testing::ReadAll(other.file("2024-3-5 9-07-02 (2).bin")), testing::NumberedCycles(Capacity, Capacity));
}

// A slow medium: the poll reads on while the writer flushes; only a second
// full store waits, and the release of the writer ends the pause.
TEST_F(FileOperationsTest, TheWriterHeldPausesOnlyASecondFullStore) {
  writer.syncGate.Close();
  Tick(700);
  Tick(700);  // handed over: the flush waits
  ASSERT_TRUE(writer.syncGate.WaitArrived(1));
  EXPECT_EQ(state.store.cycleCount, 400u);
  Tick(500);
  EXPECT_EQ(state.store.cycleCount, 900u);
  EXPECT_FALSE(state.paused());
  Tick(300);  // the store fills again: 200 wait
  EXPECT_TRUE(state.paused());
  const uint32_t reads = static_cast<uint32_t>(device.count("ReadFIFO"));
  Tick(300);
  EXPECT_EQ(device.count("ReadFIFO"), reads) << "no read while cycles wait";
  writer.syncGate.Open(2);  // both files flush
  RunUntil([&] { return !ops.Busy() && writer.syncGate.arrived() == 2; });
  Settle();
  EXPECT_FALSE(state.paused());
  EXPECT_EQ(state.store.cycleCount, 200u);
  Tick(0);
  EXPECT_EQ(state.store.cycleCount, 500u) << "the held read comes in";
  EXPECT_EQ(testing::ReadAll(temp.file("2024-3-5 9-07-02 (2).bin")), testing::NumberedCycles(Capacity, Capacity));
}

// Closing waits for an unwritten store; a write that fails then asks.
TEST_F(FileOperationsTest, ClosingWaitsForTheWriterAndAsksWhenItFails) {
  writer.syncGate.Close();
  Store(Capacity);
  ASSERT_TRUE(ops.AutoSave());
  int closed = 0;
  EXPECT_FALSE(ops.ReadyToClose([&] { ++closed; }));
  EXPECT_EQ(dialogs.progressOpen, 1);
  EXPECT_FALSE(ops.AutoSave()) << "no new store is handed over while closing waits";
  writer.syncGate.OpenForGood();
  Settle();
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(dialogs.progressOpen, 0);
  EXPECT_TRUE(ops.ReadyToClose([&] { ++closed; }));

  // A failing folder: try again (fails), pick another folder (cancelled, asked
  // again), then discard.
  writer.fault = testing::FaultyWriter::Fault::RefuseCreate;
  Store(Capacity);
  ASSERT_TRUE(ops.AutoSave());
  Settle();
  dialogs.asked.clear();
  dialogs.choices = {0, 1, 2};
  EXPECT_FALSE(ops.ReadyToClose([&] { ++closed; }));
  Settle();
  const QString question = "choose The auto-save of 1000 cycles to " + QString::fromStdString(temp.folder()) +
                           " failed (Permission denied). Try again, pick another folder, or discard them? "
                           "[Try again|Pick another folder|Discard 1000 cycles]";
  EXPECT_EQ(dialogs.asked, (std::vector<QString>{question, "progress Trelvan", question,
                                                 "folder " + QString::fromStdString(temp.folder()), question}));
  EXPECT_EQ(closed, 2);
  EXPECT_EQ(ops.UnwrittenCycles(), 0u);
  EXPECT_EQ(hooks.log.back(), (LogLine{"1000 cycles of a failed auto-save were discarded at closing!", LogRed}));
}

// Closing during a Save As asks: wait for it, or cancel it.
TEST_F(FileOperationsTest, ClosingDuringASaveAsksWhetherToWaitOrCancel) {
  Store(900);
  for (int answer : {0, 1}) {
    SCOPED_TRACE(answer);
    writer.gateWrites = true;
    writer.writeGate.Close();
    dialogs.files.push_back({Path("mine.bin"), 0});
    ops.Button4Click();
    dialogs.choices.push_back(answer);
    int closed = 0;
    EXPECT_FALSE(ops.ReadyToClose([&] { ++closed; }));
    EXPECT_EQ(dialogs.asked.back(), "choose A Save As to " + Path("mine.bin") +
                                         " is still running. Wait for it to end, or cancel it? [Wait|Cancel the save]");
    EXPECT_EQ(closed, 0);
    writer.writeGate.OpenForGood();
    Settle();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(temp.names(), std::vector<std::string>{"mine.bin"});  // the first one's, in both cases
    const LogLine end = answer == 0 ? LogLine{"Save completed!", LogBlue}
                                    : LogLine{SaveCancelledMessage(temp.file("mine.bin")), LogBlue};
    EXPECT_EQ(hooks.log.back(), end);
  }
}

TEST_F(FileOperationsTest, LoadFromAsksOnlyWhenTheStoreHoldsData) {
  testing::WriteAll(temp.file("one.bin"), testing::NumberedCycles(1, 42));
  state.adcConfig.trigCnt = 10;
  // Empty store: no question.
  dialogs.files.push_back({Path("one.bin"), 0});
  ops.Button27Click();
  Settle();
  EXPECT_EQ(dialogs.asked, (std::vector<QString>{"open bin file (*.bin)", "progress Load From"}));
  EXPECT_EQ(state.store.cycleCount, 1u);
  EXPECT_EQ(hooks.log.back(), (LogLine{"current trigCnt is 11!", LogBlue}));

  // Cancel: nothing changes.
  dialogs.asked.clear();
  dialogs.confirms.push_back(false);
  ops.Button27Click();
  EXPECT_EQ(dialogs.asked, std::vector<QString>{"confirm This operation will clear all the previous sample data!!!"});
  EXPECT_EQ(state.store.cycleCount, 1u);

  // OK, then the file dialog cancelled: the store is kept, nothing logged.
  hooks.log.clear();
  dialogs.confirms.push_back(true);
  ops.Button27Click();
  EXPECT_EQ(state.store.cycleCount, 1u);
  EXPECT_TRUE(hooks.log.empty());
}

TEST_F(FileOperationsTest, LoadFromDropsWaitingCyclesBeforeTheClear) {
  edit45.setText(QString::fromStdString(temp.folder() + "unplugged/"));
  Tick(700);
  Tick(700);
  Settle();
  Tick(700);
  ASSERT_TRUE(state.paused());
  hooks.log.clear();
  dialogs.confirms.push_back(true);
  ops.Button27Click();  // the file dialog cancelled: nothing dropped
  EXPECT_TRUE(hooks.log.empty());
  EXPECT_TRUE(state.paused());
  testing::WriteAll(temp.file("one.bin"), testing::NumberedCycles(1, 42));
  dialogs.confirms.push_back(true);
  dialogs.files.push_back({Path("one.bin"), 0});
  dialogs.choices.push_back(0);  // Yes: discard the unsaved cycles
  ops.Button27Click();
  Settle();
  const QString question = "choose " + QString::fromStdString(DiscardQuestion(2 * Capacity + 100)) + " [Yes|No]";
  EXPECT_NE(std::find(dialogs.asked.begin(), dialogs.asked.end(), question), dialogs.asked.end());
  EXPECT_NE(std::find(hooks.log.begin(), hooks.log.end(), LogLine{DroppedCyclesMessage(100), LogRed}), hooks.log.end());
  EXPECT_FALSE(state.paused());
  EXPECT_EQ(state.store.cycleCount, 1u);
  EXPECT_EQ(ops.UnwrittenCycles(), 0u) << "the failed write's rows went with the user's consent";
}

}  // namespace
}  // namespace trelvan
