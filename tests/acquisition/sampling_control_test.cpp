#include <gtest/gtest.h>

#include "acquisition/poll.h"
#include "acquisition/run_health.h"
#include "acquisition/sampling_control.h"
#include "acquisition/store_clear.h"
#include "device/input_error.h"
#include "device/log_colours.h"
#include "support/recording_hooks.h"

namespace trelvan {
namespace {

struct SamplingFixture : ::testing::Test {
  AcquisitionState state{10};
  testing::FakeDeviceLibrary device;
  testing::RecordingHooks hooks{state};
  StartInputs inputs{"/tmp/data/", {"1", "1", "1", "1", "1", "1", "1", "2"}, "10.12.2026 15:40:07"};

  void SetUp() override {
    state.deviceIndex = 0;
    state.fullScaleVolts = 10.0f;
    state.channelFactor.fill(1.0f);
  }
  void ReadSingles(int n) {
    for (int i = 0; i < n; ++i) ReadOnce(state, device, hooks, inputs.factorTexts);
  }
};

TEST_F(SamplingFixture, StartRunsItsStepsInOrder) {
  ReadSingles(3);
  state.adcConfig.trigCnt = 9;
  hooks.calls.clear();
  device.calls.clear();
  StartSample(state, device, hooks, inputs);
  EXPECT_EQ(device.ops(), (std::vector<std::string>{"ADCStart", "InitFIFO"}));
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{
                             "ResetWaveStart", "ResetTableView cc=0", "ClearStatsDisplay",
                             "ClearWaveSeries", "UpdateStatusPanels", "RefreshWaveLabels",
                             "LimitWaveZoom", "SetPollTimer on 200",
                             "Log start sample... 10.12.2026 15:40:07", "RefreshControls"}));
  EXPECT_TRUE(IsRunning(state.adcConfig));
  EXPECT_EQ(state.adcConfig.trigCnt, 0u);
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_EQ(state.channelFactor[7], 2.0f);
}

TEST_F(SamplingFixture, StartRefusalsAndFailures) {
  ReadSingles(2);
  // An empty auto-save folder: a message box, nothing else.
  inputs.autoSavePath.clear();
  hooks.calls.clear();
  StartSample(state, device, hooks, inputs);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{"ShowMessage AutoSave path empty!!!"});
  EXPECT_EQ(state.store.cycleCount, 2u);

  // A bad Factor box: reported before anything changes (the module is not started).
  inputs.autoSavePath = "/tmp/";
  inputs.factorTexts[3] = "x";
  hooks.calls.clear();
  EXPECT_THROW(StartSample(state, device, hooks, inputs), InputError);
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_EQ(device.count("ADCStart"), 0);
  EXPECT_EQ(state.store.cycleCount, 2u);

  // The module refuses: the store is emptied all the same.
  inputs.factorTexts[3] = "1";
  device.startResult = 0;
  StartSample(state, device, hooks, inputs);
  EXPECT_EQ(hooks.log.back(), std::make_pair(std::string("Fail to call Kavrel_ADCStart!"), LogRed));
  EXPECT_EQ(hooks.calls.back(), "RefreshControls");
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_FALSE(IsRunning(state.adcConfig));
  EXPECT_FALSE(hooks.timerEnabled);
  EXPECT_EQ(device.count("InitFIFO"), 0);
}

TEST_F(SamplingFixture, StopSucceedsOrKeepsSampling) {
  StartSample(state, device, hooks, inputs);
  device.stopResult = 0;
  StopSample(state, device, hooks);
  EXPECT_EQ(hooks.log.back(), std::make_pair(std::string("Fail to call Kavrel_ADCStop!"), LogRed));
  EXPECT_TRUE(IsRunning(state.adcConfig));
  EXPECT_TRUE(hooks.timerEnabled);
  device.stopResult = 1;
  hooks.calls.clear();
  StopSample(state, device, hooks);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"SetPollTimer off 200", "RefreshControls"}));
  EXPECT_FALSE(IsRunning(state.adcConfig));
}

TEST_F(SamplingFixture, ReadOnceStoresCountsAndShowsOneCycle) {
  device.cycle = {0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40};
  hooks.calls.clear();
  ReadSingles(2);
  EXPECT_EQ(state.store.cycleCount, 2u);
  EXPECT_EQ(state.adcConfig.trigCnt, 2u);
  EXPECT_EQ(state.store.voltsRow(1)[0], -10.0f);
  EXPECT_EQ(state.store.voltsRow(1)[7], 10.0f);  // factor 2 on AN8
  const std::vector<std::string> one = {"ShowNewestRows 1", "AppendWaveRows 1", "ShowChannelStats",
                                        "UpdateStatusPanels"};
  std::vector<std::string> two = one;
  two.insert(two.end(), one.begin(), one.end());
  EXPECT_EQ(hooks.calls, two);
  EXPECT_TRUE(hooks.log.empty());
}

TEST_F(SamplingFixture, ReadOnceFailures) {
  device.readResult = 0;
  ReadSingles(1);
  EXPECT_EQ(hooks.log.back(), std::make_pair(std::string("Fail to call Kavrel_ADCRead!"), LogRed));
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_EQ(state.adcConfig.trigCnt, 0u);

  device.readResult = 1;
  inputs.factorTexts[0] = "";
  device.calls.clear();
  EXPECT_THROW(ReadSingles(1), InputError);
  EXPECT_EQ(device.count("ADCRead"), 0);
}

TEST_F(SamplingFixture, ReadOnceWithAFullStoreSavesFirstOrRefuses) {
  ReadSingles(10);
  ASSERT_TRUE(state.store.full());
  hooks.autoSaveResults = {false};
  hooks.log.clear();
  ReadSingles(1);
  ASSERT_EQ(hooks.log.size(), 1u);
  EXPECT_EQ(hooks.log[0], std::make_pair(FullStoreNotSavedMessage(), LogRed));
  EXPECT_EQ(state.store.cycleCount, 10u);
  EXPECT_EQ(state.adcConfig.trigCnt, 10u);

  hooks.log.clear();
  device.readResult = 0;
  ReadSingles(1);  // the store is still full: saved first
  EXPECT_EQ(hooks.log[0], std::make_pair(std::string("Previos sample data saved!"), LogBlue));
  EXPECT_EQ(hooks.log[1].first, "Fail to call Kavrel_ADCRead!");
  EXPECT_EQ(state.store.cycleCount, 0u);
}

TEST_F(SamplingFixture, ReadOnceDuringAPauseSavesTheStoreAndSaysSo) {
  device.fifoChunks.push_back(testing::SequenceCycles(15));
  hooks.autoSaveResults = {false};
  Timer1Timer(state, device, hooks);
  ASSERT_EQ(state.waitingCycles, 5u);
  hooks.log.clear();
  ReadSingles(1);
  ASSERT_EQ(hooks.log.size(), 2u);
  EXPECT_EQ(hooks.log[0], std::make_pair(PauseSummaryMessage(0, 5, std::nullopt), LogRed));
  EXPECT_EQ(hooks.log[1], std::make_pair(std::string("Previos sample data saved!"), LogBlue));
  EXPECT_EQ(state.store.cycleCount, 6u) << "the 5 waiting cycles, then the single read";
  EXPECT_EQ(hooks.saved.size(), 10u);
}

}  // namespace
}  // namespace trelvan
