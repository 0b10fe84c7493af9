#pragma once
// Start, Stop and Read Once.

#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "acquisition/channel_factors.h"
#include "device/device_library.h"

namespace trelvan {

struct StartInputs {
  std::string autoSavePath;     // Edit45
  FactorTexts factorTexts;      // the eight Factor boxes
  std::string startDateTime;    // the moment of the start as locale date and time text
};

// Start: refused with a message box when the auto-save folder is empty; a bad
// Factor box is reported (InputError) before anything changes. Otherwise the
// store is emptied, the module started, the poll timer set to 200 ms, the
// FIFO initialised, trigCnt set to 0, the factors read and the start logged.
void StartSample(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks,
                 const StartInputs& inputs);

// Stop: the module stopped, the timer off, the running bit cleared; the store
// and cycles waiting for an auto-save are kept, and one try ends the pause.
void StopSample(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks);

// Read Once: one cycle read, counted, stored and shown.
void ReadOnce(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks,
              const FactorTexts& factorTexts);

std::string FullStoreNotSavedMessage();

}  // namespace trelvan
