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

bool MayReadFifo(const AcquisitionState& state) {
  return !state.paused() && !state.store.full() && !LimitReached(state.adcConfig);
}

namespace {


std::string PollLine(int32_t fifoLeft, uint32_t trigCnt, uint32_t bytes) {
  char line[128];
  std::snprintf(line, sizeof line, "Left = %d ,current trigCnt is %d and read %d bytes!", fifoLeft,
                static_cast<int32_t>(trigCnt), static_cast<int32_t>(bytes));
  return line;
}

// Stores the reads that `next` hands over, oldest first, while the store can
// take them; each delivered read leaves its line in the log, the last one
// after the views show what was stored. `storedPending`: cycles of a pause
// were stored before (their line is due even without a read).
template <class Next>
void StoreReads(AcquisitionState& state, AcquisitionHooks& hooks, int64_t now, uint32_t& newCycles,
                bool storedPending, Next&& next) {
  std::string line;  // the newest delivering read's line: logged before the next one is stored
  int32_t lastLeft = 0;
  uint32_t lastBytes = 0;
  FifoRead read;
  while (MayReadFifo(state) && next(read)) {
    lastLeft = read.fifoLeftShown;
    lastBytes = read.ok ? read.bytes : 0;
    const uint32_t cycles = read.cycles();
    if (read.ok && read.bytes > 0) {
      if (!line.empty()) hooks.LogMessage(line, LogBlue);
      state.adcConfig.trigCnt += cycles;
      state.waitingOffset = 0;
      state.waitingCycles = cycles;
      state.waitingFullScaleVolts = state.fullScaleVolts;
      state.waitingFactors = state.channelFactor;
      StoreWaiting(state, hooks, newCycles, true);
      line = PollLine(lastLeft, state.adcConfig.trigCnt, lastBytes);
    }
    TrackRead(state, hooks, read.atUs, read.ok, cycles, read.fifoLeft);
    TrackPause(state, hooks, now, false);
  }
  if (!line.empty() || storedPending) {
    ShowStored(hooks, newCycles);
    hooks.LogMessage(line.empty() ? PollLine(lastLeft, state.adcConfig.trigCnt, lastBytes) : line,
                     LogBlue);
  }
}

// The reads the engine queued, each moved into the state's read buffer as it
// is stored (the buffer it replaces goes back to the queue's pool).
bool NextQueuedRead(AcquisitionState& state, FifoRead& read) {
  if (!state.reads.Pop(read)) return false;
  if (read.buffer) {
    std::swap(state.readBuffer, read.buffer);
    state.reads.GiveBack(std::move(read.buffer));
  }
  return true;
}

// A tick: ends a pause first, then stores the reads `next` hands over; ends
// a limited run that is complete.
template <class Next>
void Tick(AcquisitionState& state, AcquisitionHooks& hooks, Next&& next) {
  const int64_t now = hooks.NowUs();
  uint32_t newCycles = 0;
  const uint32_t countBefore = state.store.cycleCount;
  const bool hadPending = state.paused() || state.store.full();
  const bool ready = !hadPending || FinishPending(state, hooks, newCycles);
  const bool storedPending = hadPending && (newCycles > 0 || state.store.cycleCount != countBefore);
  TrackPause(state, hooks, now, ready && MayReadFifo(state));
  if (ready) {
    StoreReads(state, hooks, now, newCycles, storedPending, [&](FifoRead& read) { return next(read, now); });
  } else if (storedPending) {
    ShowStored(hooks, newCycles);
    hooks.LogMessage(PollLine(0, state.adcConfig.trigCnt, 0), LogBlue);
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

}  // namespace

void Timer1Timer(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks) {
  bool readOnce = false;
  Tick(state, hooks, [&](FifoRead& read, int64_t now) {
    if (readOnce) return false;
    readOnce = true;
    read = ReadFifoOnce(device, state.deviceIndex, state.readBuffer.get(), ReadBufferBytes, now);
    return true;
  });
}

void Timer1Timer(AcquisitionState& state, AcquisitionHooks& hooks) {
  Tick(state, hooks, [&](FifoRead& read, int64_t) { return NextQueuedRead(state, read); });
}

uint32_t EndPause(AcquisitionState& state, AcquisitionHooks& hooks) {
  if (!state.paused() && !state.store.full()) return 0;
  uint32_t newCycles = 0;
  const uint32_t countBefore = state.store.cycleCount;
  const bool ready = FinishPending(state, hooks, newCycles);
  const bool stored = newCycles > 0 || state.store.cycleCount != countBefore;
  const int64_t now = hooks.NowUs();
  if (ready && !state.reads.Empty()) {
    // Reads the engine took while the pause held the window follow, each
    // with its line, as the ticks they missed would have stored them.
    TrackPause(state, hooks, now, MayReadFifo(state));
    StoreReads(state, hooks, now, newCycles, stored,
               [&](FifoRead& read) { return NextQueuedRead(state, read); });
  } else if (stored) {
    ShowStored(hooks, newCycles);
  }
  TrackPause(state, hooks, now, false);
  return newCycles;
}

void DropWaitingCycles(AcquisitionState& state, AcquisitionHooks& hooks) {
  const uint64_t queued = state.reads.Cycles();
  if (!state.paused() && queued == 0) {
    state.reads.Drop();  // reads without whole cycles
    return;
  }
  hooks.LogMessage(DroppedCyclesMessage(uint64_t{state.waitingCycles} + queued), LogRed);
  state.reads.Drop();
  state.waitingCycles = 0;
  state.waitingOffset = 0;
  if (!AcquisitionPaused(state)) state.health.pauseOpen = false;
  hooks.UpdateConnectionPanel();
}

std::string DroppedCyclesMessage(uint64_t cycles) {
  if (cycles == 1) return "1 read cycle that waited for an auto-save was dropped!";
  return std::to_string(cycles) + " read cycles that waited for an auto-save were dropped!";
}

std::string UnsavedCyclesMessage(uint64_t cycles) {
  if (cycles == 1) return "1 cycle is not saved: it waits until an auto-save succeeds!";
  return std::to_string(cycles) + " cycles are not saved: they wait until an auto-save succeeds!";
}

}  // namespace trelvan
