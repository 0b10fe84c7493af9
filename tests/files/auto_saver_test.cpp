#include "files/auto_saver.h"

#include <gtest/gtest.h>

#include "acquisition/conversion.h"
#include "device/log_colours.h"
#include "files/file_test_support.h"

namespace trelvan {
namespace {

using testing::FaultyWriter;
using testing::LogLine;
using Fault = FaultyWriter::Fault;
using namespace std::chrono_literals;

constexpr uint32_t Capacity = 100;

struct AutoSaverTest : ::testing::Test {
  AutoSaverTest() : state(Capacity) {
    state.fullScaleVolts = 10.0f;
    state.channelFactor.fill(1.0f);
    saver.SetDeliver(reports.deliver());
    Fill(0);
  }
  void Fill(uint32_t first) {
    const std::vector<uint8_t> cycles = testing::NumberedCycles(Capacity, first);
    StoreCycles(state, cycles.data(), Capacity);
  }
  bool Save(const std::string& folder, std::string name = "2024-3-5 9-07-02") {
    return saver.Save(state, hooks, folder, [name] { return name; }, now);
  }
  void Written() { ASSERT_TRUE(reports.RunUntil([this] { return !saver.writing(); })); }

  testing::TempFolder temp;
  FaultyWriter writer;
  testing::ReportQueue reports;
  AcquisitionState state;
  testing::RecordingHooks hooks;
  AutoSaver::Clock::time_point now{100s};
  AutoSaver saver{writer};  // last: its writer thread goes first
};

TEST(AutoSaveName, DateAndTimeTexts) {
  struct Case {
    const char* date;
    const char* time;
    const char* name;
  } cases[] = {
      {"2024/3/5", "9:07:02", "2024-3-5 9-07-02"},
      {"5.3.2024", "9:07:02 PM", "5.3.2024 9-07-02 PM"},
      {"05/03/2024", "21:07:02", "05-03-2024 21-07-02"},
  };
  for (const Case& c : cases) EXPECT_EQ(AutoSaveBaseName(c.date, c.time), c.name);
}

// The store is emptied at the hand-off, before anything is written; the
// file holds every row, and its array comes back as the store's spare.
TEST_F(AutoSaverTest, HandsTheRowsOverAtOnceAndWritesEveryOne) {
  const auto stats = state.channelStats;
  const uint64_t emptyings = state.storeEmptyings;
  const int16_t* handed = state.store.rawRow(0);
  ASSERT_TRUE(Save(temp.folder()));
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_NE(state.store.rawRow(0), handed) << "the store goes on in another array";
  EXPECT_EQ(state.storeEmptyings, emptyings + 1);
  EXPECT_EQ(state.channelStats[0].maxVolts, stats[0].maxVolts);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"ClearWaveSeries", "ResetTableView"}));
  EXPECT_EQ(saver.unwrittenCycles(), Capacity);
  EXPECT_TRUE(hooks.log.empty()) << "logged when the writer reports";

  Written();
  EXPECT_EQ(testing::ReadAll(temp.file("2024-3-5 9-07-02.bin")), testing::NumberedCycles(Capacity));
  EXPECT_EQ(hooks.log, (std::vector<LogLine>{{"create file 2024-3-5 9-07-02", LogBlue}}));
  EXPECT_EQ(saver.unwrittenCycles(), 0u);
  EXPECT_TRUE(state.store.hasSpare());

  // The next full store goes on in the spare: no third array.
  Fill(Capacity);
  ASSERT_TRUE(Save(temp.folder()));
  EXPECT_EQ(state.store.rawRow(0), handed);
  Written();
  EXPECT_EQ(testing::ReadAll(temp.file("2024-3-5 9-07-02 (2).bin")), testing::NumberedCycles(Capacity, Capacity));
  EXPECT_EQ(hooks.log.back().text, "create file 2024-3-5 9-07-02 (2)") << "the earlier file stays";
}

