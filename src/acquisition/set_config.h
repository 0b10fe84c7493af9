#pragma once
// "Set Config": sending the record packed from the settings controls.

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "device/device_library.h"

namespace trelvan {

// Sends `packed` (from PackAdcSettings) to the module. A period of 0 is
// refused in red and nothing is sent; a refused record is logged in red and
// adcConfig keeps its old value. On success: logged in blue, adcConfig takes
// the whole new record, then the controls are refreshed and the status
// panels rewritten. Returns true when the module took the record.
bool SetConfig(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks,
               const AdcConfig& packed);

}  // namespace trelvan
