#include "sim_clock.h"

namespace kavrel_sim {

SimClock::SimClock() : origin_(std::chrono::steady_clock::now()) {}

int64_t SimClock::SteadyUs() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               origin_)
      .count();
}

int64_t SimClock::NowUs() const { return manual_ ? manualUs_ : SteadyUs(); }

void SimClock::SetManual(bool manual) {
  if (manual && !manual_) manualUs_ = SteadyUs();
  manual_ = manual;
}

void SimClock::Advance(uint64_t microseconds) {
  if (manual_) manualUs_ += static_cast<int64_t>(microseconds);
}

}  // namespace kavrel_sim
