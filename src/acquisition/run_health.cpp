#include "acquisition/run_health.h"

#include <algorithm>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "device/log_colours.h"

namespace trelvan {

namespace {

void LogSummary(RunHealth& health, AcquisitionHooks& hooks, std::optional<uint64_t> lost) {
  health.summaryPending = false;
  health.pauseSummary = PauseSummaryMessage(health.pauseDurationUs, health.pauseHeld, lost);
  hooks.LogMessage(health.pauseSummary, LogRed);
}

std::optional<uint64_t> LostSincePause(const RunHealth& health) {
  if (!health.drops.active() && health.drops.lost() == 0) return std::nullopt;
  return health.drops.lost() - std::min(health.drops.lost(), health.lostAtPauseStart);
}

}  // namespace

bool AcquisitionPaused(const AcquisitionState& state) {
  return state.paused() || (state.store.full() && state.health.saveFailed);
}

void ResetRunHealth(RunHealth& health) { health = RunHealth{}; }

void TrackPause(AcquisitionState& state, AcquisitionHooks& hooks, int64_t nowUs, bool reading) {
  RunHealth& health = state.health;
  const bool paused = AcquisitionPaused(state);
  if (paused && !health.pauseOpen) {
    health.pauseOpen = true;
    health.pauseStartUs = nowUs;
    health.pauseHeld = state.waitingCycles;
    health.lostAtPauseStart = health.drops.lost();
  } else if (paused) {
    health.pauseHeld = std::max(health.pauseHeld, state.waitingCycles);
  } else if (health.pauseOpen) {
    health.pauseOpen = false;
    health.pauseDurationUs = nowUs - health.pauseStartUs;
    health.pauseSummary.clear();
    // A new pause is a new episode: its failure is logged again.
    hooks.ForgetAutoSaveReports();
    health.summaryPending = true;
    if (!reading || !health.drops.active()) LogSummary(health, hooks, LostSincePause(health));
  }
  hooks.UpdateConnectionPanel();
}

void TrackRead(AcquisitionState& state, AcquisitionHooks& hooks, int64_t nowUs, bool ok,
               uint32_t cycles, std::optional<int64_t> fifoLeft) {
  RunHealth& health = state.health;
  if (!ok) {
    if (health.failedReads++ == 0) health.firstFailureUs = nowUs;
    if (health.failedReads == FailedReadsReported) {
      health.failureReported = true;
      hooks.LogMessage(ReadsFailingMessage(), LogRed);
    }
    if (health.summaryPending) LogSummary(health, hooks, LostSincePause(health));
    hooks.UpdateConnectionPanel();
    return;
  }
  if (health.failureReported) {
    hooks.LogMessage(ReadsRecoveredMessage(nowUs - health.firstFailureUs), LogBlue);
  }
  health.failedReads = 0;
  health.failureReported = false;
  if (health.drops.OnRead(nowUs, cycles, fifoLeft)) {
    hooks.LogMessage(LostCyclesMessage(health.drops.episodeLost()), LogRed);
  }
  if (health.summaryPending) LogSummary(health, hooks, LostSincePause(health));
  hooks.UpdateConnectionPanel();
}

void RelogPauseSummary(const AcquisitionState& state, AcquisitionHooks& hooks) {
  if (!state.health.pauseSummary.empty()) hooks.LogMessage(state.health.pauseSummary, LogRed);
}

ConnectionPanel ComputeConnectionPanel(const AcquisitionState& state, uint32_t unwrittenFailed) {
  if (state.deviceIndex == NoDevice) return {"Disconnected", false};
  const RunHealth& health = state.health;
  if (AcquisitionPaused(state)) return {"Paused: auto-save", true};
  if (unwrittenFailed > 0) return {"Rows waiting unwritten", true};
  if (health.failureReported) return {"FIFO reads failing", true};
  if (health.drops.lost() > 0) return {LostCountText(health.drops.lost()), true};
  return {"Connected", false};
}

std::string LostCyclesMessage(uint64_t cycles) {
  return "About " + std::to_string(cycles) + " cycles were lost: the module's FIFO was full";
}

std::string PauseSummaryMessage(int64_t durationUs, uint32_t held, std::optional<uint64_t> lost) {
  std::string text = "Acquisition was paused for an auto-save for " + SecondsText(durationUs) +
                     ": " + std::to_string(held) + " read cycles waited";
  if (lost && *lost > 0) text += ", about " + std::to_string(*lost) + " cycles were lost in the module";
  return text;
}

std::string ReadsFailingMessage() {
  return "Reading the module's FIFO has failed for a second: no cycles are read until it works "
         "again!";
}

std::string ReadsRecoveredMessage(int64_t durationUs) {
  return "Reading the module's FIFO works again after failing for " + SecondsText(durationUs);
}

std::string SecondsText(int64_t durationUs) {
  const int64_t tenths = (std::max<int64_t>(0, durationUs) + 50'000) / 100'000;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}

}  // namespace trelvan