// A failed write keeps its rows and says why, in red; the store goes on,
// and a second full store is refused while they are unwritten.
TEST_F(AutoSaverTest, FailureKeepsTheRowsAndRefusesASecondStore) {
  struct Case {
    const char* what;
    Fault fault;
    int64_t freeBytes;
    bool missingFolder;
    const char* reason;
  } cases[] = {
      {"missing folder", Fault::None, -1, true, "No such file or directory"},
      {"refused", Fault::RefuseCreate, -1, false, "Permission denied"},
      {"disk full", Fault::FailWrite, -1, false, "No space left on device"},
      {"short write", Fault::WriteShort, -1, false, "short write: 800 of 1600 bytes written"},
      {"little room", Fault::None, 1599, false, "less than 1600 bytes free"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AutoSaver fresh(writer);
    fresh.SetDeliver(reports.deliver());
    hooks.log.clear();
    writer.fault = c.fault;
    writer.failAfterBytes = 800;
    writer.freeBytes = c.freeBytes;
    const std::string folder = c.missingFolder ? temp.folder() + "unplugged/" : temp.folder();
    const auto name = [] { return std::string("n"); };
    if (state.store.cycleCount == 0) Fill(0);
    EXPECT_TRUE(fresh.Save(state, hooks, folder, name, now));
    ASSERT_TRUE(reports.RunUntil([&] { return !fresh.writing(); }));
    EXPECT_EQ(fresh.unwrittenCycles(), Capacity);
    EXPECT_TRUE(fresh.failing());
    EXPECT_TRUE(temp.names().empty());
    EXPECT_EQ(hooks.log, (std::vector<LogLine>{{"Fail to create file n", LogRed},
                                               {AutoSavePausedMessage(folder, c.reason), LogRed}}));
    Fill(Capacity);
    EXPECT_FALSE(fresh.Save(state, hooks, folder, name, now));
    EXPECT_EQ(state.store.cycleCount, Capacity) << "refused: the store stays full";
    EXPECT_EQ(fresh.DiscardUnwritten(), Capacity);
  }
}

TEST_F(AutoSaverTest, RetriesEveryFiveSecondsOrAtOnceForANewFolderAndLogsChangesOnly) {
  const std::string missing = temp.folder() + "unplugged/";
  ASSERT_TRUE(Save(missing));
  Written();
  EXPECT_EQ(hooks.log.size(), 2u);
  const std::string paused = hooks.log[1].text;
  EXPECT_NE(paused.find("drops cycles once its FIFO is full"), std::string::npos);

  uint64_t asked = 0;
  auto name = [&] { return ++asked, std::string("n"); };
  now += 4900ms;
  EXPECT_FALSE(saver.Retry(hooks, missing, name, now));
  EXPECT_EQ(asked, 0u);  // not due: nothing tried
  now += 100ms;
  EXPECT_TRUE(saver.Retry(hooks, missing, name, now));
  Written();
  EXPECT_EQ(asked, 1u);
  EXPECT_EQ(hooks.log.size(), 2u);  // same folder, same reason: no new lines

  writer.fault = Fault::RefuseCreate;  // another folder: tried at once
  EXPECT_TRUE(saver.Retry(hooks, temp.folder(), name, now));
  Written();
  EXPECT_EQ(asked, 2u);
  EXPECT_EQ(hooks.log.size(), 4u);

  writer.fault = Fault::None;
  EXPECT_FALSE(saver.Retry(hooks, temp.folder(), name, now));  // not due yet
  saver.RetryNow();
  EXPECT_TRUE(saver.Retry(hooks, temp.folder(), name, now));
  Written();
  EXPECT_EQ(hooks.log.back(), (LogLine{"create file n", LogBlue}));
  EXPECT_FALSE(saver.failing());
  EXPECT_EQ(testing::ReadAll(temp.file("n.bin")), testing::NumberedCycles(Capacity));
}

}  // namespace
}  // namespace trelvan
