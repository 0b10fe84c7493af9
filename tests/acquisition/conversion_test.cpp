#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "acquisition/conversion.h"
#include "acquisition/store_clear.h"
#include "support/recording_hooks.h"

namespace trelvan {
namespace {

TEST(CodeToVolts, IsExactAtBothRanges) {
  struct Case {
    int16_t code;
    float fullScale;
    double volts;
  } cases[] = {
      {-32768, 10.0f, -10.0},          {32767, 10.0f, 9.99969482421875},
      {1, 10.0f, 0.00030517578125},    {-1, 10.0f, -0.00030517578125},
      {0, 10.0f, 0.0},                 {-32768, 5.0f, -5.0},
      {32767, 5.0f, 4.999847412109375}, {1, 5.0f, 0.000152587890625},
      {16384, 10.0f, 5.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<double>(CodeToVolts(c.code, c.fullScale)), c.volts) << c.code;
  }
}

struct StoreFixture : ::testing::Test {
  AcquisitionState state{64};
  testing::RecordingHooks hooks{state};
  void SetUp() override {
    state.fullScaleVolts = 10.0f;
    state.channelFactor.fill(1.0f);
    ClearSampleStore(state, hooks);
  }
  void Store(std::array<int16_t, 8> codes) {
    uint8_t bytes[16];
    std::memcpy(bytes, codes.data(), 16);
    StoreCycle(state, bytes);
  }
};

TEST_F(StoreFixture, KeepsRawCodesAndAppliesFactorsToVolts) {
  state.channelFactor[2] = 2.0f;
  state.channelFactor[3] = 0.0f;
  Store({6223, -1638, -32768, 1234, 0, 0, 0, 0});
  ASSERT_EQ(state.store.cycleCount, 1u);
  EXPECT_EQ(state.store.rawRow(0)[2], -32768);
  EXPECT_EQ(state.store.rawRow(0)[3], 1234);
  EXPECT_EQ(state.store.voltsRow(0)[2], -20.0f);
  EXPECT_EQ(state.store.voltsRow(0)[3], 0.0f);
  EXPECT_FLOAT_EQ(state.store.voltsRow(0)[0], 1.899109f);
  // -20.0 as the first value: the strict test leaves maxVolts at -20.0.
  EXPECT_EQ(state.channelStats[2].maxVolts, -20.0f);
  EXPECT_EQ(state.channelStats[2].minVolts, -20.0f);
}

TEST_F(StoreFixture, FactorProductRoundsOnceToFloat) {
  state.channelFactor[0] = 1.1f;
  Store({12345, 0, 0, 0, 0, 0, 0, 0});
  const double exact = static_cast<double>(CodeToVolts(12345, 10.0f)) * static_cast<double>(1.1f);
  EXPECT_EQ(state.store.voltsRow(0)[0], static_cast<float>(exact));
}

TEST_F(StoreFixture, StatisticsAfterAClearFollowTheStrictRules) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float factor;
    int16_t code;
    float max, min;
  } cases[] = {
      {1.0f, 4915, 4915 * 10.0f / 32768, 4915 * 10.0f / 32768},  // ~1.5 V: both become it
      {2.5f, -32768, -20.0f, -25.0f},  // -25 V leaves max at -20
      {2.0f, -32768, -20.0f, -20.0f},  // -20 V: neither strict test holds for max
      {nan, 100, -20.0f, 20.0f},       // NaN changes nothing
  };
  for (const Case& c : cases) {
    ClearSampleStore(state, hooks);
    state.channelFactor[0] = c.factor;
    Store({c.code, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(state.channelStats[0].maxVolts, c.max) << c.factor;
    EXPECT_EQ(state.channelStats[0].minVolts, c.min) << c.factor;
  }
}

TEST_F(StoreFixture, LoadedCyclesIgnoreFactorsAndConvertInPlace) {
  state.channelFactor[0] = 2.0f;
  int16_t* row = state.store.rawRow(0);
  const int16_t codes[8] = {16384, 0, 0, 0, 0, 0, 0, 0};
  std::memcpy(row, codes, 16);
  StoreLoadedCycles(state, reinterpret_cast<const uint8_t*>(row), 1);
  EXPECT_EQ(state.store.voltsRow(0)[0], 5.0f);
  EXPECT_EQ(state.store.rawRow(0)[0], 16384);
  EXPECT_EQ(state.channelStats[0].maxVolts, 5.0f);
}

// One batch of many rows against a row-by-row reference: every code of the
// 16-bit range on some channel, at both ranges, with factors that round; the
// same batch as a file's rows converted in place. Both the 128-bit and the
// 256-bit path (where the processor has it) give the reference's bits.
TEST(StoreBatch, ManyRowsOfOneBatchMatchTheRowByRowRule) {
  constexpr uint32_t Rows = 65'536 / Channels * 3;  // every code, three times over
  std::vector<int16_t> codes(std::size_t{Rows} * Channels);
  uint32_t lcg = 12345;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    lcg = lcg * 1664525u + 1013904223u;
    codes[i] = i < 65'536 ? static_cast<int16_t>(i - 32'768) : static_cast<int16_t>(lcg >> 16);
  }
  const std::array<float, Channels> factors = {1.0f, 1.1f, -0.3f, 2.0f, 0.0f, 1e-3f, 7.77f, -1.0f};
  const std::array<float, Channels> none = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  const bool wideBefore = AllowWideConversion(true);
  for (const bool wide : {true, false}) {
    AllowWideConversion(wide);
    for (const bool loaded : {false, true}) {
      for (const float fullScale : {10.0f, 5.0f}) {
        SCOPED_TRACE(::testing::Message() << (wide ? "wide" : "narrow") << (loaded ? " loaded " : " polled ")
                                        << fullScale << " V");
        const std::array<float, Channels>& applied = loaded ? none : factors;
        AcquisitionState state{Rows};
        state.fullScaleVolts = fullScale;
        state.channelFactor = factors;
        if (loaded) {
          std::memcpy(state.store.rawRow(0), codes.data(), std::size_t{Rows} * CycleBytes);
          StoreLoadedCycles(state, reinterpret_cast<const uint8_t*>(state.store.rawRow(0)), Rows);
        } else {
          StoreCycles(state, reinterpret_cast<const uint8_t*>(codes.data()), Rows);
        }
        ASSERT_EQ(state.store.cycleCount, Rows);
        std::array<ChannelStats, Channels> expected{};
        for (uint32_t r = 0; r < Rows; ++r) {
          for (int c = 0; c < Channels; ++c) {
            const int16_t code = codes[std::size_t{r} * Channels + c];
            const float v = static_cast<float>(static_cast<double>(code) * fullScale / 32768.0 *
                                               static_cast<double>(applied[c]));
            ASSERT_EQ(state.store.rawRow(r)[c], code);
            ASSERT_EQ(state.store.voltsRow(r)[c], v) << "row " << r << " AN" << c + 1;
            if (v > expected[c].maxVolts) expected[c].maxVolts = v;
            if (v < expected[c].minVolts) expected[c].minVolts = v;
          }
        }
        for (int c = 0; c < Channels; ++c) {
          EXPECT_EQ(state.channelStats[c].maxVolts, expected[c].maxVolts) << "AN" << c + 1;
          EXPECT_EQ(state.channelStats[c].minVolts, expected[c].minVolts) << "AN" << c + 1;
        }
      }
    }
  }
  AllowWideConversion(wideBefore);
}

