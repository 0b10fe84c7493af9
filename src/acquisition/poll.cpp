#include "acquisition/poll.h"

#include <algorithm>
#include <cstdio>

#include "acquisition/conversion.h"
#include "device/log_colours.h"

namespace trelvan {

namespace {

bool LimitReached(const AdcConfig& config) {
  return config.maxCycles != 0 && config.trigCnt == config.maxCycles;
}

// Runs the auto-save of a full store. True when the store has room again.
bool SaveFullStore(AcquisitionState& state, AcquisitionHooks& hooks, uint32_t& newCycles,
                   bool clearLog) {
  const bool emptied = hooks.AutoSave() && !state.store.full();
  state.health.saveFailed = !emptied;
  if (!emptied) return false;
  newCycles = 0;
  if (clearLog) {
    hooks.ClearLog();
    RelogPauseSummary(state, hooks);
  }
  return true;
}

// Stores the waiting cycles, auto-saving whenever the store fills while
// cycles remain. A store that the last waiting cycle fills is auto-saved at
// once unless that cycle completed a limited run. Returns false while cycles
// still wait (an auto-save failed).
bool StoreWaiting(AcquisitionState& state, AcquisitionHooks& hooks, uint32_t& newCycles,
                  bool clearLog) {
  SampleStore& store = state.store;
  while (state.waitingCycles > 0) {
    if (store.full() && !SaveFullStore(state, hooks, newCycles, clearLog)) return false;
    const uint32_t count = std::min(store.room(), state.waitingCycles);
    StoreCyclesAs(state, state.readBuffer.get() + state.waitingOffset, count,
                  state.waitingFullScaleVolts, state.waitingFactors);
    state.waitingOffset += count * CycleBytes;
    state.waitingCycles -= count;
    newCycles += count;
    if (store.full() && state.waitingCycles == 0 && !LimitReached(state.adcConfig)) {
      SaveFullStore(state, hooks, newCycles, clearLog);
    }
  }
  return true;
}

// The pending work a tick or an operation does first: a full store is saved,
// waiting cycles are stored. Returns the cycles it stored in `newCycles`.
bool FinishPending(AcquisitionState& state, AcquisitionHooks& hooks, uint32_t& newCycles) {
  if (state.waitingCycles == 0 && state.store.full()) {
    if (!SaveFullStore(state, hooks, newCycles, false)) return false;
  }
  return StoreWaiting(state, hooks, newCycles, false);
}

void ShowStored(AcquisitionHooks& hooks, uint32_t newCycles) {
  hooks.ShowNewestRows(newCycles);
  hooks.ShowChannelStats();
  hooks.UpdateStatusPanels();
  hooks.AppendWaveRows(newCycles);
}

}  // namespace

void Timer1Timer(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks) {
  const int64_t now = hooks.NowUs();
  uint32_t newCycles = 0;
  const uint32_t countBefore = state.store.cycleCount;
  const bool hadPending = state.paused() || state.store.full();
  const bool ready = !hadPending || FinishPending(state, hooks, newCycles);
  const bool storedPending = hadPending && (newCycles > 0 || state.store.cycleCount != countBefore);
  const bool reading = ready && !state.store.full() && !LimitReached(state.adcConfig);
  TrackPause(state, hooks, now, reading);

  int32_t fifoLeft = 0;
  uint32_t bytesRead = 0;
  bool delivered = false;
  if (reading) {
    // Never trust the library: nothing of a failed call is used, and a count
    // larger than the buffer is cut to it.
    const bool leftKnown = device.GetFIFOLeft(state.deviceIndex, &fifoLeft) != 0;
    if (!leftKnown) fifoLeft = 0;
    const bool ok = device.ReadFIFO(state.deviceIndex, state.readBuffer.get(), ReadBufferBytes,
                                    &bytesRead) != 0;
    bytesRead = ok ? std::min(bytesRead, ReadBufferBytes) : 0;
    delivered = ok && bytesRead > 0;
    const uint32_t cycles = bytesRead / CycleBytes;
    if (delivered) {
      state.adcConfig.trigCnt += cycles;
      state.waitingOffset = 0;
      state.waitingCycles = cycles;
      state.waitingFullScaleVolts = state.fullScaleVolts;
      state.waitingFactors = state.channelFactor;
      StoreWaiting(state, hooks, newCycles, true);
    }
    TrackRead(state, hooks, now, ok, cycles,
              leftKnown ? std::optional<int64_t>(fifoLeft) : std::nullopt);
    TrackPause(state, hooks, now, false);
  }
  if (delivered || storedPending) {
    ShowStored(hooks, newCycles);
    char line[128];
    std::snprintf(line, sizeof line, "Left = %d ,current trigCnt is %d and read %d bytes!",
                  fifoLeft, static_cast<int32_t>(state.adcConfig.trigCnt),
                  static_cast<int32_t>(bytesRead));
    hooks.LogMessage(line, LogBlue);
  }
  // Also when the limit was reached outside the poll (a load adds to trigCnt).
  if (LimitReached(state.adcConfig) && !state.paused()) {
    hooks.LogMessage("Sampling finished: maxCycles reached", LogBlue);
    state.health.drops.End();
    SetRunning(state.adcConfig, false);
    hooks.RefreshControls();
    hooks.SetPollTimer(false, PollIntervalMs);
  }
}

uint32_t EndPause(AcquisitionState& state, AcquisitionHooks& hooks) {
  if (!state.paused() && !state.store.full()) return 0;
  uint32_t newCycles = 0;
  const uint32_t countBefore = state.store.cycleCount;
  FinishPending(state, hooks, newCycles);
  if (newCycles > 0 || state.store.cycleCount != countBefore) ShowStored(hooks, newCycles);
  TrackPause(state, hooks, hooks.NowUs(), false);
  return newCycles;
}

void DropWaitingCycles(AcquisitionState& state, AcquisitionHooks& hooks) {
  if (!state.paused()) return;
  hooks.LogMessage(DroppedCyclesMessage(state.waitingCycles), LogRed);
  state.waitingCycles = 0;
  state.waitingOffset = 0;
  if (!AcquisitionPaused(state)) state.health.pauseOpen = false;
  hooks.UpdateConnectionPanel();
}

std::string DroppedCyclesMessage(uint32_t cycles) {
  if (cycles == 1) return "1 read cycle that waited for an auto-save was dropped!";
  return std::to_string(cycles) + " read cycles that waited for an auto-save were dropped!";
}

std::string UnsavedCyclesMessage(uint64_t cycles) {
  if (cycles == 1) return "1 cycle is not saved: it waits until an auto-save succeeds!";
  return std::to_string(cycles) + " cycles are not saved: they wait until an auto-save succeeds!";
}

}  // namespace trelvan
