#pragma once
// When the cycles of a run are sampled: the first sample time and the
// distance between samples, from the configuration's period, oversampling
// and trigger mode.

#include <cstdint>
#include <limits>

#include "device/kavrel.h"
#include "signal_generator.h"

namespace kavrel_sim {

constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

struct CycleSchedule {
  int64_t firstUs = kNever;  // sample time of the next cycle; kNever = no trigger comes
  int64_t stepUs = 1;        // distance between cycles
  // Cycles sampled at or before `nowUs` from the first on.
  uint64_t DueBy(int64_t nowUs) const;
};

// One conversion takes 1 us; oversampling by 2^index takes 2^index of them.
int64_t ConversionTimeUs(const AdcConfig& config);
// The configured period, but never shorter than a conversion.
int64_t EffectivePeriodUs(const AdcConfig& config);

// The cycles of a run armed at `originUs`. IO edges come from a square wave
// of `externalPeriodUs` (rising edges at multiples of it); the voltage
// trigger watches the main channel's signal.
CycleSchedule PlanSchedule(const AdcConfig& config, int64_t originUs, int64_t externalPeriodUs,
                           const SignalGenerator& generator, const GenParams& params);

}  // namespace kavrel_sim
