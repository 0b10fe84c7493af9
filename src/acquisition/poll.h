#pragma once
// The FIFO poll of a running acquisition, and the pause that keeps read
// cycles safe while a full store cannot be auto-saved.

#include <string>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "device/device_library.h"

namespace trelvan {

// One tick of Timer1: ends a pause first, reads the FIFO once (unless cycles
// still wait, the store is full, or a limited run has reached its limit),
// stores every whole cycle with auto-saves as the store fills, updates the
// views, logs one line and ends a completed limited run.
void Timer1Timer(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks);
// The same tick when the acquisition engine reads the FIFO: it stores the
// reads the engine queued (`state.reads`) instead of reading, each with its
// line, as many as the store takes.
void Timer1Timer(AcquisitionState& state, AcquisitionHooks& hooks);
// Whether the FIFO may be read now: no pause, room in the store, the limit
// of a limited run not reached.
bool MayReadFifo(const AcquisitionState& state);

// Ends a pause outside the tick (Stop, Read Once, a new auto-save folder):
// auto-saves a full store, stores the waiting cycles (auto-saving again when
// they fill the store), then the reads the engine queued behind them, and
// shows what it stored. Returns the cycles stored.
uint32_t EndPause(AcquisitionState& state, AcquisitionHooks& hooks);

// Before an operation empties the store on purpose: drops the waiting cycles
// and the engine's queued reads, saying in red how many.
void DropWaitingCycles(AcquisitionState& state, AcquisitionHooks& hooks);

// The red lines of a pause.
std::string DroppedCyclesMessage(uint64_t cycles);
// Cycles of the store and of the read buffer that no auto-save has taken.
std::string UnsavedCyclesMessage(uint64_t cycles);

}  // namespace trelvan
