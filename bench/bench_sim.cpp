// The simulated module's FIFO at its fastest period (1 us): producing the
// 1,600,000 cycles of one full read (1.6 s of sampling) must cost at most
// 5% of those 1.6 s. Baselines in the same run: memcpy of the same 25.6 MB,
// and the acquisition core's store step on the same cycles.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "acquisition/acquisition_state.h"
#include "acquisition/conversion.h"
#include "device/kavrel.h"
#include "kavrel_sim.h"

namespace {

constexpr uint32_t kCycles = 1'600'000;
constexpr uint32_t kBytes = kCycles * KAVREL_CYCLE_BYTES;

std::unique_ptr<uint8_t[]> TouchedBuffer() {
  auto buffer = std::make_unique<uint8_t[]>(kBytes);
  std::memset(buffer.get(), 1, kBytes);
  return buffer;
}

// One full read per iteration: start at 1 us, let 1.6 s pass on the
// simulated clock, read it all.
void ReadFullFifo(benchmark::State& state, uint32_t source) {
  KavrelSim_Reset();
  KavrelSim_SetManualClock(1);
  KavrelSim_SelectSource(source);
  const uint8_t index = Kavrel_OpenDevice();
  AdcConfig config{};
  config.modeBits = 0x10;  // +/-10 V, microseconds
  config.trigBits = 0x01;  // Period
  config.wPeriod = 1;
  if (index == KAVREL_NO_DEVICE || !Kavrel_ADCSetConfig(index, &config)) {
    state.SkipWithError("module not available");
    return;
  }
  auto buffer = TouchedBuffer();
  for (auto _ : state) {
    Kavrel_ADCStart(index);
    Kavrel_InitFIFO(index);
    KavrelSim_AdvanceClock(kCycles);
    uint32_t got = 0;
    Kavrel_ReadFIFO(index, buffer.get(), kBytes, &got);
    if (got != kBytes) state.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer.get());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kBytes);
  KavrelSim_Reset();
}

void BM_SimReadFifoSignals(benchmark::State& state) { ReadFullFifo(state, KAVREL_SIM_SIGNALS); }
void BM_SimReadFifoSequence(benchmark::State& state) { ReadFullFifo(state, KAVREL_SIM_SEQUENCE); }

void BM_MemcpyBaseline(benchmark::State& state) {
  auto from = TouchedBuffer();
  auto to = TouchedBuffer();
  for (auto _ : state) {
    std::memcpy(to.get(), from.get(), kBytes);
    benchmark::DoNotOptimize(to.get());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kBytes);
}

void BM_StoreCyclesBaseline(benchmark::State& state) {
  auto cycles = TouchedBuffer();
  trelvan::AcquisitionState acquisition(kCycles);
  acquisition.fullScaleVolts = 10.0f;
  acquisition.channelFactor.fill(1.0f);
  // Commit the store's pages before timing.
  trelvan::StoreCycles(acquisition, cycles.get(), kCycles);
  for (auto _ : state) {
    acquisition.store.cycleCount = 0;
    trelvan::StoreCycles(acquisition, cycles.get(), kCycles);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kBytes);
}

}  // namespace

BENCHMARK(BM_SimReadFifoSignals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimReadFifoSequence)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreCyclesBaseline)->Unit(benchmark::kMillisecond);
