// What a run tells its user beyond the poll's own line: failing reads, the end
// of a limited run, a pause (its panel, its summary that outlives the log's
// clearing), held cycles converted as their run read them, Stop with unsaved
// cycles, and Read Once's order of factors and pause.
#include <gtest/gtest.h>

#include <algorithm>

#include "acquisition/connection.h"
#include "acquisition/conversion.h"
#include "acquisition/poll.h"
#include "acquisition/run_health.h"
#include "acquisition/sampling_control.h"
#include "acquisition/store_clear.h"
#include "device/input_error.h"
#include "device/log_colours.h"
#include "support/recording_hooks.h"

namespace trelvan {
namespace {

using testing::SequenceCycles;

struct HealthFixture : ::testing::Test {
  AcquisitionState state{100};
  testing::FakeDeviceLibrary device;
  testing::RecordingHooks hooks{state};
  uint32_t nextSequence = 0;

  void SetUp() override {
    state.deviceIndex = 0;
    state.fullScaleVolts = 10.0f;
    state.channelFactor.fill(1.0f);
    SetRunning(state.adcConfig, true);
  }
  void QueueRead(uint32_t cycles) {
    device.fifoChunks.push_back(SequenceCycles(cycles, nextSequence));
    nextSequence += cycles;
  }
  void Tick() {
    hooks.nowUs += 200'000;
    Timer1Timer(state, device, hooks);
  }
  // 90 cycles, then 30 that fill the store; its save fails: 20 wait.
  void Pause(std::deque<bool> saves) {
    QueueRead(90);
    Tick();
    hooks.autoSaveResults = std::move(saves);
    QueueRead(30);
    Tick();
    ASSERT_EQ(state.waitingCycles, 20u);
  }
  int Lines(const std::string& start, uint32_t colour) const {
    return static_cast<int>(std::count_if(hooks.log.begin(), hooks.log.end(), [&](const auto& l) {
      return l.first.rfind(start, 0) == 0 && l.second == colour;
    }));
  }
};

TEST_F(HealthFixture, FifoReadsFailingForASecondAreReportedOnceAndTheirEnd) {
  device.readFifoResult = 0;
  for (int i = 0; i < FailedReadsReported - 1; ++i) Tick();
  EXPECT_TRUE(hooks.log.empty()) << "four failed reads are still silent";
  Tick();
  Tick();
  Tick();
  EXPECT_EQ(hooks.log, (std::vector<std::pair<std::string, uint32_t>>{{ReadsFailingMessage(), LogRed}}));
  EXPECT_EQ(ComputeConnectionPanel(state).text, "FIFO reads failing");
  EXPECT_TRUE(ComputeConnectionPanel(state).red);

  device.readFifoResult = 1;
  device.fifoChunks.push_back({});  // a read that works, with nothing to read
  Tick();
  ASSERT_EQ(hooks.log.size(), 2u);
  EXPECT_EQ(hooks.log[1], std::make_pair(ReadsRecoveredMessage(1'400'000), LogBlue));
  EXPECT_EQ(hooks.log[1].first, "Reading the module's FIFO works again after failing for 1.4 s");
  EXPECT_EQ(ComputeConnectionPanel(state).text, "Connected");
  EXPECT_FALSE(ComputeConnectionPanel(state).red);
}

TEST_F(HealthFixture, TheEndOfALimitedRunIsLogged) {
  state.adcConfig.maxCycles = 50;
  QueueRead(50);
  Tick();
  EXPECT_FALSE(IsRunning(state.adcConfig));
  EXPECT_EQ(hooks.log.back(), std::make_pair(std::string("Sampling finished: maxCycles reached"), LogBlue));
}

TEST_F(HealthFixture, APauseShowsOnPanelZeroAndItsSummaryOutlivesTheLogsClearing) {
  Pause({false, false, true, true});
  EXPECT_EQ(ComputeConnectionPanel(state).text, "Paused: auto-save");
  EXPECT_TRUE(ComputeConnectionPanel(state).red);
  Tick();  // still failing
  EXPECT_TRUE(state.paused());
  // The save succeeds: the pause ends and this tick's read fills the store
  // again, whose auto-save empties the log.
  QueueRead(100);
  Tick();
  EXPECT_FALSE(state.paused());
  EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "ClearLog"), 1);
  const std::string summary = PauseSummaryMessage(400'000, 20, std::nullopt);
  EXPECT_EQ(summary, "Acquisition was paused for an auto-save for 0.4 s: 20 read cycles waited");
  ASSERT_GE(hooks.log.size(), 1u);
  EXPECT_EQ(hooks.log.front(), std::make_pair(summary, LogRed)) << "kept after the clear";
  EXPECT_EQ(ComputeConnectionPanel(state).text, "Connected");
  EXPECT_GE(hooks.autoSaveReportsForgotten, 1) << "the next pause logs its failure again";

  // Start forgets it: a new run.
  StartSample(state, device, hooks, {"/tmp/", {"1", "1", "1", "1", "1", "1", "1", "1"}, ""});
  EXPECT_TRUE(state.health.pauseSummary.empty());
}

TEST_F(HealthFixture, ASummaryCarriesTheLossesEstimatedOverThePause) {
  // A Period run at 1 us whose module dropped cycles while the poll waited.
  state.adcConfig.trigBits = 0x81;
  state.adcConfig.wPeriod = 1;
  state.health.drops.Begin(state.adcConfig, hooks.nowUs, PollIntervalMs);
  device.fifoLeft = 0;
  Pause({false, true});
  hooks.log.clear();
  // The pause ends 5 s later; the FIFO (2,000,000 cycles) is full.
  hooks.nowUs += 4'800'000;
  device.fifoLeft = 2'000'000;
  QueueRead(50);
  Tick();
  // Due 5,400,000; received 170; 1,999,950 still waiting.
  const uint64_t lost = 5'400'000 - 170 - 1'999'950;
  EXPECT_EQ(Lines(LostCyclesMessage(lost), LogRed), 1);
  EXPECT_EQ(Lines(PauseSummaryMessage(5'000'000, 20, lost), LogRed), 1);
  EXPECT_EQ(ComputeConnectionPanel(state).text, "Lost ~3.4M");
  EXPECT_TRUE(ComputeConnectionPanel(state).red);
}

TEST_F(HealthFixture, HeldCyclesKeepTheConversionOfTheirRun) {
  state.channelFactor = {1.0f, 0.5f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 3.0f};
  Pause({false, true});
  // While they wait: the range becomes +/-5 V and the factors change.
  state.fullScaleVolts = 5.0f;
  state.channelFactor.fill(7.0f);
  const std::array<float, Channels> run = {1.0f, 0.5f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 3.0f};
  Tick();
  ASSERT_FALSE(state.paused());
  ASSERT_EQ(state.store.cycleCount, 20u);
  for (uint32_t r = 0; r < 20; ++r) {
    for (int c = 0; c < Channels; ++c) {
      const float expected = CodeToVolts(state.store.rawRow(r)[c], 10.0f) * run[c];
      EXPECT_EQ(state.store.voltsRow(r)[c], expected) << r << " " << c;
    }
  }
}

TEST_F(HealthFixture, ReadOnceChecksTheFactorsThenEndsThePauseThenTakesThem) {
  SetRunning(state.adcConfig, false);
  Pause({false, true});
  FactorTexts factors{"2", "2", "2", "2", "2", "2", "2", "2"};
  factors[3] = "x";
  EXPECT_THROW(ReadOnce(state, device, hooks, factors), InputError);
  EXPECT_TRUE(state.paused()) << "a bad box changes nothing";
  factors[3] = "2";
  device.cycle = std::vector<uint8_t>(16, 0);
  device.cycle[0] = 0x00;
  device.cycle[1] = 0x40;  // AN1 code 16384
  ReadOnce(state, device, hooks, factors);
  EXPECT_FALSE(state.paused());
  ASSERT_EQ(state.store.cycleCount, 21u);
  for (uint32_t r = 0; r < 20; ++r) {
    EXPECT_EQ(state.store.voltsRow(r)[0], CodeToVolts(state.store.rawRow(r)[0], 10.0f)) << r;
  }
  EXPECT_EQ(state.store.voltsRow(20)[0], 10.0f) << "5 V x the new factor 2";
}

TEST_F(HealthFixture, StopWithAFullStoreAndNothingHeldTriesOnceThenCountsIt) {
  QueueRead(100);
  hooks.autoSaveResults = {false, false};
  Tick();  // fills the store exactly; its save fails, nothing waits
  ASSERT_FALSE(state.paused());
  EXPECT_EQ(ComputeConnectionPanel(state).text, "Paused: auto-save");
  hooks.log.clear();
  hooks.calls.clear();
  StopSample(state, device, hooks);
  EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "AutoSave"), 1);
  EXPECT_EQ(hooks.log, (std::vector<std::pair<std::string, uint32_t>>{
                           {UnsavedCyclesMessage(100), LogRed}}));
  EXPECT_EQ(UnsavedCyclesMessage(100), "100 cycles are not saved: they wait until an auto-save succeeds!");

  // With a save that succeeds, Stop says nothing.
  SetRunning(state.adcConfig, true);
  hooks.log.clear();
  StopSample(state, device, hooks);
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_EQ(Lines("", LogRed), 1);
  EXPECT_EQ(Lines("Acquisition was paused for an auto-save for ", LogRed), 1) << "its pause ended";
}

