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
    const std::vector<uint8_t> cycles = testing::NumberedCycles(Capacity);
    state.fullScaleVolts = 10.0f;
    state.channelFactor.fill(1.0f);
    StoreCycles(state, cycles.data(), Capacity);
  }
  bool Save(const std::string& folder, std::string name = "2024-3-5 9-07-02") {
    return saver.Save(state, hooks, folder, [name] { return name; }, now);
  }

  testing::TempFolder temp;
  FaultyWriter writer;
  AutoSaver saver{writer};
  AcquisitionState state;
  testing::RecordingHooks hooks;
  AutoSaver::Clock::time_point now{100s};
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

TEST_F(AutoSaverTest, WritesEveryRowThenEmptiesTheStoreButKeepsTheStatistics) {
  const auto stats = state.channelStats;
  const uint64_t emptyings = state.storeEmptyings;
  ASSERT_TRUE(Save(temp.folder()));
  const std::vector<uint8_t> file = testing::ReadAll(temp.file("2024-3-5 9-07-02.bin"));
  ASSERT_EQ(file.size(), Capacity * 16u);
  EXPECT_EQ(file, testing::NumberedCycles(Capacity));
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_EQ(state.storeEmptyings, emptyings + 1);
  EXPECT_EQ(state.channelStats[0].maxVolts, stats[0].maxVolts);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"ClearWaveSeries", "ResetTableView"}));
  EXPECT_EQ(hooks.log, (std::vector<LogLine>{{"create file 2024-3-5 9-07-02", LogBlue}}));
  EXPECT_EQ(saver.FileOfEmptying(state.storeEmptyings), "2024-3-5 9-07-02");
  EXPECT_EQ(temp.names(), std::vector<std::string>{"2024-3-5 9-07-02.bin"});
}

TEST_F(AutoSaverTest, TakenNameGetsANumberAndTheEarlierFileStays) {
  testing::WriteAll(temp.file("2024-3-5 9-07-02.bin"), {9});
  ASSERT_TRUE(Save(temp.folder()));
  EXPECT_EQ(testing::ReadAll(temp.file("2024-3-5 9-07-02.bin")), std::vector<uint8_t>{9});
  EXPECT_EQ(testing::ReadAll(temp.file("2024-3-5 9-07-02 (2).bin")).size(), Capacity * 16u);
  EXPECT_EQ(hooks.log.back().text, "create file 2024-3-5 9-07-02 (2)");
}

// Every failure keeps the store full, leaves no file and says why, in red.
TEST_F(AutoSaverTest, FailureKeepsTheStore) {
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
    hooks.log.clear();
    writer.fault = c.fault;
    writer.failAfterBytes = 800;
    writer.freeBytes = c.freeBytes;
    const std::string folder = c.missingFolder ? temp.folder() + "unplugged/" : temp.folder();
    EXPECT_FALSE(fresh.Save(state, hooks, folder, [] { return std::string("n"); }, now));
    EXPECT_EQ(state.store.cycleCount, Capacity);
    EXPECT_TRUE(temp.names().empty());
    EXPECT_EQ(hooks.log, (std::vector<LogLine>{{"Fail to create file n", LogRed},
                                               {AutoSavePausedMessage(folder, c.reason), LogRed}}));
  }
}

TEST_F(AutoSaverTest, RetriesEveryFiveSecondsOrAtOnceForANewFolderAndLogsChangesOnly) {
  const std::string missing = temp.folder() + "unplugged/";
  EXPECT_FALSE(Save(missing));
  EXPECT_EQ(hooks.log.size(), 2u);
  const std::string paused = hooks.log[1].text;
  EXPECT_NE(paused.find("acquisition is paused"), std::string::npos);
  EXPECT_NE(paused.find("drops cycles once its FIFO is full"), std::string::npos);

  uint64_t asked = 0;
  auto name = [&] { return ++asked, std::string("n"); };
  now += 4900ms;
  EXPECT_FALSE(saver.Save(state, hooks, missing, name, now));
  EXPECT_EQ(asked, 0u);  // not due: nothing tried
  now += 100ms;
  EXPECT_FALSE(saver.Save(state, hooks, missing, name, now));
  EXPECT_EQ(asked, 1u);
  EXPECT_EQ(hooks.log.size(), 2u);  // same folder, same reason: no new lines

  writer.fault = Fault::RefuseCreate;  // another folder: tried at once
  EXPECT_FALSE(saver.Save(state, hooks, temp.folder(), name, now));
  EXPECT_EQ(asked, 2u);
  EXPECT_EQ(hooks.log.size(), 4u);

  writer.fault = Fault::None;
  EXPECT_FALSE(saver.Save(state, hooks, temp.folder(), name, now));  // not due yet
  saver.RetryNow();
  EXPECT_TRUE(saver.Save(state, hooks, temp.folder(), name, now));
  EXPECT_EQ(hooks.log.back(), (LogLine{"create file n", LogBlue}));
  EXPECT_FALSE(saver.failing());
}

}  // namespace
}  // namespace trelvan
