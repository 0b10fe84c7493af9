#include "acquisition/set_config.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/log_colours.h"
#include "support/fake_device_library.h"

namespace trelvan {
namespace {

// Records the hooks in the order they were called, with the record the
// state held at each refresh.
struct RecordingHooks : AcquisitionHooks {
  explicit RecordingHooks(const AcquisitionState& s) : state(s) {}
  const AcquisitionState& state;
  std::vector<std::string> events;
  std::vector<AdcConfig> refreshedWith;
  void LogMessage(const std::string& text, uint32_t colour) override {
    events.push_back((colour == LogRed ? "red: " : colour == LogBlue ? "blue: " : "?: ") + text);
  }
  void RefreshControls() override {
    events.push_back("RefreshControls");
    refreshedWith.push_back(state.adcConfig);
  }
  void UpdateStatusPanels() override { events.push_back("UpdateStatusPanels"); }
};

bool SameBytes(const AdcConfig& a, const AdcConfig& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class SetConfigTest : public ::testing::Test {
 protected:
  SetConfigTest() : state(16), hooks(state) {
    state.deviceIndex = 3;
    SetDefaultConfig(state.adcConfig);
    state.adcConfig.reserved5[1] = 0x77;
    old = state.adcConfig;
    packed = old;
    packed.wPeriod = 4464;
    packed.modeBits = 0x05;
    packed.trigCnt = 12;
  }
  AcquisitionState state;
  testing::FakeDeviceLibrary device;
  RecordingHooks hooks;
  AdcConfig old{}, packed{};
};

TEST_F(SetConfigTest, SuccessAdoptsTheWholeRecordThenRefreshes) {
  EXPECT_TRUE(SetConfig(state, device, hooks, packed));
  ASSERT_EQ(device.sentConfigs.size(), 1u);
  EXPECT_EQ(device.calls[0].index, 3);
  EXPECT_TRUE(SameBytes(device.sentConfigs[0], packed));
  EXPECT_TRUE(SameBytes(state.adcConfig, packed));
  EXPECT_EQ(hooks.events, (std::vector<std::string>{"blue: successful SetConfig!",
                                                    "RefreshControls", "UpdateStatusPanels"}));
  ASSERT_EQ(hooks.refreshedWith.size(), 1u);
  EXPECT_TRUE(SameBytes(hooks.refreshedWith[0], packed));
}

TEST_F(SetConfigTest, ModuleRefusalKeepsTheOldRecord) {
  device.setConfigResult = 0;
  EXPECT_FALSE(SetConfig(state, device, hooks, packed));
  EXPECT_EQ(device.count("ADCSetConfig"), 1);
  EXPECT_TRUE(SameBytes(state.adcConfig, old));
  EXPECT_EQ(hooks.events, std::vector<std::string>{"red: Fail to SetConfig!"});
}

// A zero period is refused before anything is sent.
TEST_F(SetConfigTest, ZeroPeriodIsRefusedAndNothingSent) {
  packed.wPeriod = 0;
  EXPECT_FALSE(SetConfig(state, device, hooks, packed));
  EXPECT_TRUE(device.calls.empty());
  EXPECT_TRUE(SameBytes(state.adcConfig, old));
  EXPECT_EQ(hooks.events, std::vector<std::string>{"red: wPeriod can't set to 0!"});
}

}  // namespace
}  // namespace trelvan
