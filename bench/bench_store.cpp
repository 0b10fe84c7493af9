// The store step of one full tick (1,600,000 cycles converted and appended
// with statistics: 76,800,000 bytes written) against memcpy of the same
// bytes, both into memory already touched; and the first touch of a fresh
// store apart.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "acquisition/conversion.h"

namespace {

using namespace trelvan;

constexpr uint32_t Cycles = 1'600'000;

std::vector<uint8_t> MakeRead() {
  std::vector<uint8_t> bytes(std::size_t{Cycles} * CycleBytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  return bytes;
}

void BM_StoreStep(benchmark::State& s) {
  static const std::vector<uint8_t> read = MakeRead();
  AcquisitionState state(Cycles);
  state.fullScaleVolts = 10.0f;
  state.channelFactor.fill(1.0f);
  StoreCycles(state, read.data(), Cycles);  // touch every page once
  for (auto _ : s) {
    state.store.cycleCount = 0;
    StoreCycles(state, read.data(), Cycles);
    benchmark::DoNotOptimize(state.store.volts.get());
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * Cycles * 48);
}
BENCHMARK(BM_StoreStep)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemcpyBaseline(benchmark::State& s) {
  static const std::vector<uint8_t> read = MakeRead();
  std::vector<uint8_t> source(std::size_t{Cycles} * 48, 1);
  std::vector<uint8_t> target(std::size_t{Cycles} * 48, 0);
  for (auto _ : s) {
    std::memcpy(target.data(), source.data(), target.size());
    benchmark::DoNotOptimize(target.data());
  }
  s.SetBytesProcessed(int64_t(s.iterations()) * Cycles * 48);
}
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StoreStepFirstTouch(benchmark::State& s) {
  static const std::vector<uint8_t> read = MakeRead();
  for (auto _ : s) {
    s.PauseTiming();
    auto state = std::make_unique<AcquisitionState>(Cycles);
    state->fullScaleVolts = 10.0f;
    state->channelFactor.fill(1.0f);
    s.ResumeTiming();
    StoreCycles(*state, read.data(), Cycles);
    benchmark::DoNotOptimize(state->store.volts.get());
  }
}
BENCHMARK(BM_StoreStepFirstTouch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
