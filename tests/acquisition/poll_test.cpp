#include <gtest/gtest.h>

#include <numeric>

#include "acquisition/poll.h"
#include "acquisition/sampling_control.h"
#include "acquisition/store_clear.h"
#include "device/log_colours.h"
#include "support/recording_hooks.h"

namespace trelvan {
namespace {

using testing::SequenceCycles;

struct PollFixture : ::testing::Test {
  explicit PollFixture(uint32_t capacity = StoreCapacity) : state(capacity) {}
  AcquisitionState state;
  testing::FakeDeviceLibrary device;
  testing::RecordingHooks hooks{state};
  uint32_t nextSequence = 0;

  void SetUp() override {
    state.deviceIndex = 0;
    state.fullScaleVolts = 10.0f;
    state.channelFactor.fill(1.0f);
    SetRunning(state.adcConfig, true);
  }
  // Queues a read of `cycles` sequence-numbered cycles plus `extraBytes`.
  void QueueRead(uint32_t cycles, uint32_t extraBytes = 0) {
    auto bytes = SequenceCycles(cycles, nextSequence);
    nextSequence += cycles;
    bytes.resize(bytes.size() + extraBytes, 0);
    device.fifoChunks.push_back(std::move(bytes));
  }
  void Tick() {
    hooks.calls.clear();
    Timer1Timer(state, device, hooks);
  }
  std::vector<uint32_t> StoredSequence() const {
    std::vector<uint32_t> seq;
    for (uint32_t r = 0; r < state.store.cycleCount; ++r) seq.push_back(testing::SequenceOf(state.store.rawRow(r)));
    return seq;
  }
};

TEST_F(PollFixture, AReadOf160BytesStoresTenCyclesAndLogsItsLine) {
  QueueRead(10);
  Tick();
  EXPECT_EQ(state.store.cycleCount, 10u);
  EXPECT_EQ(state.adcConfig.trigCnt, 10u);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{
                             "ShowNewestRows 10", "ShowChannelStats", "UpdateStatusPanels",
                             "AppendWaveRows 10",
                             "Log Left = 0 ,current trigCnt is 10 and read 160 bytes!"}));
  EXPECT_EQ(hooks.log.back().second, LogBlue);
  EXPECT_EQ(device.ops(), (std::vector<std::string>{"GetFIFOLeft", "ReadFIFO"}));
  EXPECT_EQ(device.calls[1].arg, 25'600'000u);
}

TEST_F(PollFixture, PartialCyclesAreIgnored) {
  struct Case {
    uint32_t cycles, extra, stored;
  } cases[] = {{1, 4, 1}, {0, 1, 0}, {0, 15, 0}};
  for (const Case& c : cases) {
    const uint32_t before = state.store.cycleCount;
    QueueRead(c.cycles, c.extra);
    Tick();
    EXPECT_EQ(state.store.cycleCount - before, c.stored);
    EXPECT_EQ(hooks.calls.front(), "ShowNewestRows " + std::to_string(c.stored));
    EXPECT_EQ(hooks.calls.size(), 5u) << "views and the log line run even for 0 cycles";
  }
  // maxCycles 0 means no limit: a read of 1..15 bytes never ends the run.
  EXPECT_TRUE(IsRunning(state.adcConfig));
}

TEST_F(PollFixture, FailedOrEmptyReadsAreSilent) {
  device.fifoChunks.push_back({});
  Tick();
  device.readFifoResult = 0;
  device.fifoChunks.push_back(SequenceCycles(3));
  Tick();
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_EQ(state.adcConfig.trigCnt, 0u);
}

TEST_F(PollFixture, AnOverReportedByteCountIsClamped) {
  QueueRead(2);
  device.reportedBytes = 0xFFFFFFF0;
  Tick();
  EXPECT_EQ(state.store.cycleCount, 1'600'000u);
  EXPECT_EQ(state.adcConfig.trigCnt, 1'600'000u);
}

TEST_F(PollFixture, NothingOfAFailedCallReachesTheLogLine) {
  QueueRead(3);
  device.fifoLeft = 1234;
  device.fifoLeftResult = 0;
  Tick();
  EXPECT_EQ(hooks.log.back().first, "Left = 0 ,current trigCnt is 3 and read 48 bytes!");
}

