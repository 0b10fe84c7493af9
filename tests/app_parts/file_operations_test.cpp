#include "app/parts/file_operations.h"

#include <gtest/gtest.h>

#include <deque>

#include "acquisition/conversion.h"
#include "acquisition/poll.h"
#include "device/log_colours.h"
#include "files/file_test_support.h"
#include "files/sample_load.h"
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

  testing::TempFolder temp;
  testing::FaultyWriter writer;
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
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1], "confirm " + Path("run.bin") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(testing::ReadAll(temp.file("run.bin")).size(), replace ? 32u : 1u);
  }
}

TEST_F(FileOperationsTest, AutoSaveWhileTheSaveDialogIsOpenWritesNothing) {
  Store(900);
  dialogs.files.push_back({Path("mine"), 0});
  dialogs.whileOpen = [this] { Tick(150); };  // fills the store: auto-saved, 50 rows after it
  ops.Button4Click();
  EXPECT_EQ(state.store.cycleCount, 50u);
  EXPECT_EQ(temp.names(), std::vector<std::string>{"2024-3-5 9-07-02.bin"});
  EXPECT_EQ(hooks.log.back(), (LogLine{"The data were auto-saved to 2024-3-5 9-07-02.bin while the dialog "
                                       "was open: nothing was written!",
                                       LogRed}));
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
  EXPECT_EQ(hooks.log.back(), (LogLine{"create file 05-03-24 09-07-02", LogBlue}));
  EXPECT_EQ(testing::ReadAll(temp.file("05-03-24 09-07-02.bin")).size(), Capacity * 16u);
}

// Change: the folder gets a separator, and a pause ends at once.
TEST_F(FileOperationsTest, AutoSaveWhileTheReplaceQuestionIsOpenWritesNothing) {
  Store(900);
  testing::WriteAll(temp.file("mine.bin"), {5});
  dialogs.files.push_back({Path("mine"), 0});
  dialogs.confirms.push_back(true);
  // The save dialog closes; the auto-save comes while the question is open.
  dialogs.whileOpen = [this] { dialogs.whileOpen = [this] { Tick(150); }; };
  ops.Button4Click();
  EXPECT_EQ(testing::ReadAll(temp.file("mine.bin")).size(), 1u) << "the old file is kept";
  EXPECT_EQ(hooks.log.back(), (LogLine{"The data were auto-saved to 2024-3-5 9-07-02.bin while the dialog "
                                       "was open: nothing was written!",
                                       LogRed}));
}

TEST_F(FileOperationsTest, ChangeLeavesAFullStoreThatIsNotPausedAsItIs) {
  Store(Capacity);
  dialogs.folders.push_back(QString::fromStdString(temp.folder()));
  ops.Button26Click();
  EXPECT_EQ(state.store.cycleCount, Capacity);
  EXPECT_TRUE(temp.names().empty());
}

TEST_F(FileOperationsTest, ChangeEndsAPauseAtOnce) {
  testing::TempFolder other;
  edit45.setText(QString::fromStdString(temp.folder() + "unplugged/"));
  Tick(700);
  Tick(700);  // the store fills, the folder is missing: 400 cycles wait
  ASSERT_TRUE(state.paused());

  dialogs.folders.push_back({});
  ops.Button26Click();  // cancelled
  EXPECT_EQ(edit45.text().toStdString(), temp.folder() + "unplugged/");
  EXPECT_TRUE(state.paused());

  const QString picked = QString::fromStdString(other.folder()).chopped(1);
  dialogs.folders.push_back(picked);
  ops.Button26Click();
  EXPECT_EQ(dialogs.asked.back(), "folder " + QString::fromStdString(temp.folder() + "unplugged/"));
  EXPECT_EQ(edit45.text(), picked + "/");
  EXPECT_FALSE(state.paused());
  EXPECT_EQ(state.store.cycleCount, 400u);
  EXPECT_EQ(other.names(), std::vector<std::string>{"2024-3-5 9-07-02.bin"});
}

TEST_F(FileOperationsTest, LoadFromAsksOnlyWhenTheStoreHoldsData) {
  testing::WriteAll(temp.file("one.bin"), testing::NumberedCycles(1, 42));
  state.adcConfig.trigCnt = 10;
  // Empty store: no question.
  dialogs.files.push_back({Path("one.bin"), 0});
  ops.Button27Click();
  EXPECT_EQ(dialogs.asked, std::vector<QString>{"open bin file (*.bin)"});
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
  ASSERT_TRUE(state.paused());
  hooks.log.clear();
  dialogs.confirms.push_back(true);
  ops.Button27Click();  // the file dialog cancelled: nothing dropped
  EXPECT_TRUE(hooks.log.empty());
  EXPECT_TRUE(state.paused());
  testing::WriteAll(temp.file("one.bin"), testing::NumberedCycles(1, 42));
  dialogs.confirms.push_back(true);
  dialogs.files.push_back({Path("one.bin"), 0});
  ops.Button27Click();
  ASSERT_FALSE(hooks.log.empty());
  EXPECT_EQ(hooks.log.front(), (LogLine{DroppedCyclesMessage(400), LogRed}));
  EXPECT_FALSE(state.paused());
  EXPECT_EQ(state.store.cycleCount, 1u);
}

}  // namespace
}  // namespace trelvan
