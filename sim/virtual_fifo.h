#pragma once
// The module's FIFO without stored samples: it counts the cycles accepted
// and read, remembers when each stretch of accepted cycles was sampled, and
// generates the codes only when the host reads them.

#include <cstdint>
#include <deque>

#include "signal_generator.h"

namespace kavrel_sim {

class VirtualFifo {
 public:
  explicit VirtualFifo(uint64_t capacity) : capacity_(capacity) {}

  // Empties the FIFO; cycle numbers and the dropped count start from 0.
  void Clear();

  // `due` cycles were sampled at firstUs + k * stepUs (k < due). Accepts
  // them in order until `limit` are taken or the FIFO is full; once it is
  // full, the rest are dropped and counted (the numbers of later cycles
  // count them too). Returns the cycles accepted.
  uint64_t Offer(int64_t firstUs, int64_t stepUs, uint64_t due, uint64_t limit,
                 const GenParams& params);

  // Moves the oldest cycles, at most `maxCycles`, into `out` as 16-byte
  // records; returns how many.
  uint64_t Read(const SignalGenerator& generator, uint8_t* out, uint64_t maxCycles);

  uint64_t Waiting() const { return accepted_ - read_; }
  uint64_t Accepted() const { return accepted_; }
  uint64_t Dropped() const { return dropped_; }
  uint64_t Capacity() const { return capacity_; }

 private:
  // Accepted cycles from `firstSeq` on were sampled `stepUs` apart from
  // `timeUs`, up to the next stretch. A cycle's number counts the cycles
  // dropped before it too: `droppedBefore` of them, so a drop is a gap.
  struct Stretch {
    uint64_t firstSeq;
    uint64_t droppedBefore;
    int64_t timeUs;
    int64_t stepUs;
    GenParams params;
  };

  uint64_t capacity_;
  uint64_t accepted_ = 0;
  uint64_t read_ = 0;
  uint64_t dropped_ = 0;
  std::deque<Stretch> stretches_;
};

}  // namespace kavrel_sim