TEST_F(PollFixture, ARunWhoseLimitWasReachedOutsideThePollEnds) {
  state.adcConfig.maxCycles = 50;
  state.adcConfig.trigCnt = 50;  // a load during the run added the rest
  QueueRead(5);
  Tick();
  EXPECT_EQ(device.count("ReadFIFO"), 0);
  EXPECT_FALSE(IsRunning(state.adcConfig));
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"Log Sampling finished: maxCycles reached",
                                                   "RefreshControls", "SetPollTimer off 200"}));
}

TEST_F(PollFixture, AFullReadStoresAllCyclesAndShowsThemOnce) {
  QueueRead(1'600'000);
  Tick();
  EXPECT_EQ(state.store.cycleCount, 1'600'000u);
  EXPECT_EQ(hooks.calls.front(), "ShowNewestRows 1600000");
  const auto seq = StoredSequence();
  EXPECT_EQ(seq.front(), 0u);
  EXPECT_EQ(seq.back(), 1'599'999u);
}

TEST_F(PollFixture, LimitedRunsEndOnlyWhenTrigCntEqualsTheLimit) {
  struct Case {
    std::vector<uint32_t> reads;
    bool endsAfterLast;
  } cases[] = {{{400, 400, 200}, true}, {{900, 200}, false}};
  for (const Case& c : cases) {
    ClearSampleStore(state, hooks);
    state.adcConfig.trigCnt = 0;
    state.adcConfig.maxCycles = 1000;
    SetRunning(state.adcConfig, true);
    for (std::size_t i = 0; i < c.reads.size(); ++i) {
      QueueRead(c.reads[i]);
      Tick();
      const bool last = i + 1 == c.reads.size();
      EXPECT_EQ(IsRunning(state.adcConfig), !(last && c.endsAfterLast));
    }
    if (c.endsAfterLast) {
      EXPECT_EQ(hooks.calls[hooks.calls.size() - 2], "RefreshControls");
      EXPECT_EQ(hooks.calls.back(), "SetPollTimer off 200");
      // A following tick reads nothing more.
      device.calls.clear();
      QueueRead(5);
      Tick();
      EXPECT_EQ(device.count("ReadFIFO"), 0);
      device.fifoChunks.clear();
    }
  }
}

struct SmallStorePoll : PollFixture {
  SmallStorePoll() : PollFixture(100) {}
};

TEST_F(SmallStorePoll, TheStoreFillingMidReadIsAutoSavedAndTheRestStoredFromRowZero) {
  QueueRead(90);
  Tick();
  QueueRead(30);
  Tick();
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{
                             "AutoSave", "ClearLog", "ShowNewestRows 20", "ShowChannelStats",
                             "UpdateStatusPanels", "AppendWaveRows 20",
                             "Log Left = 0 ,current trigCnt is 120 and read 480 bytes!"}));
  EXPECT_EQ(state.store.cycleCount, 20u);
  EXPECT_EQ(StoredSequence().front(), 100u);
  std::vector<uint32_t> expected(100);
  std::iota(expected.begin(), expected.end(), 0u);
  EXPECT_EQ(hooks.saved, expected);
}

TEST_F(SmallStorePoll, AFailedAutoSavePausesUntilASaveSucceedsAndLosesNothing) {
  QueueRead(90);
  Tick();
  hooks.autoSaveResults = {false, false, true};
  QueueRead(30);
  Tick();  // fills the store, the save fails: 20 cycles wait
  EXPECT_TRUE(state.paused());
  EXPECT_EQ(state.waitingCycles, 20u);
  EXPECT_EQ(state.store.cycleCount, 100u);
  EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "ClearLog"), 0);

  QueueRead(7);  // the module goes on sampling; nothing is read while cycles wait
  device.calls.clear();
  Tick();  // the save fails again: silent, no read
  EXPECT_EQ(device.count("ReadFIFO"), 0);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{"AutoSave"});

  Tick();  // the save succeeds: the waiting cycles are stored, then the read
  EXPECT_FALSE(state.paused());
  EXPECT_EQ(device.count("ReadFIFO"), 1);
  EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "ClearLog"), 0)
      << "the red lines of the pause stay in view";
  EXPECT_NE(std::find(hooks.calls.begin(), hooks.calls.end(), "ShowNewestRows 27"), hooks.calls.end());
  std::vector<uint32_t> all = hooks.saved;
  const auto rest = StoredSequence();
  all.insert(all.end(), rest.begin(), rest.end());
  std::vector<uint32_t> expected(127);
  std::iota(expected.begin(), expected.end(), 0u);
  EXPECT_EQ(all, expected);
  EXPECT_EQ(state.adcConfig.trigCnt, 127u);
}

