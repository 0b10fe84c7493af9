#include "format/fixed_format.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace trelvan {
namespace {

constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr uint64_t FloatTail = (uint64_t{1} << 29) - 1;  // bits a float lacks
constexpr uint32_t Pow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// Writes exactly `count` decimal digits of value (value < 10^count) and
// returns the end.
inline char* WriteDigits(char* out, uint64_t value, int count) {
  char* const end = out + count;
  char* p = end;
  while (count >= 2) {
    const unsigned pair = static_cast<unsigned>(value % 100) * 2;
    value /= 100;
    p -= 2;
    p[0] = DigitPairs[pair];
    p[1] = DigitPairs[pair + 1];
    count -= 2;
  }
  if (count == 1) p[-1] = static_cast<char>('0' + value);
  return end;
}

// The eight decimal digits of value (below 10^8, leading zeros kept) as
// ASCII bytes in one word, the most significant digit in the lowest byte (so
// storing the word little-endian writes them in reading order). Each step
// splits every lane in two with a multiply-and-shift that divides exactly in
// its range: 4-digit lanes by 100 (x 10486 >> 20 for x < 10^4), then 2-digit
// lanes by 10 (x 103 >> 10 for x < 100); no lane's product reaches the next.
static_assert(std::endian::native == std::endian::little);
inline uint64_t EightDigits(uint32_t value) {
  uint64_t lanes = (value / 10000u) | (uint64_t{value % 10000u} << 32);
  uint64_t high = ((lanes * 10486u) >> 20) & 0x0000007F0000007Full;
  lanes = high | ((lanes - high * 100u) << 16);
  high = ((lanes * 103u) >> 10) & 0x000F000F000F000Full;
  lanes = high | ((lanes - high * 10u) << 8);
  return lanes | 0x3030303030303030ull;
}

inline int DigitCount(uint64_t value) {
  int n = 1;
  while (value >= 10) {
    value /= 10;
    ++n;
  }
  return n;
}

// "% <w>.<decimals>f" for decimals 3 or 6, where the width never pads: the
// shortest text (" 0.000") is already wider than the widths used.
template <int Decimals>
char* AppendFixed(char* out, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  *out++ = (bits >> 63) ? '-' : ' ';
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  if (biased == 0x7FF) {
    std::memcpy(out, fraction == 0 ? "inf" : "nan", 3);
    return out + 3;
  }
  constexpr uint64_t scale = Pow10[Decimals];
  uint64_t scaled = 0;  // |value| x 10^Decimals, rounded
  if (biased != 0) {    // subnormal doubles round to zero
    const int shift = 1075 - biased;  // |value| = mantissa / 2^shift
    if (shift < 20) {
      // 2^33 and more: rare (only a large factor gets there); the standard
      // library's conversion is exact and locale-independent as well.
      const double magnitude = std::fabs(value);
      const auto result = std::to_chars(out, out + FixedMaxChars - 1, magnitude,
                                        std::chars_format::fixed, Decimals);
      return result.ptr;
    }
    const uint64_t mantissa = fraction | (uint64_t{1} << 52);
    if ((mantissa & FloatTail) == 0 && shift < 29 + 64) {
      // A float widened to double: 24 significant bits, so the product
      // fits in 64 bits (2^24 x 10^6 < 2^44, shifted left at most 9).
      const uint64_t product = (mantissa >> 29) * scale;
      const int s = shift - 29;
      if (s <= 0) {
        scaled = product << -s;
      } else {
        scaled = product >> s;
        const uint64_t rest = product & ((uint64_t{1} << s) - 1);
        const uint64_t half = uint64_t{1} << (s - 1);
        if (rest > half || (rest == half && (scaled & 1))) ++scaled;
      }
    } else if (shift < 76) {  // from 76 on, |value| x 10^6 < 2^73 / 2^75 < 1/2
      const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * scale;
      scaled = static_cast<uint64_t>(product >> shift);
      const unsigned __int128 rest = product & ((static_cast<unsigned __int128>(1) << shift) - 1);
      const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
      if (rest > half || (rest == half && (scaled & 1))) ++scaled;
    }
  }
  const uint64_t whole = scaled / scale;
  const uint64_t decimals = scaled % scale;
  out = WriteDigits(out, whole, DigitCount(whole));
  *out++ = '.';
  return WriteDigits(out, decimals, Decimals);
}

}  // namespace

