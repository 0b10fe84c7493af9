// The store step of one tick at a quarter, half and all of a full read
// (400,000 / 800,000 / 1,600,000 cycles): each cycle's 16 bytes are read from
// the read buffer, its 16 raw bytes and 32 bytes of volts written to the
// store, with the statistics. That is 64 bytes of memory traffic a cycle
// (102.4 MB for a full read), and the baseline is that floor: memcpy of the
// same 16 bytes a cycle into the raw array plus memset of the 32 bytes of
// volts, the same arrays, all of them touched before. The first touch of a
// fresh store is timed apart.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "acquisition/conversion.h"

namespace {

using namespace trelvan;

constexpr uint32_t FullRead = 1'600'000;

const std::vector<uint8_t>& Read() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> b(std::size_t{FullRead} * CycleBytes);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    return b;
  }();
  return bytes;
}

std::unique_ptr<AcquisitionState> TouchedState() {
  auto state = std::make_unique<AcquisitionState>(FullRead);
  state->fullScaleVolts = 10.0f;
  state->channelFactor.fill(1.0f);
  StoreCycles(*state, Read().data(), FullRead);  // every page touched once
  return state;
}

void BM_StoreStep(benchmark::State& s) {
  const auto cycles = static_cast<uint32_t>(s.range(0));
  auto state = TouchedState();
  for (auto _ : s) {
    state->store.cycleCount = 0;
    StoreCycles(*state, Read().data(), cycles);
    benchmark::DoNotOptimize(state->store.volts.get());
    benchmark::ClobberMemory();
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * cycles * 64);
}
BENCHMARK(BM_StoreStep)->Arg(FullRead / 4)->Arg(FullRead / 2)->Arg(FullRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the read copied into the raw array, the volts array filled.
void BM_StoreFloor(benchmark::State& s) {
  const auto cycles = static_cast<uint32_t>(s.range(0));
  auto state = TouchedState();
  for (auto _ : s) {
    std::memcpy(state->store.raw.get(), Read().data(), std::size_t{cycles} * CycleBytes);
    std::memset(state->store.volts.get(), 0x3f, std::size_t{cycles} * Channels * sizeof(float));
    benchmark::DoNotOptimize(state->store.volts.get());
    benchmark::ClobberMemory();
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * cycles * 64);
}
BENCHMARK(BM_StoreFloor)->Arg(FullRead / 4)->Arg(FullRead / 2)->Arg(FullRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StoreStepFirstTouch(benchmark::State& s) {
  for (auto _ : s) {
    s.PauseTiming();
    auto state = std::make_unique<AcquisitionState>(FullRead);
    state->fullScaleVolts = 10.0f;
    state->channelFactor.fill(1.0f);
    s.ResumeTiming();
    StoreCycles(*state, Read().data(), FullRead);
    benchmark::DoNotOptimize(state->store.volts.get());
  }
}
BENCHMARK(BM_StoreStepFirstTouch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