TEST_F(SmallStorePoll, ATickThatEndsAPauseLogsNoBytesOfAFailedRead) {
  QueueRead(90);
  Tick();
  hooks.autoSaveResults = {false, true};
  QueueRead(30);
  Tick();
  ASSERT_TRUE(state.paused());
  device.readFifoResult = 0;
  device.reportedBytes = 999;
  Tick();
  EXPECT_EQ(hooks.log.back().first, "Left = 0 ,current trigCnt is 120 and read 0 bytes!");
  EXPECT_EQ(state.store.cycleCount, 20u);
}

TEST_F(SmallStorePoll, AFullStoreOnALimitedRunsLastReadIsKeptAndNothingIsLost) {
  state.adcConfig.maxCycles = 130;
  QueueRead(90);
  Tick();
  QueueRead(40);  // trigCnt reaches the limit; the store fills with 30 left
  Tick();
  EXPECT_EQ(hooks.calls.front(), "AutoSave") << "saved although trigCnt equals maxCycles";
  EXPECT_EQ(state.store.cycleCount, 30u);
  EXPECT_FALSE(IsRunning(state.adcConfig));
  EXPECT_EQ(hooks.saved.size(), 100u);
}

TEST_F(SmallStorePoll, ALimitedRunWhoseLastCycleFillsTheStoreKeepsItFull) {
  state.adcConfig.maxCycles = 100;
  QueueRead(60);
  Tick();
  QueueRead(40);
  Tick();
  EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "AutoSave"), 0);
  EXPECT_EQ(state.store.cycleCount, 100u);
  EXPECT_FALSE(IsRunning(state.adcConfig));
}

TEST_F(SmallStorePoll, ATickThatBeginsWithAFullStoreSavesItFirst) {
  QueueRead(100);
  hooks.autoSaveResults = {false};
  Tick();  // fills the store exactly; its save fails: nothing waits
  EXPECT_EQ(state.store.cycleCount, 100u);
  EXPECT_FALSE(state.paused());
  device.calls.clear();
  QueueRead(5);
  Tick();
  EXPECT_EQ(hooks.calls.front(), "AutoSave");
  EXPECT_EQ(state.store.cycleCount, 5u);
  EXPECT_EQ(hooks.saved.size(), 100u);
}

TEST_F(SmallStorePoll, ActionsThatEmptyTheStoreSayHowManyWaitingCyclesTheyDrop) {
  QueueRead(90);
  Tick();
  hooks.autoSaveResults = {false};
  QueueRead(30);
  Tick();
  ASSERT_EQ(state.waitingCycles, 20u);
  hooks.log.clear();
  ClearBuff(state, device, hooks);
  EXPECT_FALSE(state.paused());
  ASSERT_EQ(hooks.log.size(), 1u);
  EXPECT_EQ(hooks.log[0].first, DroppedCyclesMessage(20));
  EXPECT_EQ(hooks.log[0].second, LogRed);
}

TEST(PollMessages, OneCycleIsSaidInTheSingular) {
  EXPECT_EQ(DroppedCyclesMessage(1), "1 read cycle that waited for an auto-save was dropped!");
  EXPECT_EQ(DroppedCyclesMessage(2), "2 read cycles that waited for an auto-save were dropped!");
  EXPECT_EQ(UnsavedCyclesMessage(1), "1 cycle is not saved: it waits until an auto-save succeeds!");
  EXPECT_EQ(UnsavedCyclesMessage(2), "2 cycles are not saved: they wait until an auto-save succeeds!");
}

TEST_F(SmallStorePoll, StopDuringAPauseKeepsTheCyclesAndSaysSo) {
  QueueRead(90);
  Tick();
  hooks.autoSaveResults = {false, false, true};
  QueueRead(30);
  Tick();
  hooks.log.clear();
  StopSample(state, device, hooks);
  EXPECT_FALSE(IsRunning(state.adcConfig));
  EXPECT_EQ(state.waitingCycles, 20u);
  ASSERT_EQ(hooks.log.size(), 1u);
  EXPECT_EQ(hooks.log[0].first, UnsavedCyclesMessage(120)) << "the full store and the held cycles";
  // A later EndPause (a new folder) stores them.
  EXPECT_EQ(EndPause(state, hooks), 20u);
  EXPECT_EQ(hooks.saved.size(), 100u);
  EXPECT_EQ(StoredSequence().back(), 119u);
}

}  // namespace
}  // namespace trelvan
