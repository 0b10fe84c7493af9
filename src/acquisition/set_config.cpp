#include "acquisition/set_config.h"

#include "device/log_colours.h"

namespace trelvan {

bool SetConfig(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks,
               const AdcConfig& packed) {
  if (packed.wPeriod == 0) {
    hooks.LogMessage("wPeriod can't set to 0!", LogRed);
    return false;
  }
  if (!device.ADCSetConfig(state.deviceIndex, &packed)) {
    hooks.LogMessage("Fail to SetConfig!", LogRed);
    return false;
  }
  hooks.LogMessage("successful SetConfig!", LogBlue);
  state.adcConfig = packed;
  hooks.RefreshControls();
  hooks.UpdateStatusPanels();
  return true;
}

}  // namespace trelvan
