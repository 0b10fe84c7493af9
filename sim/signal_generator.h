#pragma once
// The module's analogue inputs: eight waveforms, each a pure function of the
// sample time, read from tables built once; or the sequence test pattern.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel_sim {

// What shapes the codes of a stretch of cycles.
struct GenParams {
  bool tenVolts = true;     // input range +/-10 V, else +/-5 V
  uint8_t osIndex = 0;      // oversampling index 0..6 (ratio 2^index)
  bool sequence = false;    // test pattern instead of signals
  bool operator==(const GenParams&) const = default;
};

class SignalGenerator {
 public:
  static constexpr int kChannels = 8;
  static constexpr int kTableBits = 12;
  static constexpr int kNoiseLevels = 256;

  SignalGenerator();

  // Writes `count` 16-byte cycles to `out`: cycle i is sampled at
  // t0 + i * step microseconds and carries number seq0 + i.
  void Generate(const GenParams& params, int64_t t0, int64_t step, uint64_t seq0, size_t count,
                uint8_t* out) const;

 private:
  // Per input: the noise levels in codes of the configured range, after
  // oversampling.
  using NoiseTable = std::array<std::array<int32_t, kNoiseLevels>, kChannels>;
  void NoiseCodes(const GenParams& params, NoiseTable& codes) const;
  void GenerateSignals(const GenParams& params, int64_t t0, int64_t step, size_t count,
                       uint8_t* out) const;

  // Per input: the waveform over one period in codes of the +/-10 V range,
  // the phase increment per microsecond (2^40 = one period) and the noise
  // level in volts.
  std::vector<std::array<int32_t, 1u << kTableBits>> tables_;
  std::array<uint64_t, kChannels> phaseStep_{};
  std::array<double, kChannels> noiseVolts_{};
  // Normal quantiles, standard deviation 1024; a hash of the sample time
  // picks one per input.
  std::array<int16_t, kNoiseLevels> noise_{};
};

}  // namespace kavrel_sim
