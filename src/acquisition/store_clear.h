#pragma once
// Emptying the store, and the "Clear Buff" command.

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "device/device_library.h"

namespace trelvan {

// Empties the store, resets the statistics and the views, in this order:
// wave start, cycleCount 0, table, statistics and their boxes, wave series,
// status panels, wave labels. trigCnt, the factors and the arrays stay.
void ClearSampleStore(AcquisitionState& state, StoreViews& views);

// "Clear Buff": cycles waiting for an auto-save are dropped with a red line,
// the store is emptied, and with a module open trigCnt becomes 0 and the
// whole record is sent (its result is not examined).
void ClearBuff(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks);

}  // namespace trelvan