char* AppendFixed6(char* out, double value) { return AppendFixed<6>(out, value); }

char* AppendFixed6Float(char* out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint32_t biased = (bits >> 23) & 0xFF;
  // 2^33 and more, inf and nan take the general way.
  if (biased >= 127 + 33) return AppendFixed6(out, static_cast<double>(value));
  *out++ = (bits >> 31) ? '-' : ' ';
  uint64_t scaled = 0;  // |value| x 10^6, rounded; float subnormals round to zero
  if (biased != 0) {
    // |value| = mantissa / 2^shift; the product is below 2^44.
    const uint64_t product = uint64_t{(bits & 0x7FFFFFu) | 0x800000u} * 1'000'000u;
    const int shift = 150 - static_cast<int>(biased);  // -9 .. 149
    if (shift <= 0) {
      scaled = product << -shift;
    } else if (shift < 45) {  // from 45 on the product is below half a unit
      scaled = product >> shift;
      const uint64_t rest = product & ((uint64_t{1} << shift) - 1);
      const uint64_t half = uint64_t{1} << (shift - 1);
      // Without branches: the signs and sizes of samples do not repeat.
      scaled += static_cast<uint64_t>(rest > half) | (static_cast<uint64_t>(rest == half) & scaled & 1);
    }
  }
  const uint64_t whole = scaled / 1'000'000u;
  const auto decimals = static_cast<uint32_t>(scaled - whole * 1'000'000u);
  if (whole < 10) {
    *out++ = static_cast<char>('0' + whole);
  } else {
    out = WriteDigits(out, whole, DigitCount(whole));
  }
  *out++ = '.';
  const uint32_t high = decimals / 10'000u, low = decimals % 10'000u;
  std::memcpy(out, DigitPairs + 2 * high, 2);
  std::memcpy(out + 2, DigitPairs + 2 * (low / 100u), 2);
  std::memcpy(out + 4, DigitPairs + 2 * (low % 100u), 2);
  return out + 6;
}

char* AppendFixed3(char* out, double value) { return AppendFixed<3>(out, value); }

char* AppendZeroPadded(char* out, uint32_t value, int width) {
  // Values that fit the width (every row number does) need no counting.
  constexpr uint64_t Limit[] = {1,          10,          100,          1000,
                                10000,      100000,      1000000,      10000000,
                                100000000,  1000000000,  10000000000};
  if (width == 8 && value < 100'000'000u) {  // every row number of a .txt file
    const uint64_t digits = EightDigits(value);
    std::memcpy(out, &digits, 8);
    return out + 8;
  }
  const int digits = value < Limit[width] ? width : DigitCount(value);
  return WriteDigits(out, value, digits > width ? digits : width);
}

char* AppendHex4(char* out, uint16_t value) {
  constexpr char hex[] = "0123456789ABCDEF";
  out[0] = hex[(value >> 12) & 0xF];
  out[1] = hex[(value >> 8) & 0xF];
  out[2] = hex[(value >> 4) & 0xF];
  out[3] = hex[value & 0xF];
  return out + 4;
}

std::string FormatFixed6(double value) {
  char buffer[FixedMaxChars];
  return std::string(buffer, AppendFixed6(buffer, value));
}

std::string FormatFixed3(double value) {
  char buffer[FixedMaxChars];
  return std::string(buffer, AppendFixed3(buffer, value));
}

}  // namespace trelvan
