// The texts keep their decimal point when the C library's locale writes a
// decimal comma.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "format/fixed_format.h"

namespace trelvan {
namespace {

class CommaLocale : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale must be generated on this machine";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5");
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

TEST_F(CommaLocale, TextsEqualThoseOfTheCLocale) {
  std::vector<double> values = {0.0, -0.0, 1.899109, -0.499878, -10.0, 12.5, 1e30,
                                std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  std::mt19937 random(3);
  std::uniform_real_distribution<float> volts(-25.0f, 25.0f);
  for (int i = 0; i < 100'000; ++i) values.push_back(volts(random));

  // The references are made under "C", then the formatter runs under the
  // comma locale.
  const std::string comma = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  std::vector<std::string> want6, want3;
  char buffer[400];
  for (double v : values) {
    want6.emplace_back(buffer, std::snprintf(buffer, sizeof buffer, "% 2.6f", v));
    want3.emplace_back(buffer, std::snprintf(buffer, sizeof buffer, "% 4.3f", v));
  }
  ASSERT_NE(std::setlocale(LC_ALL, comma.c_str()), nullptr);

  int failures = 0;
  for (std::size_t i = 0; i < values.size() && failures < 5; ++i) {
    const std::string got6(buffer, AppendFixed6(buffer, values[i]));
    const std::string got3(buffer, AppendFixed3(buffer, values[i]));
    if (got6 != want6[i] || got3 != want3[i]) {
      ++failures;
      ADD_FAILURE() << got6 << " / " << got3 << ", want " << want6[i] << " / " << want3[i];
    }
  }
}

}  // namespace
}  // namespace trelvan
