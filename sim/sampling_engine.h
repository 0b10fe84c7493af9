#pragma once
// Continuous sampling: which cycles have fallen due by a given time, the
// cycle limit, and the FIFO they go into. Driven by the module under its
// lock; every step first brings the run up to the time it is given.

#include <cstdint>

#include "cycle_schedule.h"
#include "device/kavrel.h"
#include "signal_generator.h"
#include "virtual_fifo.h"

namespace kavrel_sim {

class SamplingEngine {
 public:
  SamplingEngine(const SignalGenerator& generator, uint64_t fifoCapacity);

  // Idle with an empty FIFO.
  void Discard();
  // Signals and the default IO clock.
  void DefaultInputs();

  // A fresh run: FIFO emptied, trigCnt 0, the first cycle one period (or
  // trigger) after `nowUs`.
  void Start(AdcConfig& config, int64_t nowUs);
  void Stop(AdcConfig& config, int64_t nowUs);
  // Empties the FIFO; a run goes on afresh from `nowUs`, numbering from 0.
  void InitFifo(AdcConfig& config, int64_t nowUs);
  // The configuration changed, or the converter was reset: a run goes on
  // from `nowUs` with the configuration as it is now.
  void Rearm(AdcConfig& config, int64_t nowUs);
  // Accepts every cycle due by `nowUs`; counts them in trigCnt; ends a run
  // that reached maxCycles.
  void CatchUp(AdcConfig& config, int64_t nowUs);

  uint64_t Read(uint8_t* out, uint64_t maxCycles);

  // The source and IO clock apply from `nowUs` on.
  void SetSequence(AdcConfig& config, bool sequence, int64_t nowUs);
  void SetExternalPeriod(AdcConfig& config, int64_t periodUs, int64_t nowUs);

  GenParams Params(const AdcConfig& config) const;
  bool Running() const { return running_; }
  uint64_t Waiting() const { return fifo_.Waiting(); }
  uint64_t Dropped() const { return fifo_.Dropped(); }

  static constexpr int64_t kDefaultExternalPeriodUs = 1000;

 private:
  void Arm(const AdcConfig& config, int64_t nowUs);
  void EndIfLimitReached(const AdcConfig& config);

  const SignalGenerator& generator_;
  VirtualFifo fifo_;
  bool running_ = false;
  bool sequence_ = false;
  int64_t externalPeriodUs_ = kDefaultExternalPeriodUs;
  CycleSchedule schedule_;
  GenParams params_;
};

}  // namespace kavrel_sim
