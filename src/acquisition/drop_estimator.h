#pragma once
// Cycles the module dropped because its FIFO was full, estimated from the
// clock: in the Period trigger mode a cycle falls due every effective period
// (the configured period, or the oversampling conversion time when that is
// longer), so the cycles due since the start, less those received and those
// still waiting in the FIFO, were lost. The caller feeds the time, so tests
// drive it by hand. Other trigger modes estimate nothing.

#include <cstdint>
#include <optional>
#include <string>

#include "device/adc_config.h"

namespace trelvan {

// The sampling interval of the Period trigger mode in microseconds.
int64_t EffectivePeriodUs(const AdcConfig& config);

class DropEstimator {
 public:
  // A new run: the FIFO was initialised at `startUs`. Forgets earlier losses.
  void Begin(const AdcConfig& config, int64_t startUs, int pollIntervalMs);
  // The run ended (or the module went away): no more estimates; the losses
  // found so far stay.
  void End() { active_ = false; }

  // After a successful FIFO read at `nowUs` that delivered `cycles`, with the
  // FIFO's count reported just before it (empty when that call failed: then
  // only the count is kept). True when a new episode of losses begins: the
  // caller reports `episodeLost()` once.
  bool OnRead(int64_t nowUs, uint32_t cycles, std::optional<int64_t> fifoLeftBefore);

  bool active() const { return active_; }
  bool inEpisode() const { return inEpisode_; }
  // Cycles lost in the episode that began last, and in the whole run.
  uint64_t episodeLost() const { return episodeLost_; }
  uint64_t lost() const { return lost_; }
  // The estimate as of the latest read (0 before any), losses or not.
  int64_t estimate() const { return estimate_; }

 private:
  bool active_ = false;
  bool inEpisode_ = false;
  int64_t startUs_ = 0;
  int64_t periodUs_ = 1;
  int64_t pollCycles_ = 0;  // cycles due in one poll interval
  uint64_t received_ = 0;
  int64_t estimate_ = 0;
  int64_t lastDue_ = 0;
  int64_t baseline_ = 0;  // the estimate that the reports have covered
  uint64_t episodeLost_ = 0;
  uint64_t lost_ = 0;
};

// "Lost ~1.5M", "Lost ~850k", "Lost ~12".
std::string LostCountText(uint64_t cycles);

}  // namespace trelvan
