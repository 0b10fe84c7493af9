#pragma once
// The module's time base in microseconds: a steady clock counted from the
// library's loading, or a manual one that moves only when told to.

#include <chrono>
#include <cstdint>

namespace kavrel_sim {

class SimClock {
 public:
  SimClock();
  int64_t NowUs() const;
  // Manual mode continues from the current reading.
  void SetManual(bool manual);
  void Advance(uint64_t microseconds);
  bool IsManual() const { return manual_; }

 private:
  int64_t SteadyUs() const;

  std::chrono::steady_clock::time_point origin_;
  bool manual_ = false;
  int64_t manualUs_ = 0;
};

}  // namespace kavrel_sim
