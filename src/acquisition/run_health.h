#pragma once
// What a run's user must be told even after the log has scrolled on: cycles
// the module lost, a pause for an auto-save, FIFO reads that keep failing.
// Status panel 0 shows the worst of them; the log gets one line when each
// begins and ends.

#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/drop_estimator.h"

namespace trelvan {

struct AcquisitionState;
struct AcquisitionHooks;

// Failed FIFO reads in a row that make a failure worth a line: a second of polls.
constexpr int FailedReadsReported = 5;

struct RunHealth {
  DropEstimator drops;

  // The last auto-save of the full store failed (the store is unsaved).
  bool saveFailed = false;
  // The pause for an auto-save under way, if any.
  bool pauseOpen = false;
  int64_t pauseStartUs = 0;
  uint32_t pauseHeld = 0;       // the most read cycles that waited
  uint64_t lostAtPauseStart = 0;
  bool summaryPending = false;  // the line waits for the next read's estimate
  int64_t pauseDurationUs = 0;
  // The summary of the pause that ended last: logged again after the poll
  // empties the log, until the next run or Clear Buff.
  std::string pauseSummary;

  // FIFO reads failing in a row.
  int failedReads = 0;
  int64_t firstFailureUs = 0;
  bool failureReported = false;
};

// Cycles wait for an auto-save, or the full store's auto-save failed.
bool AcquisitionPaused(const AcquisitionState& state);

// A new run (Start) or a cleared store: everything forgotten.
void ResetRunHealth(RunHealth& health);

// After anything that may begin or end a pause; `reading` says that a FIFO
// read follows at once (the tick), so the summary waits for its estimate.
void TrackPause(AcquisitionState& state, AcquisitionHooks& hooks, int64_t nowUs, bool reading);
// After a FIFO read: the drop estimate, a pending pause summary, and the
// failure or recovery of the reads. `fifoLeft` is empty when it failed.
void TrackRead(AcquisitionState& state, AcquisitionHooks& hooks, int64_t nowUs, bool ok,
               uint32_t cycles, std::optional<int64_t> fifoLeft);
// Logs the summary of the latest pause again (after the log was emptied).
void RelogPauseSummary(const AcquisitionState& state, AcquisitionHooks& hooks);

// Panel 0: its text, and whether it is shown in red.
struct ConnectionPanel {
  std::string text;
  bool red = false;
};
// `unwrittenFailed`: rows the auto-save writer holds after a failed write.
ConnectionPanel ComputeConnectionPanel(const AcquisitionState& state, uint32_t unwrittenFailed = 0);

std::string LostCyclesMessage(uint64_t cycles);
std::string PauseSummaryMessage(int64_t durationUs, uint32_t held, std::optional<uint64_t> lost);
std::string ReadsFailingMessage();
std::string ReadsRecoveredMessage(int64_t durationUs);
// "12.3 s" from microseconds, locale-free.
std::string SecondsText(int64_t durationUs);

}  // namespace trelvan
