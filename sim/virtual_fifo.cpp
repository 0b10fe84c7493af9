#include "virtual_fifo.h"

#include <algorithm>

namespace kavrel_sim {

void VirtualFifo::Clear() {
  accepted_ = read_ = dropped_ = 0;
  stretches_.clear();
}

uint64_t VirtualFifo::Offer(int64_t firstUs, int64_t stepUs, uint64_t due, uint64_t limit,
                            const GenParams& params) {
  const uint64_t room = capacity_ - Waiting();
  const uint64_t take = std::min({due, limit, room});
  const uint64_t drops = take < due && take == room && room < limit ? due - take : 0;
  // The accepted cycles come first; the dropped ones follow them.
  const bool continues =
      !stretches_.empty() && stretches_.back().droppedBefore == dropped_ &&
      stretches_.back().stepUs == stepUs &&
      stretches_.back().params == params &&
      stretches_.back().timeUs +
              static_cast<int64_t>(accepted_ - stretches_.back().firstSeq) * stepUs ==
          firstUs;
  if (take > 0 && !continues) stretches_.push_back({accepted_, dropped_, firstUs, stepUs, params});
  accepted_ += take;
  dropped_ += drops;
  return take;
}

uint64_t VirtualFifo::Read(const SignalGenerator& generator, uint8_t* out, uint64_t maxCycles) {
  const uint64_t total = std::min(maxCycles, Waiting());
  uint64_t done = 0;
  while (done < total) {
    // Stretches wholly read are forgotten, so the front one holds read_.
    while (stretches_.size() > 1 && stretches_[1].firstSeq <= read_) stretches_.pop_front();
    const Stretch& s = stretches_.front();
    const uint64_t end = stretches_.size() > 1 ? stretches_[1].firstSeq : accepted_;
    const uint64_t n = std::min(total - done, end - read_);
    const int64_t t0 = s.timeUs + static_cast<int64_t>(read_ - s.firstSeq) * s.stepUs;
    generator.Generate(s.params, t0, s.stepUs, read_ + s.droppedBefore, n, out + done * 16);
    read_ += n;
    done += n;
  }
  return done;
}

}  // namespace kavrel_sim
