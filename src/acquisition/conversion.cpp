#include "acquisition/conversion.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trelvan {

namespace {

// The product of two floats is exact in double precision, so the float
// multiplication below rounds exactly once, as the double product rounded to
// float would.
// `Stream`: the rows bypass the cache on their way to memory (a file's
// pieces, which nothing reads again soon); a store-bound write then costs its
// bytes once instead of twice.
template <bool ApplyFactors, bool Stream = false>
void Convert(AcquisitionState& state, const uint8_t* cycles, uint32_t count, float fullScaleVolts,
             const float* factors) {
  SampleStore& store = state.store;
  const uint32_t first = store.cycleCount;
  // The codes are copied into the store in the same pass as they are
  // converted; rows read from a file straight into the store are converted
  // in place.
  const bool copy = cycles != reinterpret_cast<const uint8_t*>(store.rawRow(first));

  const float scale = fullScaleVolts * (1.0f / 32768.0f);
  float maxV[Channels];
  float minV[Channels];
  for (int c = 0; c < Channels; ++c) {
    maxV[c] = state.channelStats[c].maxVolts;
    minV[c] = state.channelStats[c].minVolts;
  }
  const auto* source = reinterpret_cast<const int16_t*>(cycles);
  int16_t* raw = store.rawRow(first);
  float* volts = store.voltsRow(first);
#if defined(__SSE2__)
  // One row is eight codes: two lanes of four floats. _mm_max_ps(v, m) is
  // v > m ? v : m and _mm_min_ps(v, m) is v < m ? v : m, exactly the strict
  // tests, so a NaN never changes a statistic.
  const __m128 scaleAll = _mm_set1_ps(scale);
  __m128 factorLo = _mm_set1_ps(1.0f), factorHi = _mm_set1_ps(1.0f);
  if constexpr (ApplyFactors) {
    factorLo = _mm_loadu_ps(factors);
    factorHi = _mm_loadu_ps(factors + 4);
  }
  __m128 maxLo = _mm_loadu_ps(maxV), maxHi = _mm_loadu_ps(maxV + 4);
  __m128 minLo = _mm_loadu_ps(minV), minHi = _mm_loadu_ps(minV + 4);
  const bool stream = Stream && (reinterpret_cast<uintptr_t>(raw) & 15) == 0 &&
                      (reinterpret_cast<uintptr_t>(volts) & 15) == 0;
  for (uint32_t r = 0; r < count; ++r) {
    const __m128i codes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
    if (copy && stream) {
      _mm_stream_si128(reinterpret_cast<__m128i*>(raw), codes);
    } else if (copy) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(raw), codes);
    }
    const __m128i lo = _mm_srai_epi32(_mm_unpacklo_epi16(codes, codes), 16);
    const __m128i hi = _mm_srai_epi32(_mm_unpackhi_epi16(codes, codes), 16);
    __m128 vLo = _mm_mul_ps(_mm_cvtepi32_ps(lo), scaleAll);
    __m128 vHi = _mm_mul_ps(_mm_cvtepi32_ps(hi), scaleAll);
    if constexpr (ApplyFactors) {
      vLo = _mm_mul_ps(vLo, factorLo);
      vHi = _mm_mul_ps(vHi, factorHi);
    }
    if (stream) {
      _mm_stream_ps(volts, vLo);
      _mm_stream_ps(volts + 4, vHi);
    } else {
      _mm_storeu_ps(volts, vLo);
      _mm_storeu_ps(volts + 4, vHi);
    }
    maxLo = _mm_max_ps(vLo, maxLo);
    maxHi = _mm_max_ps(vHi, maxHi);
    minLo = _mm_min_ps(vLo, minLo);
    minHi = _mm_min_ps(vHi, minHi);
    source += Channels;
    raw += Channels;
    volts += Channels;
  }
  if (stream) _mm_sfence();  // the streamed rows are seen before the count that covers them
  _mm_storeu_ps(maxV, maxLo);
  _mm_storeu_ps(maxV + 4, maxHi);
  _mm_storeu_ps(minV, minLo);
  _mm_storeu_ps(minV + 4, minHi);
#else
  for (uint32_t r = 0; r < count; ++r) {
    if (copy) std::memcpy(raw, source, CycleBytes);
    for (int c = 0; c < Channels; ++c) {
      float v = static_cast<float>(raw[c]) * scale;
      if constexpr (ApplyFactors) v = v * factors[c];
      volts[c] = v;
      maxV[c] = v > maxV[c] ? v : maxV[c];
      minV[c] = v < minV[c] ? v : minV[c];
    }
    source += Channels;
    raw += Channels;
    volts += Channels;
  }
#endif
  for (int c = 0; c < Channels; ++c) {
    state.channelStats[c].maxVolts = maxV[c];
    state.channelStats[c].minVolts = minV[c];
  }
  store.cycleCount = first + count;
}

}  // namespace

void StoreCycle(AcquisitionState& state, const uint8_t* cycle) {
  Convert<true>(state, cycle, 1, state.fullScaleVolts, state.channelFactor.data());
}

void StoreCycles(AcquisitionState& state, const uint8_t* cycles, uint32_t count) {
  Convert<true>(state, cycles, count, state.fullScaleVolts, state.channelFactor.data());
}

void StoreCyclesAs(AcquisitionState& state, const uint8_t* cycles, uint32_t count,
                   float fullScaleVolts, const std::array<float, Channels>& factors) {
  Convert<true>(state, cycles, count, fullScaleVolts, factors.data());
}

void StoreLoadedCycles(AcquisitionState& state, const uint8_t* cycles, uint32_t count) {
  Convert<false, true>(state, cycles, count, state.fullScaleVolts, nullptr);
}

}  // namespace trelvan