TEST_F(StoreFixture, ClearRunsItsStepsInOrderAndKeepsTrigCnt) {
  Store({1, 2, 3, 4, 5, 6, 7, 8});
  state.adcConfig.trigCnt = 77;
  hooks.calls.clear();
  ClearSampleStore(state, hooks);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"ResetWaveStart", "ResetTableView cc=0",
                                                    "ClearStatsDisplay", "ClearWaveSeries",
                                                    "UpdateStatusPanels", "RefreshWaveLabels"}));
  EXPECT_EQ(state.store.cycleCount, 0u);
  EXPECT_EQ(state.adcConfig.trigCnt, 77u);
  EXPECT_EQ(state.channelStats[0].maxVolts, -20.0f);
  EXPECT_EQ(state.channelStats[0].minVolts, 20.0f);
}

TEST(ClearBuff, SendsTheRecordOnlyWithAModuleOpen) {
  AcquisitionState state(16);
  testing::RecordingHooks hooks(state);
  testing::FakeDeviceLibrary device;
  state.adcConfig.trigCnt = 5;
  ClearBuff(state, device, hooks);
  EXPECT_EQ(state.adcConfig.trigCnt, 5u);
  EXPECT_TRUE(device.calls.empty());

  state.deviceIndex = 0;
  state.adcConfig.reserved2[0] = 0xAB;
  state.adcConfig.reserved5[2] = 0xCD;
  device.setConfigResult = 0;  // not examined
  ClearBuff(state, device, hooks);
  ASSERT_EQ(device.sentConfigs.size(), 1u);
  EXPECT_EQ(device.sentConfigs[0].trigCnt, 0u);
  EXPECT_EQ(device.sentConfigs[0].reserved2[0], 0xAB);
  EXPECT_EQ(device.sentConfigs[0].reserved5[2], 0xCD);
  EXPECT_EQ(state.adcConfig.trigCnt, 0u);
  EXPECT_TRUE(hooks.log.empty());
}

}  // namespace
}  // namespace trelvan
