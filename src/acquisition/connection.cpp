#include "acquisition/connection.h"

#include <cstring>

#include "acquisition/run_health.h"
#include "device/log_colours.h"

namespace trelvan {

std::string SerialText(const AcquisitionState& state) {
  return std::string(state.serialNo, strnlen(state.serialNo, sizeof state.serialNo));
}

ControlStates ComputeControlStates(const AcquisitionState& state) {
  const bool running = IsRunning(state.adcConfig);
  const bool connected = state.deviceIndex != NoDevice;
  ControlStates s;
  s.button1Caption = running ? "StopSample" : "StartSample";
  if (connected) {
    s.windowCaption = "Trelvan<" + SerialText(state) + ">";
    s.button7Caption = "Disconnect";
  } else {
    s.windowCaption = "Trelvan <?\?\?>";
    s.button7Caption = "Connect";
  }
  const ConnectionPanel panel = ComputeConnectionPanel(state);
  s.panel0 = panel.text;
  s.panel0Red = panel.red;
  const bool idle = connected && !running;
  s.button1 = connected;
  s.button20 = connected;
  s.button2 = s.button3 = s.button5 = s.button6 = s.button9 = s.button25 = idle;
  return s;
}

void RefreshAcquisitionValues(AcquisitionState& state) {
  state.fullScaleVolts = RangeIsTenVolts(state.adcConfig) ? 10.0f : 5.0f;
  state.readChunkCycles = ReadChunkCycles;
}

void ConnectOrDisconnect(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks) {
  std::memset(state.serialNo, 0, sizeof state.serialNo);
  if (state.deviceIndex != NoDevice) {
    device.CloseDevice(state.deviceIndex);
    state.deviceIndex = NoDevice;
    state.health.drops.End();  // no module, no cycles due
    hooks.LogMessage("The device has disconnected!", LogBlue);
  } else {
    state.deviceIndex = device.OpenDevice();
    if (state.deviceIndex == NoDevice) {
      hooks.LogMessage("Can't find Kavrel device!", LogRed);
    } else {
      device.GetSerialNo(state.deviceIndex, state.serialNo);
      AdcConfig reported{};
      if (!device.ADCGetConfig(state.deviceIndex, &reported)) {
        hooks.LogMessage("Fail to Kavrel_ADCGetConfig!", LogRed);
        device.CloseDevice(state.deviceIndex);
        state.deviceIndex = NoDevice;
        return;
      }
      // The store's rows are this program's run: a module that comes back
      // (counting from 0 again) does not make them uncounted.
      const uint32_t trigCnt = state.adcConfig.trigCnt;
      state.adcConfig = reported;
      if (state.store.cycleCount > 0) state.adcConfig.trigCnt = trigCnt;
      uint8_t pin = 0;
      device.DFUPinGet(state.deviceIndex, &pin);
      hooks.ShowDfuPin(pin != 0);
      hooks.LogMessage("The device has connected!", LogBlue);
    }
  }
  hooks.RefreshControls();
  hooks.UpdateStatusPanels();
}

void OnDeviceNotify(AcquisitionState& state, AcquisitionHooks& hooks, uint32_t wParam,
                    uint32_t lParam) {
  if (lParam & 0x80u) return;
  if (state.deviceIndex == NoDevice || state.deviceIndex != wParam) return;
  state.deviceIndex = NoDevice;
  if (IsRunning(state.adcConfig)) {
    state.health.drops.End();
    hooks.LogMessage("The device was removed while sampling: " +
                         std::to_string(state.store.cycleCount) + " cycles are in the store",
                     LogRed);
  }
  hooks.RefreshControls();
}

void EnterDfuMode(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks) {
  if (device.DFUMode(state.deviceIndex)) {
    hooks.LogMessage("Enter into DFU mode...", LogBlue);
  } else {
    hooks.LogMessage("Fail to Enter DFU mode...", LogRed);
  }
}

void CloseOnExit(AcquisitionState& state, DeviceLibrary& device) {
  if (state.deviceIndex == NoDevice) return;
  device.CloseDevice(state.deviceIndex);
  state.deviceIndex = NoDevice;
}

}  // namespace trelvan
