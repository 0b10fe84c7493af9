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
constexpr uint32_t kNoiseMask = (1u << SignalGenerator::kNoiseBits) - 1;
constexpr uint32_t kNoiseLaneOffset = 8191;

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

// Noise index of a sample time: a multiplicative hash, so neighbouring
// samples get unrelated values.
inline uint32_t NoiseIndex(uint64_t t) {
  return static_cast<uint32_t>((t * 0x9E3779B97F4A7C15ull) >> (64 - SignalGenerator::kNoiseBits));
}

inline int16_t Clip(int32_t code) {
  return static_cast<int16_t>(std::clamp<int32_t>(code, -32768, 32767));
}

}  // namespace

SignalGenerator::SignalGenerator()
    : tables_(kChannels), noise_(std::size_t{1} << kNoiseBits) {
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
  // Sum of four uniform values: close enough to normal, fixed seed.
  uint32_t state = 0x2545F491u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<int32_t>(state & 0xFFFF) - 32768;
  };
  for (auto& n : noise_) {
    const int32_t sum = next() + next() + next() + next();  // sd ~ 37837
    n = static_cast<int16_t>(std::clamp<int32_t>(sum / 37, -32768, 32767));
  }
}

std::array<SignalGenerator::Lane, SignalGenerator::kChannels> SignalGenerator::Lanes(
    const GenParams& params) const {
  std::array<Lane, kChannels> lanes{};
  const int32_t mul = params.tenVolts ? 1 : 2;
  const double ratio = double(1u << params.osIndex);
  for (int c = 0; c < kChannels; ++c) {
    lanes[c].mul = mul;
    lanes[c].noiseGain =
        static_cast<int32_t>(std::lround(noiseVolts_[c] * kCodesPerVolt / std::sqrt(ratio)));
  }
  return lanes;
}

void SignalGenerator::Generate(const GenParams& params, int64_t t0, int64_t step, uint64_t seq0,
                               size_t count, uint8_t* out) const {
  if (!params.sequence) {
    GenerateSignals(params, t0, step, count, out);
    return;
  }
  uint32_t seq = static_cast<uint32_t>(seq0);
  for (size_t i = 0; i < count; ++i, ++seq, out += 16) {
    uint16_t codes[kChannels];
    for (int c = 0; c < 6; ++c) codes[c] = static_cast<uint16_t>(seq + c);
    codes[6] = static_cast<uint16_t>(seq >> 16);
    codes[7] = static_cast<uint16_t>(seq);
    std::memcpy(out, codes, sizeof codes);
  }
}

void SignalGenerator::GenerateSignals(const GenParams& params, int64_t t0, int64_t step,
                                      size_t count, uint8_t* out) const {
  const auto lanes = Lanes(params);
  uint64_t phase[kChannels];
  uint64_t phaseStep[kChannels];
  for (int c = 0; c < kChannels; ++c) {
    phase[c] = static_cast<uint64_t>(t0) * phaseStep_[c];
    phaseStep[c] = static_cast<uint64_t>(step) * phaseStep_[c];
  }
  uint64_t t = static_cast<uint64_t>(t0);
  for (size_t i = 0; i < count; ++i, out += 16) {
    const uint32_t n = NoiseIndex(t);
    int16_t codes[kChannels];
    for (int c = 0; c < kChannels; ++c) {
      const int32_t wave = tables_[c][(phase[c] >> kTableShift) & kTableMask];
      const int32_t noise = (noise_[(n + c * kNoiseLaneOffset) & kNoiseMask] * lanes[c].noiseGain) >> 10;
      codes[c] = Clip((wave + noise) * lanes[c].mul);
      phase[c] += phaseStep[c];
    }
    std::memcpy(out, codes, sizeof codes);
    t += static_cast<uint64_t>(step);
  }
}

int16_t SignalGenerator::SignalCode(const GenParams& params, unsigned channel, int64_t t) const {
  uint8_t cycle[16];
  GenParams signals = params;
  signals.sequence = false;
  GenerateSignals(signals, t, 1, 1, cycle);
  int16_t code;
  std::memcpy(&code, cycle + 2 * (channel % kChannels), sizeof code);
  return code;
}

}  // namespace kavrel_sim
