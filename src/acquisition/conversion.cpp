#include "acquisition/conversion.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TRELVAN_WIDE_CONVERSION 1
#include <atomic>
#include <immintrin.h>
#endif

namespace trelvan {

namespace {

// The product of two floats is exact in double precision, so the float
// multiplication below rounds exactly once, as the double product rounded to
// float would.
// `Stream`: the rows bypass the cache on their way to memory (a file's
// pieces, which nothing reads again soon); a store-bound write then costs its
// bytes once instead of twice.
// `raw` null: the codes are already in place and only the volts are made;
// else they are copied there in the same pass as they are converted.
// maxV and minV are folded row by row with the strict tests, so a NaN never
// changes them.
#if defined(__SSE2__)
// A row's codes copied into the store, past the cache when `stream`.
inline void PutCodes(int16_t* raw, __m128i codes, bool stream) {
  if (stream) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(raw), codes);
  } else {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(raw), codes);
  }
}
#endif

template <bool ApplyFactors, bool Stream>
void ConvertRows(const int16_t* source, int16_t* raw, float* volts, uint32_t count, float scale,
                 const float* factors, float* maxV, float* minV) {
#if defined(__SSE2__)
  // One row is eight codes: two lanes of four floats. _mm_max_ps(v, m) is
  // v > m ? v : m and _mm_min_ps(v, m) is v < m ? v : m, exactly the strict
  // tests.
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
    if (raw) PutCodes(raw, codes, stream);
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
    if (raw) raw += Channels;
    volts += Channels;
  }
  if (stream) _mm_sfence();  // the streamed rows are seen before the count that covers them
  _mm_storeu_ps(maxV, maxLo);
  _mm_storeu_ps(maxV + 4, maxHi);
  _mm_storeu_ps(minV, minLo);
  _mm_storeu_ps(minV + 4, minHi);
#else
  for (uint32_t r = 0; r < count; ++r) {
    if (raw) {
      std::memcpy(raw, source, CycleBytes);
      raw += Channels;
    }
    for (int c = 0; c < Channels; ++c) {
      float v = static_cast<float>(source[c]) * scale;
      if constexpr (ApplyFactors) v = v * factors[c];
      volts[c] = v;
      maxV[c] = v > maxV[c] ? v : maxV[c];
      minV[c] = v < minV[c] ? v : minV[c];
    }
    source += Channels;
    volts += Channels;
  }
#endif
}

#if defined(TRELVAN_WIDE_CONVERSION)
// The same with 256-bit registers: a row is one register of eight floats,
// the same operations in the same order, so the same bits. About a quarter
// faster on a store-sized batch (fewer instructions per row between the
// memory's reads and writes).
template <bool ApplyFactors, bool Stream>
__attribute__((target("avx2"))) void ConvertRowsWide(const int16_t* source, int16_t* raw, float* volts,
                                                     uint32_t count, float scale, const float* factors,
                                                     float* maxV, float* minV) {
  const __m256 scaleAll = _mm256_set1_ps(scale);
  __m256 factor = _mm256_set1_ps(1.0f);
  if constexpr (ApplyFactors) factor = _mm256_loadu_ps(factors);
  __m256 maxAll = _mm256_loadu_ps(maxV);
  __m256 minAll = _mm256_loadu_ps(minV);
  // Rows are 32 bytes apart: the first row's alignment is every row's (the
  // store's arrays start on a cache line).
  const bool streamRaw = Stream && (reinterpret_cast<uintptr_t>(raw) & 15) == 0;
  const bool streamVolts = Stream && (reinterpret_cast<uintptr_t>(volts) & 31) == 0;
  for (uint32_t r = 0; r < count; ++r) {
    const __m128i codes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
    if (raw) PutCodes(raw, codes, streamRaw);
    __m256 v = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(codes)), scaleAll);
    if constexpr (ApplyFactors) v = _mm256_mul_ps(v, factor);
    if (streamVolts) {
      _mm256_stream_ps(volts, v);
    } else {
      _mm256_storeu_ps(volts, v);
    }
    maxAll = _mm256_max_ps(v, maxAll);
    minAll = _mm256_min_ps(v, minAll);
    source += Channels;
    if (raw) raw += Channels;
    volts += Channels;
  }
  if (streamRaw || streamVolts) _mm_sfence();
  _mm256_storeu_ps(maxV, maxAll);
  _mm256_storeu_ps(minV, minAll);
  _mm256_zeroupper();
}

std::atomic<bool> wideAllowed{true};

bool UseWideRegisters() {
  static const bool present = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return present && wideAllowed.load(std::memory_order_relaxed);
}
#endif

template <bool ApplyFactors, bool Stream = false>
void Convert(AcquisitionState& state, const uint8_t* cycles, uint32_t count, float fullScaleVolts,
             const float* factors) {
  SampleStore& store = state.store;
  const uint32_t first = store.cycleCount;
  float maxV[Channels];
  float minV[Channels];
  for (int c = 0; c < Channels; ++c) {
    maxV[c] = state.channelStats[c].maxVolts;
    minV[c] = state.channelStats[c].minVolts;
  }
  // Rows read from a file straight into the store are converted in place.
  const auto* source = reinterpret_cast<const int16_t*>(cycles);
  int16_t* raw = store.rawRow(first);
  if (source == raw) raw = nullptr;
  const float scale = fullScaleVolts * (1.0f / 32768.0f);
#if defined(TRELVAN_WIDE_CONVERSION)
  if (UseWideRegisters()) {
    ConvertRowsWide<ApplyFactors, Stream>(source, raw, store.voltsRow(first), count, scale, factors, maxV, minV);
  } else
#endif
  {
    ConvertRows<ApplyFactors, Stream>(source, raw, store.voltsRow(first), count, scale, factors, maxV, minV);
  }
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

bool AllowWideConversion(bool allowed) {
#if defined(TRELVAN_WIDE_CONVERSION)
  return wideAllowed.exchange(allowed);
#else
  (void)allowed;
  return false;
#endif
}

}  // namespace trelvan
