// The fast number texts against the C library's snprintf, byte for byte.
#include "format/fixed_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "acquisition/conversion.h"

namespace trelvan {
namespace {

std::string Printf(const char* format, double value) {
  char buffer[400];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string Fixed6(double value) {
  char buffer[FixedMaxChars];
  return std::string(buffer, AppendFixed6(buffer, value));
}

std::string Fixed3(double value) {
  char buffer[FixedMaxChars];
  return std::string(buffer, AppendFixed3(buffer, value));
}

std::string Fixed6Float(float value) {
  char buffer[FixedMaxChars];
  return std::string(buffer, AppendFixed6Float(buffer, value));
}

// Stops after the first few mismatches so that a fault does not flood. A
// value a float holds exactly goes through the float formatter as well.
void ExpectBothFormats(double value, int& failures) {
  if (failures > 5) return;
  const auto asFloat = static_cast<float>(value);
  if ((asFloat == value || std::isnan(value)) && Fixed6Float(asFloat) != Printf("% 2.6f", asFloat)) {
    ++failures;
    ADD_FAILURE() << "float " << std::hexfloat << asFloat << ": \"" << Fixed6Float(asFloat)
                  << "\", want \"" << Printf("% 2.6f", asFloat) << "\"";
  }
  const std::string want6 = Printf("% 2.6f", value), got6 = Fixed6(value);
  const std::string want3 = Printf("% 4.3f", value), got3 = Fixed3(value);
  if (want6 != got6 || want3 != got3) {
    ++failures;
    ADD_FAILURE() << "value " << std::hexfloat << value << ": \"" << got6 << "\" / \"" << got3
                  << "\", want \"" << want6 << "\" / \"" << want3 << "\"";
  }
}

float FloatFromBits(uint32_t bits) { return std::bit_cast<float>(bits); }

TEST(FixedFormat, EveryConvertedCodeOfBothRanges) {
  int failures = 0;
  for (float fullScale : {10.0f, 5.0f}) {
    for (int code = -32768; code <= 32767; ++code) {
      ExpectBothFormats(CodeToVolts(static_cast<int16_t>(code), fullScale), failures);
    }
  }
}

TEST(FixedFormat, SpecialsAndEdges) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double value;
    const char* fixed6;
    const char* fixed3;
  };
  const Case cases[] = {
      {0.0, " 0.000000", " 0.000"},
      {-0.0, "-0.000000", "-0.000"},
      {10.0, " 10.000000", " 10.000"},
      {-10.0, "-10.000000", "-10.000"},
      {-20.0, "-20.000000", "-20.000"},
      {inf, " inf", " inf"},
      {-inf, "-inf", "-inf"},
      {nan, " nan", " nan"},
      {-nan, "-nan", "-nan"},
      {1e30f, " 1000000015047466219876688855040.000000", " 1000000015047466219876688855040.000"},
      {-1e-9, "-0.000000", "-0.000"},
      {0.0078125, " 0.007812", " 0.008"},   // exact tie at the 6th decimal: to even
      {0.0234375, " 0.023438", " 0.023"},   // exact tie: to even (up)
      {0.0625, " 0.062500", " 0.062"},      // exact tie at the 3rd decimal: to even
      {0.1875, " 0.187500", " 0.188"},
      {9.9999995, " 9.999999", " 10.000"},  // the float nearest lies below the tie
      {9.9999996, " 10.000000", " 10.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fixed6(c.value), c.fixed6) << c.value;
    EXPECT_EQ(Fixed3(c.value), c.fixed3) << c.value;
    EXPECT_EQ(Fixed6(c.value), Printf("% 2.6f", c.value)) << c.value;
    EXPECT_EQ(Fixed3(c.value), Printf("% 4.3f", c.value)) << c.value;
  }
  EXPECT_EQ(FormatFixed6(-1.5), "-1.500000");
  EXPECT_EQ(FormatFixed3(2.25), " 2.250");
}

TEST(FixedFormat, NanWithEveryPayloadAndSign) {
  int failures = 0;
  for (uint32_t payload : {1u, 2u, 0x3FFFFFu, 0x400000u, 0x7FFFFFu}) {
    ExpectBothFormats(FloatFromBits(0x7F800000u | payload), failures);
    ExpectBothFormats(FloatFromBits(0xFF800000u | payload), failures);
  }
}

TEST(FixedFormat, TiesAtTheLastDecimal) {
  // Odd multiples of 2^-7 are exact ties at the 6th decimal, of 2^-4 at the
  // 3rd; their neighbours one float step away are not.
  int failures = 0;
  for (int k = -4000; k <= 4000; ++k) {
    for (double unit : {1.0 / 128, 1.0 / 16}) {
      const float tie = static_cast<float>((2 * k + 1) * unit);
      ExpectBothFormats(tie, failures);
      ExpectBothFormats(std::nextafter(tie, INFINITY), failures);
      ExpectBothFormats(std::nextafter(tie, -INFINITY), failures);
    }
  }
}

TEST(FixedFormat, EveryPowerOfTwoAndItsNeighbours) {
  int failures = 0;
  for (int e = -160; e <= 128; ++e) {
    const double p = std::ldexp(1.0, e);
    for (double v : {p, -p, std::nextafter(p, 0.0), std::nextafter(p, INFINITY)}) {
      ExpectBothFormats(v, failures);
      ExpectBothFormats(static_cast<float>(v), failures);
    }
  }
}

TEST(FixedFormat, MagnitudesTenAndMore) {
  int failures = 0;
  std::mt19937 random(7);
  for (int decade = 1; decade <= 38; ++decade) {
    std::uniform_real_distribution<float> spread(std::pow(10.0f, decade - 1.0f),
                                                 std::pow(10.0f, static_cast<float>(decade)));
    for (int i = 0; i < 2000; ++i) {
      const float v = spread(random);
      ExpectBothFormats(v, failures);
      ExpectBothFormats(-v, failures);
    }
  }
  ExpectBothFormats(std::numeric_limits<float>::max(), failures);
  ExpectBothFormats(-std::numeric_limits<float>::max(), failures);
}

TEST(FixedFormat, EveryFloatAroundOneTenAndAHundred) {
  // Where the whole part gains a digit and where the short way ends.
  int failures = 0;
  for (float edge : {1.0f, 10.0f, 100.0f}) {
    float v = edge;
    for (int i = 0; i < 20000; ++i) v = std::nextafter(v, 0.0f);
    for (int i = 0; i < 40000; ++i, v = std::nextafter(v, INFINITY)) {
      ExpectBothFormats(v, failures);
      ExpectBothFormats(-v, failures);
    }
  }
}

TEST(FixedFormat, RandomFloatBitPatterns) {
  int failures = 0;
  std::mt19937 random(20240611);
  for (int i = 0; i < 3'000'000; ++i) {
    ExpectBothFormats(FloatFromBits(static_cast<uint32_t>(random())), failures);
  }
}

TEST(FixedFormat, RandomDoublesAnyMagnitude) {
  // Differences of two floats (the peak-to-peak value) are doubles; the
  // formatter holds for every double.
  int failures = 0;
  std::mt19937_64 random(99);
  for (int i = 0; i < 100'000; ++i) {
    ExpectBothFormats(std::bit_cast<double>(random()), failures);
  }
  std::uniform_real_distribution<double> small(-1e10, 1e10);
  for (int i = 0; i < 300'000; ++i) ExpectBothFormats(small(random), failures);
  ExpectBothFormats(std::numeric_limits<double>::max(), failures);
  ExpectBothFormats(-std::numeric_limits<double>::max(), failures);
  ExpectBothFormats(std::numeric_limits<double>::denorm_min(), failures);
}

TEST(FixedFormat, IntegerFields) {
  struct Case {
    uint32_t value;
    int width;
  };
  const Case cases[] = {{0, 8}, {1, 8}, {12345678, 8}, {99999999, 8}, {123456789, 8},
                        {4294967295u, 8}, {7, 1}, {42, 3}, {6000000, 8}, {10, 2}};
  for (const Case& c : cases) {
    char want[32];
    std::snprintf(want, sizeof want, "%0*u", c.width, c.value);
    char got[32];
    EXPECT_EQ(std::string(got, AppendZeroPadded(got, c.value, c.width)), want);
  }
  // Row numbers: every value below 2,000,000 and a stride through the rest of
  // the eight digits, against plain division.
  for (uint32_t v = 0; v < 100'000'000u; v += v < 2'000'000u ? 1 : 9973) {
    char want[8];
    for (uint32_t i = 8, rest = v; i-- > 0; rest /= 10) want[i] = static_cast<char>('0' + rest % 10);
    char got[16];
    ASSERT_EQ(std::string(got, AppendZeroPadded(got, v, 8)), std::string(want, 8)) << v;
  }
  for (uint32_t v = 0; v <= 0xFFFF; ++v) {
    char want[8];
    std::snprintf(want, sizeof want, "%04X", v);
    char got[8];
    ASSERT_EQ(std::string(got, AppendHex4(got, static_cast<uint16_t>(v))), want);
  }
}

}  // namespace
}  // namespace trelvan
