#include "acquisition/drop_estimator.h"

#include <algorithm>

namespace trelvan {

int64_t EffectivePeriodUs(const AdcConfig& config) {
  const int64_t unit = PeriodInMilliseconds(config) ? 1000 : 1;
  const int64_t conversion = int64_t{1} << OversamplingIndex(config);
  return std::max(int64_t{config.wPeriod} * unit, conversion);
}

void DropEstimator::Begin(const AdcConfig& config, int64_t startUs, int pollIntervalMs) {
  *this = DropEstimator{};
  active_ = TriggerMode(config) == 1;
  startUs_ = startUs;
  periodUs_ = EffectivePeriodUs(config);
  pollCycles_ = int64_t{pollIntervalMs} * 1000 / periodUs_;
}

bool DropEstimator::OnRead(int64_t nowUs, uint32_t cycles, std::optional<int64_t> fifoLeftBefore) {
  received_ += cycles;
  if (!active_ || !fifoLeftBefore) return false;
  const int64_t due = std::max<int64_t>(0, (nowUs - startUs_) / periodUs_);
  const int64_t stillWaiting = std::max<int64_t>(0, *fifoLeftBefore - int64_t{cycles});
  estimate_ = due - static_cast<int64_t>(received_) - stillWaiting;
  const int64_t dueSinceLast = due - lastDue_;
  lastDue_ = due;

  bool begins = false;
  if (inEpisode_) {
    // Still losing more than the clocks' drift explains: the same episode.
    const int64_t growth = estimate_ - baseline_;
    if (growth > dueSinceLast / 1000 + 2) {
      episodeLost_ += static_cast<uint64_t>(growth);
      baseline_ = estimate_;
    } else {
      inEpisode_ = false;
    }
  } else if (estimate_ - baseline_ > due / 1000 + 2 * pollCycles_) {
    begins = true;
    inEpisode_ = true;
    episodeLost_ = static_cast<uint64_t>(estimate_ - baseline_);
    baseline_ = estimate_;
  }
  if (begins || inEpisode_) lost_ = static_cast<uint64_t>(std::max<int64_t>(0, baseline_));
  return begins;
}

std::string LostCountText(uint64_t cycles) {
  // Whole numbers only, so the text never depends on the locale.
  const auto scaled = [](uint64_t value, uint64_t unit, const char* suffix) {
    const uint64_t tenths = (value * 10 + unit / 2) / unit;
    if (tenths < 1000) {
      return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + suffix;
    }
    return std::to_string((value + unit / 2) / unit) + suffix;
  };
  if (cycles < 1000) return "Lost ~" + std::to_string(cycles);
  if (cycles < 999'500) return "Lost ~" + scaled(cycles, 1000, "k");
  return "Lost ~" + scaled(cycles, 1'000'000, "M");
}

}  // namespace trelvan
