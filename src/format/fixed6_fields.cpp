#include "format/fixed6_fields.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trelvan {

#if defined(__SSE2__)
namespace {

// The four 4-digit numbers of `pair` (16-bit lanes [n n n n m m m m]) as
// digits in the same lanes: [n/1000 n/100 n/10 n ...] by multiply-high with
// constants that divide exactly below 10^4 (x 8389 >> 23, x 5243 >> 19,
// x 13108 >> 17), then each lane less ten times its left neighbour.
inline __m128i FourDigitLanes(__m128i pair) {
  const __m128i divide = _mm_setr_epi16(8389, 5243, 13108, 0, 8389, 5243, 13108, 0);
  const __m128i shift = _mm_setr_epi16(1 << 9, 1 << 13, 1 << 15, 0, 1 << 9, 1 << 13, 1 << 15, 0);
  const __m128i units = _mm_setr_epi16(0, 0, 0, -1, 0, 0, 0, -1);
  __m128i quotients = _mm_mulhi_epu16(_mm_mulhi_epu16(pair, divide), shift);
  quotients = _mm_or_si128(quotients, _mm_and_si128(pair, units));
  const __m128i tens = _mm_mullo_epi16(_mm_slli_epi64(quotients, 16), _mm_set1_epi16(10));
  return _mm_sub_epi16(quotients, tens);
}

// Four values below 10^8 (32-bit lanes) as four words of eight ASCII digits,
// the most significant digit in each word's lowest byte.
inline void EightDigitWords(__m128i values, uint64_t* words) {
  // value / 10^4 = value x 3518437209 >> 45, exact for every 32-bit value.
  const __m128i magic = _mm_set1_epi32(static_cast<int>(3518437209u));
  const __m128i even = _mm_srli_epi64(_mm_mul_epu32(values, magic), 45);
  const __m128i odd = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(values, 32), magic), 45);
  const __m128i high = _mm_or_si128(even, _mm_slli_epi64(odd, 32));
  const __m128i low = _mm_sub_epi32(values, _mm_madd_epi16(high, _mm_set1_epi32(10000)));
  // [h0 h1 h2 h3 l0 l1 l2 l3] -> [h0 l0 h1 l1 h2 l2 h3 l3] -> each value's
  // high and low halves four times: [h0 h0 h0 h0 l0 l0 l0 l0].
  const __m128i packed = _mm_packs_epi32(high, low);
  const __m128i halves = _mm_unpacklo_epi16(packed, _mm_srli_si128(packed, 8));
  const __m128i first = _mm_unpacklo_epi16(halves, halves);
  const __m128i second = _mm_unpackhi_epi16(halves, halves);
  const __m128i ascii = _mm_set1_epi8('0');
  const __m128i d01 = _mm_add_epi8(
      _mm_packus_epi16(FourDigitLanes(_mm_unpacklo_epi32(first, first)),
                       FourDigitLanes(_mm_unpackhi_epi32(first, first))),
      ascii);
  const __m128i d23 = _mm_add_epi8(
      _mm_packus_epi16(FourDigitLanes(_mm_unpacklo_epi32(second, second)),
                       FourDigitLanes(_mm_unpackhi_epi32(second, second))),
      ascii);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(words), d01);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(words + 2), d23);
}

// |value| x 10^6 rounded to the nearest integer, ties to even, for four
// floats; the product is exact in double precision (24 + 14 significant
// bits), so the one rounding is the conversion's. NaN, infinity and values of
// 2147 and more give a negative lane.
inline __m128i ScaledMagnitudes(__m128 values) {
  const __m128 magnitude = _mm_and_ps(values, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
  const __m128d million = _mm_set1_pd(1e6);
  const __m128i low = _mm_cvtpd_epi32(_mm_mul_pd(_mm_cvtps_pd(magnitude), million));
  const __m128i high =
      _mm_cvtpd_epi32(_mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(magnitude, magnitude)), million));
  return _mm_unpacklo_epi64(low, high);
}

}  // namespace

char* AppendFixed6Fields(char* out, const float* values) {
  // The conversions round as the thread's mode says: only the default
  // (nearest, no flushing of tiny values) gives the C library's text.
  if ((_mm_getcsr() & 0xE040u) != 0) return nullptr;
  const __m128 a = _mm_loadu_ps(values), b = _mm_loadu_ps(values + 4);
  const __m128i scaledA = ScaledMagnitudes(a), scaledB = ScaledMagnitudes(b);
  // Every value must be below 100 in size: eight digits, at most two whole.
  const __m128i top = _mm_set1_epi32(99'999'999);
  const __m128i outside = _mm_or_si128(
      _mm_or_si128(_mm_cmpgt_epi32(scaledA, top), _mm_cmplt_epi32(scaledA, _mm_setzero_si128())),
      _mm_or_si128(_mm_cmpgt_epi32(scaledB, top), _mm_cmplt_epi32(scaledB, _mm_setzero_si128())));
  if (_mm_movemask_epi8(outside) != 0) return nullptr;

  uint64_t words[8];
  EightDigitWords(scaledA, words);
  EightDigitWords(scaledB, words + 4);
  const __m128i ten = _mm_set1_epi32(9'999'999);
  const unsigned twoWholeDigits = static_cast<unsigned>(
      _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(scaledA, ten))) |
      (_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(scaledB, ten))) << 4));
  const unsigned negative =
      static_cast<unsigned>(_mm_movemask_ps(a) | (_mm_movemask_ps(b) << 4));

  constexpr uint64_t Separator = 0x2020202Cull;  // ",   "
  for (int c = 0; c < 8; ++c) {
    const uint64_t d = words[c];
    // [w w . d d d d d] and [d , _ _ _]; with one whole digit the first w
    // (a zero) is written where the sign goes and the sign over it.
    const uint64_t head = (d & 0xFFFFu) | (uint64_t{'.'} << 16) | ((d >> 16) << 24);
    const uint64_t tail = (d >> 56) | (Separator << 8);
    const int skip = static_cast<int>(((twoWholeDigits >> c) & 1u) ^ 1u);
    std::memcpy(out + 1 - skip, &head, 8);
    std::memcpy(out + 9 - skip, &tail, 8);
    out[0] = ((negative >> c) & 1u) ? '-' : ' ';
    out += 14 - skip;
  }
  return out;
}

#else

char* AppendFixed6Fields(char*, const float*) { return nullptr; }

#endif

}  // namespace trelvan
