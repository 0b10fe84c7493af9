#include <gtest/gtest.h>

#include "acquisition/connection.h"
#include "device/log_colours.h"
#include "support/recording_hooks.h"

namespace trelvan {
namespace {

struct ConnectionFixture : ::testing::Test {
  AcquisitionState state{4};
  testing::FakeDeviceLibrary device;
  testing::RecordingHooks hooks{state};
};

TEST_F(ConnectionFixture, ConnectThenDisconnect) {
  device.openResult = 3;
  device.config.modeBits = 0x00;  // +/-5 V
  device.config.reserved5[1] = 0x5A;
  ConnectOrDisconnect(state, device, hooks);
  EXPECT_EQ(device.ops(), (std::vector<std::string>{"OpenDevice", "GetSerialNo", "ADCGetConfig",
                                                    "DFUPinGet"}));
  EXPECT_EQ(state.deviceIndex, 3);
  EXPECT_EQ(state.adcConfig.reserved5[1], 0x5A);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"Log The device has connected!",
                                                   "RefreshControls", "UpdateStatusPanels"}));
  RefreshAcquisitionValues(state);
  EXPECT_EQ(state.fullScaleVolts, 5.0f);
  EXPECT_EQ(state.readChunkCycles, 1'600'000);
  ControlStates s = ComputeControlStates(state);
  EXPECT_EQ(s.windowCaption, "Trelvan<SN-0001>");
  EXPECT_EQ(s.button7Caption, "Disconnect");
  EXPECT_EQ(s.panel0, "Connected");
  EXPECT_TRUE(s.button2 && s.button6 && s.button1);

  hooks.calls.clear();
  ConnectOrDisconnect(state, device, hooks);
  EXPECT_EQ(device.calls.back().op, "CloseDevice");
  EXPECT_EQ(device.calls.back().index, 3);
  EXPECT_EQ(hooks.log.back(), std::make_pair(std::string("The device has disconnected!"), LogBlue));
  s = ComputeControlStates(state);
  EXPECT_EQ(s.windowCaption, "Trelvan <?\?\?>");
  EXPECT_EQ(s.button7Caption, "Connect");
  EXPECT_FALSE(s.button1 || s.button2 || s.button20);
}

TEST_F(ConnectionFixture, FailedOpenAndFailedConfigurationRead) {
  device.openResult = 255;
  ConnectOrDisconnect(state, device, hooks);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"Log Can't find Kavrel device!",
                                                   "RefreshControls", "UpdateStatusPanels"}));
  EXPECT_EQ(hooks.log.back().second, LogRed);

  device.openResult = 0;
  device.getConfigResult = 0;
  state.adcConfig.wPeriod = 123;
  hooks.calls.clear();
  ConnectOrDisconnect(state, device, hooks);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{"Log Fail to Kavrel_ADCGetConfig!"});
  EXPECT_EQ(state.deviceIndex, NoDevice);
  EXPECT_EQ(state.adcConfig.wPeriod, 123) << "the record is adopted only on success";
  EXPECT_EQ(device.calls.back().op, "CloseDevice");
}

TEST_F(ConnectionFixture, ARunningBitReportedOnConnectOffersStop) {
  device.config.trigBits = 0x81;
  ConnectOrDisconnect(state, device, hooks);
  const ControlStates s = ComputeControlStates(state);
  EXPECT_EQ(s.button1Caption, "StopSample");
  EXPECT_TRUE(s.button1 && s.button20);
  EXPECT_FALSE(s.button2 || s.button3 || s.button5 || s.button6 || s.button9 || s.button25);
}

TEST_F(ConnectionFixture, OnlyARemovalOfTheOpenModuleDisconnects) {
  struct Case {
    uint8_t open;
    uint32_t wParam, lParam;
    bool disconnects;
  } cases[] = {{2, 2, 0x80, false}, {2, 1, 0x00, false}, {255, 255, 0x00, false},
               {2, 2, 0x00, true},  {2, 2, 0x7F, true}};
  for (const Case& c : cases) {
    state.deviceIndex = c.open;
    hooks.calls.clear();
    OnDeviceNotify(state, hooks, c.wParam, c.lParam);
    EXPECT_EQ(state.deviceIndex == NoDevice && c.open != NoDevice, c.disconnects);
    EXPECT_EQ(hooks.calls.size(), c.disconnects ? 1u : 0u);
  }
}

TEST_F(ConnectionFixture, DfuModeLogsItsResult) {
  state.deviceIndex = 0;
  EnterDfuMode(state, device, hooks);
  device.dfuModeResult = 0;
  EnterDfuMode(state, device, hooks);
  EXPECT_EQ(hooks.log[0], std::make_pair(std::string("Enter into DFU mode..."), LogBlue));
  EXPECT_EQ(hooks.log[1], std::make_pair(std::string("Fail to Enter DFU mode..."), LogRed));
  EXPECT_EQ(state.deviceIndex, 0);
}

TEST_F(ConnectionFixture, ASerialNumberWithoutItsNulIsReadTo20Bytes) {
  device.serialWithoutNul = true;
  ConnectOrDisconnect(state, device, hooks);
  EXPECT_EQ(SerialText(state), std::string(20, 'X'));
}

}  // namespace
}  // namespace trelvan
