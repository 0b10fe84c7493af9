#include "sampling_engine.h"

#include <limits>

namespace kavrel_sim {

SamplingEngine::SamplingEngine(const SignalGenerator& generator, uint64_t fifoCapacity)
    : generator_(generator), fifo_(fifoCapacity) {}

void SamplingEngine::Discard() {
  running_ = false;
  schedule_ = {};
  fifo_.Clear();
}

void SamplingEngine::DefaultInputs() {
  sequence_ = false;
  params_.sequence = false;
  externalPeriodUs_ = kDefaultExternalPeriodUs;
}

GenParams SamplingEngine::Params(const AdcConfig& config) const {
  GenParams p;
  p.tenVolts = (config.modeBits & 0x10u) != 0;
  p.osIndex = config.modeBits & 0x07u;
  p.sequence = sequence_;
  return p;
}

void SamplingEngine::Arm(const AdcConfig& config, int64_t nowUs) {
  params_ = Params(config);
  schedule_ = PlanSchedule(config, nowUs, externalPeriodUs_, generator_, params_);
}

void SamplingEngine::EndIfLimitReached(const AdcConfig& config) {
  if (running_ && config.maxCycles != 0 && fifo_.Accepted() >= config.maxCycles) running_ = false;
}

void SamplingEngine::Start(AdcConfig& config, int64_t nowUs) {
  fifo_.Clear();
  config.trigCnt = 0;
  running_ = true;
  Arm(config, nowUs);
  EndIfLimitReached(config);
}

void SamplingEngine::Stop(AdcConfig& config, int64_t nowUs) {
  CatchUp(config, nowUs);
  running_ = false;
}

void SamplingEngine::InitFifo(AdcConfig& config, int64_t nowUs) {
  fifo_.Clear();
  config.trigCnt = 0;
  if (running_) Arm(config, nowUs);
}

void SamplingEngine::Rearm(AdcConfig& config, int64_t nowUs) {
  if (!running_) return;
  Arm(config, nowUs);
  EndIfLimitReached(config);
}

void SamplingEngine::CatchUp(AdcConfig& config, int64_t nowUs) {
  if (!running_) return;
  const uint64_t due = schedule_.DueBy(nowUs);
  if (due == 0) return;
  uint64_t limit = std::numeric_limits<uint64_t>::max();
  if (config.maxCycles != 0) {
    limit = config.maxCycles > fifo_.Accepted() ? config.maxCycles - fifo_.Accepted() : 0;
  }
  const uint64_t taken = fifo_.Offer(schedule_.firstUs, schedule_.stepUs, due, limit, params_);
  config.trigCnt += static_cast<uint32_t>(taken);
  schedule_.firstUs += static_cast<int64_t>(due) * schedule_.stepUs;
  EndIfLimitReached(config);
}

uint64_t SamplingEngine::Read(uint8_t* out, uint64_t maxCycles) {
  return fifo_.Read(generator_, out, maxCycles);
}

void SamplingEngine::SetSequence(AdcConfig& config, bool sequence, int64_t nowUs) {
  CatchUp(config, nowUs);
  sequence_ = sequence;
  params_.sequence = sequence;
}

void SamplingEngine::SetExternalPeriod(AdcConfig& config, int64_t periodUs, int64_t nowUs) {
  CatchUp(config, nowUs);
  externalPeriodUs_ = periodUs;
  const unsigned mode = config.trigBits & 0x03u;
  if (mode == 0 || mode == 2) Rearm(config, nowUs);  // the IO trigger modes
}

}  // namespace kavrel_sim
