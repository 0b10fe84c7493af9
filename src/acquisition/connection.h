#pragma once
// The connection to the module: connect and disconnect, the removal notice,
// and what the controls show for the connection and the running bit.

#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "device/device_library.h"

namespace trelvan {

// Captions and Enabled states that follow the connection and the running bit.
struct ControlStates {
  std::string windowCaption, button1Caption, button7Caption, panel0;
  bool panel0Red = false;  // a pause, failing reads or lost cycles
  bool button1 = false, button2 = false, button3 = false, button5 = false, button6 = false,
       button9 = false, button20 = false, button25 = false;
};

// The serial number as text: up to its NUL, at most 20 bytes.
std::string SerialText(const AcquisitionState& state);

ControlStates ComputeControlStates(const AcquisitionState& state);

// The values RefreshControls keeps up to date besides the controls.
void RefreshAcquisitionValues(AcquisitionState& state);

// Connect when no module is open, otherwise disconnect. Ends with
// RefreshControls and UpdateStatusPanels, except after a failed
// configuration read (the controls keep the state they had).
void ConnectOrDisconnect(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks);

// A hot-plug notice: a removal (status bit 7 clear) of the open module sets
// deviceIndex to 255 and refreshes the controls; a removal while sampling is
// logged in red with the cycles in the store.
void OnDeviceNotify(AcquisitionState& state, AcquisitionHooks& hooks, uint32_t wParam,
                    uint32_t lParam);

// DFU Mode after the user confirmed it.
void EnterDfuMode(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks);

// Closing the window: the open module is closed (sampling is not stopped).
void CloseOnExit(AcquisitionState& state, DeviceLibrary& device);

}  // namespace trelvan
