#include "signal_generator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kavrel_sim {
namespace {

enum class Shape { Sine, Square, Triangle, Sawtooth, Flat };

struct InputSignal {
  Shape shape;
  double periodSeconds;  // 0 for the flat ones
  double amplitude;      // volts
  double offset;         // volts
  double noise;          // volts, standard deviation without oversampling
};

// Periods avoid round numbers so that no usual sampling period freezes them.
constexpr InputSignal kInputs[SignalGenerator::kChannels] = {
    {Shape::Sine, 4.7, 4.0, 0.0, 0.01},       // AN1 slow sine
    {Shape::Sine, 1.3, 2.0, 1.0, 0.01},       // AN2 faster sine above zero
    {Shape::Square, 6.1, 3.0, 0.0, 0.01},     // AN3 square
    {Shape::Triangle, 9.3, 7.0, 0.0, 0.01},   // AN4 triangle, clips in the 5 V range
    {Shape::Sawtooth, 3.1, 4.0, 0.0, 0.01},   // AN5 sawtooth
    {Shape::Sawtooth, 60.0, 9.0, 0.0, 0.01},  // AN6 slow ramp over a minute
    {Shape::Flat, 0.0, 0.0, 2.5, 0.01},       // AN7 DC level
    {Shape::Flat, 0.0, 0.0, -2.0, 0.5},       // AN8 noise
};

constexpr double kCodesPerVolt = 32768.0 / 10.0;
constexpr int kPhaseBits = 40;  // one period = 2^40 phase units
constexpr int kTableShift = kPhaseBits - SignalGenerator::kTableBits;
constexpr uint32_t kTableMask = (1u << SignalGenerator::kTableBits) - 1;

double ShapeAt(Shape shape, double turn) {  // turn in [0, 1)
  switch (shape) {
    case Shape::Sine: return std::sin(2.0 * std::numbers::pi * turn);
    case Shape::Square: return turn < 0.5 ? 1.0 : -1.0;
    case Shape::Triangle: return turn < 0.5 ? 4.0 * turn - 1.0 : 3.0 - 4.0 * turn;
    case Shape::Sawtooth: return 2.0 * turn - 1.0;
    case Shape::Flat: return 0.0;
  }
  return 0.0;
}

// 64 well-mixed bits of a sample time, one byte of noise per input, so
// neighbouring samples get unrelated values.
inline uint64_t NoiseBits(uint64_t t) {
  uint64_t z = t + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// x with Phi(x) = p, by bisection (only used to build the table).
double NormalQuantile(double p) {
  double lo = -8.0, hi = 8.0;
  for (int i = 0; i < 60; ++i) {
    const double mid = 0.5 * (lo + hi);
    (0.5 * std::erfc(-mid / std::numbers::sqrt2) < p ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

inline int16_t Clip(int32_t code) {
  return static_cast<int16_t>(std::clamp<int32_t>(code, -32768, 32767));
}

}  // namespace

SignalGenerator::SignalGenerator()
    : tables_(kChannels) {
  const uint32_t size = 1u << kTableBits;
  for (int c = 0; c < kChannels; ++c) {
    const InputSignal& in = kInputs[c];
    for (uint32_t i = 0; i < size; ++i) {
      const double volts = in.offset + in.amplitude * ShapeAt(in.shape, double(i) / size);
      tables_[c][i] = static_cast<int32_t>(std::lround(volts * kCodesPerVolt));
    }
    phaseStep_[c] = in.periodSeconds > 0
                        ? static_cast<uint64_t>(std::llround(std::ldexp(1.0, kPhaseBits) /
                                                             (in.periodSeconds * 1e6)))
                        : 0;
    noiseVolts_[c] = in.noise;
  }
  for (int i = 0; i < kNoiseLevels; ++i) {
    noise_[i] = static_cast<int16_t>(std::lround(1024.0 * NormalQuantile((i + 0.5) / kNoiseLevels)));
  }
}

void SignalGenerator::NoiseCodes(const GenParams& params, NoiseTable& codes) const {
  const int32_t mul = params.tenVolts ? 1 : 2;
  const double ratio = double(1u << params.osIndex);
  for (int c = 0; c < kChannels; ++c) {
    const int32_t gain =
        static_cast<int32_t>(std::lround(noiseVolts_[c] * kCodesPerVolt / std::sqrt(ratio)));
    for (int i = 0; i < kNoiseLevels; ++i) codes[c][i] = ((noise_[i] * gain) >> 10) * mul;
  }
}

void SignalGenerator::Generate(const GenParams& params, int64_t t0, int64_t step, uint64_t seq0,
                               size_t count, uint8_t* out) const {
  if (!params.sequence) {
    GenerateSignals(params, t0, step, count, out);
    return;
  }
  uint32_t seq = static_cast<uint32_t>(seq0);
  for (size_t i = 0; i < count; ++i, ++seq, out += 16) {
    // AN1..AN6: the low half plus the input's number; AN7:AN8 the number.
    const uint64_t low = ((seq + 0u) & 0xFFFFu) | (((seq + 1u) & 0xFFFFu) << 16) |
                         uint64_t{(seq + 2u) & 0xFFFFu} << 32 | uint64_t{(seq + 3u) & 0xFFFFu} << 48;
    const uint64_t high = ((seq + 4u) & 0xFFFFu) | (((seq + 5u) & 0xFFFFu) << 16) |
                          uint64_t{seq >> 16} << 32 | uint64_t{seq & 0xFFFFu} << 48;
    std::memcpy(out, &low, 8);
    std::memcpy(out + 8, &high, 8);
  }
}

void SignalGenerator::GenerateSignals(const GenParams& params, int64_t t0, int64_t step,
                                      size_t count, uint8_t* out) const {
  NoiseTable noise;
  NoiseCodes(params, noise);
  const int32_t mul = params.tenVolts ? 1 : 2;
  uint64_t phase[kChannels];
  uint64_t phaseStep[kChannels];
  for (int c = 0; c < kChannels; ++c) {
    phase[c] = static_cast<uint64_t>(t0) * phaseStep_[c];
    phaseStep[c] = static_cast<uint64_t>(step) * phaseStep_[c];
  }
  uint64_t t = static_cast<uint64_t>(t0);
  for (size_t i = 0; i < count; ++i, out += 16) {
    const uint64_t bits = NoiseBits(t);
#pragma GCC unroll 8
    for (int c = 0; c < kChannels; ++c) {
      const int32_t wave = tables_[c][(phase[c] >> kTableShift) & kTableMask];
      const int16_t code = Clip(wave * mul + noise[c][(bits >> (8 * c)) & 0xFF]);
      std::memcpy(out + 2 * c, &code, sizeof code);  // straight out: no store-forwarding stall
      phase[c] += phaseStep[c];
    }
    t += static_cast<uint64_t>(step);
  }
}

}  // namespace kavrel_sim
