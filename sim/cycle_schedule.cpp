#include "cycle_schedule.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kavrel_sim {
namespace {

enum TriggerMode { kIo = 0, kPeriod = 1, kIoAndPeriod = 2, kVoltageAndPeriod = 3 };
enum IoEdge { kFalling = 0, kRising = 1, kBoth = 2 };

// The longest waveform period (the slow ramp) plus a margin: a level the
// main channel does not reach within it is never reached.
constexpr int64_t kTriggerHorizonUs = 61'000'000;
constexpr int64_t kTriggerProbes = 200'000;
constexpr size_t kProbeBatch = 4096;

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// First IO edge of the configured type after `originUs`, and the distance
// between such edges.
CycleSchedule IoEdges(const AdcConfig& config, int64_t originUs, int64_t externalPeriodUs) {
  const unsigned edge = (config.trigBits >> 2) & 0x03u;
  const int64_t half = externalPeriodUs / 2;
  const int64_t step = edge == kBoth ? half : externalPeriodUs;
  const int64_t phase = edge == kFalling ? half : 0;  // rising edges at multiples of the period
  CycleSchedule s;
  s.stepUs = step;
  s.firstUs = phase + (FloorDiv(originUs - phase, step) + 1) * step;
  return s;
}

// First sample time on the period grid at which the main channel's level
// meets the trigger condition, probing at most kTriggerProbes instants.
int64_t VoltageTrigger(const AdcConfig& config, int64_t firstUs, int64_t periodUs,
                       const SignalGenerator& generator, const GenParams& params) {
  const bool below = (config.trigBits & 0x10u) != 0;
  const int64_t fullScaleMv = params.tenVolts ? 10000 : 5000;
  const int64_t threshold = int64_t{config.trigVolMv} * 32768;
  const int64_t stride =
      periodUs * std::max<int64_t>(1, kTriggerHorizonUs / (periodUs * kTriggerProbes) + 1);
  GenParams signals = params;
  signals.sequence = false;
  std::vector<uint8_t> probe(kProbeBatch * 16);
  const unsigned channel = config.mainChannel & 0x07u;
  for (int64_t done = 0; done * stride <= kTriggerHorizonUs; done += kProbeBatch) {
    const int64_t t0 = firstUs + done * stride;
    generator.Generate(signals, t0, stride, 0, kProbeBatch, probe.data());
    for (size_t i = 0; i < kProbeBatch; ++i) {
      int16_t code;
      std::memcpy(&code, probe.data() + 16 * i + 2 * channel, sizeof code);
      const int64_t level = int64_t{code} * fullScaleMv;  // millivolts x 32768
      if (below ? level < threshold : level > threshold) return t0 + int64_t(i) * stride;
    }
  }
  return kNever;
}

}  // namespace

uint64_t CycleSchedule::DueBy(int64_t nowUs) const {
  if (firstUs == kNever || nowUs < firstUs) return 0;
  return static_cast<uint64_t>((nowUs - firstUs) / stepUs) + 1;
}

int64_t ConversionTimeUs(const AdcConfig& config) { return int64_t{1} << (config.modeBits & 0x07u); }

int64_t EffectivePeriodUs(const AdcConfig& config) {
  const int64_t unit = (config.modeBits & 0x20u) ? 1000 : 1;
  return std::max<int64_t>(int64_t{config.wPeriod} * unit, ConversionTimeUs(config));
}

CycleSchedule PlanSchedule(const AdcConfig& config, int64_t originUs, int64_t externalPeriodUs,
                           const SignalGenerator& generator, const GenParams& params) {
  const int64_t period = EffectivePeriodUs(config);
  CycleSchedule s;
  switch (config.trigBits & 0x03u) {
    case kIo: {
      s = IoEdges(config, originUs, externalPeriodUs);
      // Edges that come while a conversion runs are missed.
      const int64_t conversion = ConversionTimeUs(config);
      if (s.stepUs < conversion) s.stepUs *= (conversion + s.stepUs - 1) / s.stepUs;
      break;
    }
    case kPeriod:
      s.firstUs = originUs + period;
      s.stepUs = period;
      break;
    case kIoAndPeriod:
      s.firstUs = IoEdges(config, originUs, externalPeriodUs).firstUs;
      s.stepUs = period;
      break;
    case kVoltageAndPeriod:
      s.firstUs = VoltageTrigger(config, originUs + period, period, generator, params);
      s.stepUs = period;
      break;
  }
  return s;
}

}  // namespace kavrel_sim
