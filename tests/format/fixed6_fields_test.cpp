// A .txt line's eight fields at once against the value-at-a-time formatter.
#include "format/fixed6_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "format/fixed_format.h"

namespace trelvan {
namespace {

std::string OneAtATime(const float* values) {
  std::string text;
  for (int c = 0; c < 8; ++c) {
    char buffer[FixedMaxChars];
    text.append(buffer, AppendFixed6Float(buffer, values[c]));
    text += ",   ";
  }
  return text;
}

// Whether the eight-at-once way takes the row: finite values whose text has
// at most two whole digits.
bool Takes(const float* values) {
  return std::all_of(values, values + 8, [](float v) {
    char buffer[FixedMaxChars];
    return std::isfinite(v) && AppendFixed6Float(buffer, v) - buffer <= 10;
  });
}

// Every code of both ranges and with odd channel factors, ties at the last
// decimal, the neighbours of 1, 10 and 100, zeros, tiny values and values
// the row must refuse, shuffled into rows of eight.
std::vector<float> Pool() {
  std::vector<float> pool;
  for (float factor : {1.0f, 0.5f, 9.99f, -3.0f})
    for (float fullScale : {10.0f, 5.0f})
      for (int code = -32768; code <= 32767; ++code)
        pool.push_back(static_cast<float>(code) * fullScale * (1.0f / 32768.0f) * factor);
  for (int k = -12800; k <= 12800; ++k) pool.push_back(static_cast<float>(k) / 128.0f);
  for (float edge : {1.0f, 10.0f, 100.0f, 99.9999995f}) {
    float v = edge;
    for (int i = 0; i < 300; ++i) v = std::nextafter(v, 0.0f);
    for (int i = 0; i < 600; ++i, v = std::nextafter(v, INFINITY)) {
      pool.push_back(v);
      pool.push_back(-v);
    }
  }
  for (float v : {0.0f, -0.0f, 4.9999997e-7f, 5e-7f, 5.0000004e-7f, 1e-30f,
                  std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::denorm_min(),
                  2147.4836f, 1e9f, 3e38f})
    pool.insert(pool.end(), 40, v);
  for (int i = 0; i < 20; ++i) {
    pool.push_back(std::numeric_limits<float>::quiet_NaN());
    pool.push_back(-std::numeric_limits<float>::infinity());
    pool.push_back(std::numeric_limits<float>::infinity());
  }
  std::shuffle(pool.begin(), pool.end(), std::mt19937(11));
  pool.resize(pool.size() / 8 * 8);
  return pool;
}

TEST(Fixed6Fields, SameBytesAsOneValueAtATimeOrRefused) {
  const std::vector<float> pool = Pool();
  int failures = 0, taken = 0, refused = 0;
  for (std::size_t i = 0; i < pool.size() && failures < 5; i += 8) {
    const float* row = &pool[i];
    char buffer[8 * 24];
    char* end = AppendFixed6Fields(buffer, row);
    if (!Takes(row)) {
      ++refused;
      if (end != nullptr) ++failures, ADD_FAILURE() << "row " << i / 8 << " should be refused";
      continue;
    }
    ++taken;
    if (end == nullptr || std::string(buffer, end) != OneAtATime(row)) {
      ++failures;
      ADD_FAILURE() << "row " << i / 8 << ": \"" << (end ? std::string(buffer, end) : "refused")
                    << "\", want \"" << OneAtATime(row) << "\"";
    }
  }
  EXPECT_GT(taken, 50'000);
  EXPECT_GT(refused, 100);
}

// Another rounding mode would change the conversions: the row is refused,
// so the value-at-a-time way keeps the texts exactly as before.
TEST(Fixed6Fields, RefusedUnlessTheDefaultRoundingMode) {
  const float row[8] = {1.0000005f, -2.5f, 0.0f, 9.75f, -0.0000005f, 3.0f, 4.0f, 5.0f};
  char buffer[8 * 24];
  ASSERT_NE(AppendFixed6Fields(buffer, row), nullptr);
  for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::fesetround(mode);
    EXPECT_EQ(AppendFixed6Fields(buffer, row), nullptr) << mode;
    std::fesetround(FE_TONEAREST);
  }
}

}  // namespace
}  // namespace trelvan
