#include "acquisition/conversion.h"

#include <cstring>

namespace trelvan {

namespace {

// The product of two floats is exact in double precision, so the float
// multiplication below rounds exactly once, as the double product rounded to
// float would.
template <bool ApplyFactors>
void Convert(AcquisitionState& state, const uint8_t* cycles, uint32_t count) {
  SampleStore& store = state.store;
  const uint32_t first = store.cycleCount;
  // Rows read from a file straight into the store are converted in place.
  if (cycles != reinterpret_cast<const uint8_t*>(store.rawRow(first))) {
    std::memcpy(store.rawRow(first), cycles, std::size_t{count} * CycleBytes);
  }

  float scale[Channels];
  float maxV[Channels];
  float minV[Channels];
  for (int c = 0; c < Channels; ++c) {
    scale[c] = state.fullScaleVolts * (1.0f / 32768.0f);
    maxV[c] = state.channelStats[c].maxVolts;
    minV[c] = state.channelStats[c].minVolts;
  }
  const int16_t* raw = store.rawRow(first);
  float* volts = store.voltsRow(first);
  for (uint32_t r = 0; r < count; ++r) {
    for (int c = 0; c < Channels; ++c) {
      float v = static_cast<float>(raw[c]) * scale[c];
      if constexpr (ApplyFactors) v = v * state.channelFactor[c];
      volts[c] = v;
      maxV[c] = v > maxV[c] ? v : maxV[c];
      minV[c] = v < minV[c] ? v : minV[c];
    }
    raw += Channels;
    volts += Channels;
  }
  for (int c = 0; c < Channels; ++c) {
    state.channelStats[c].maxVolts = maxV[c];
    state.channelStats[c].minVolts = minV[c];
  }
  store.cycleCount = first + count;
}

}  // namespace

void StoreCycle(AcquisitionState& state, const uint8_t* cycle) { Convert<true>(state, cycle, 1); }

void StoreCycles(AcquisitionState& state, const uint8_t* cycles, uint32_t count) {
  Convert<true>(state, cycles, count);
}

void StoreLoadedCycles(AcquisitionState& state, const uint8_t* cycles, uint32_t count) {
  Convert<false>(state, cycles, count);
}

}  // namespace trelvan