TEST_F(HealthFixture, RemovalWhileSamplingIsLoggedAndAReconnectKeepsTheTotal) {
  QueueRead(60);
  Tick();
  hooks.log.clear();
  OnDeviceNotify(state, hooks, 0, 0x00);
  EXPECT_EQ(state.deviceIndex, NoDevice);
  EXPECT_EQ(hooks.log, (std::vector<std::pair<std::string, uint32_t>>{
                           {"The device was removed while sampling: 60 cycles are in the store", LogRed}}));
  // Not sampling: a removal is not a loss worth a red line.
  state.deviceIndex = 0;
  SetRunning(state.adcConfig, false);
  hooks.log.clear();
  OnDeviceNotify(state, hooks, 0, 0x00);
  EXPECT_TRUE(hooks.log.empty());

  // The module comes back counting from 0; the store still holds the run.
  device.openResult = 0;
  device.config.trigCnt = 0;
  ConnectOrDisconnect(state, device, hooks);
  EXPECT_EQ(state.adcConfig.trigCnt, 60u);
  ConnectOrDisconnect(state, device, hooks);  // disconnect
  ClearBuff(state, device, hooks);
  ConnectOrDisconnect(state, device, hooks);
  EXPECT_EQ(state.adcConfig.trigCnt, 0u) << "an empty store takes the module's count";
}

}  // namespace
}  // namespace trelvan
