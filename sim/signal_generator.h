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
  static constexpr int kNoiseBits = 16;

  SignalGenerator();

  // Writes `count` 16-byte cycles to `out`: cycle i is sampled at
  // t0 + i * step microseconds and carries number seq0 + i.
  void Generate(const GenParams& params, int64_t t0, int64_t step, uint64_t seq0, size_t count,
                uint8_t* out) const;

  // Code of one input's signal at time t (the trigger looks at it).
  int16_t SignalCode(const GenParams& params, unsigned channel, int64_t t) const;

 private:
  struct Lane {
    int32_t mul;       // 1 for +/-10 V, 2 for +/-5 V
    int32_t noiseGain; // noise scale in codes of the +/-10 V range, Q10
  };
  std::array<Lane, kChannels> Lanes(const GenParams& params) const;
  void GenerateSignals(const GenParams& params, int64_t t0, int64_t step, size_t count,
                       uint8_t* out) const;

  // Per input: the waveform over one period in codes of the +/-10 V range,
  // the phase increment per microsecond (2^40 = one period) and the noise
  // level in volts.
  std::vector<std::array<int32_t, 1u << kTableBits>> tables_;
  std::array<uint64_t, kChannels> phaseStep_{};
  std::array<double, kChannels> noiseVolts_{};
  std::vector<int16_t> noise_;  // roughly normal, standard deviation 1024
};

}  // namespace kavrel_sim
