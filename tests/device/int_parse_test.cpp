#include "device/int_parse.h"

#include <gtest/gtest.h>

#include "device/input_error.h"

namespace trelvan {
namespace {

struct Accepted {
  const char* text;
  uint32_t value;
};

TEST(ParseInteger32, TakesDecimalsAsTheir32BitPattern) {
  const Accepted cases[] = {
      {"0", 0},
      {"-0", 0},
      {"007", 7},
      {"65536", 65536},
      {"70000", 70000},
      {"2147483647", 0x7FFFFFFF},
      {"2147483648", 0x80000000},
      {"4294967295", 0xFFFFFFFF},
      {"00000000000004294967295", 0xFFFFFFFF},
      {"-1", 0xFFFFFFFF},
      {"-2147483648", 0x80000000},
  };
  for (const Accepted& c : cases) {
    const std::optional<uint32_t> value = ParseInteger32(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.value) << c.text;
  }
}

TEST(ParseInteger32, RefusesEverythingElseWithoutWrapping) {
  const char* cases[] = {
      "", "-", "--1", "+5", " 12", "12 ", "12a", "1.5", "1e3", "0x10", "10h",
      "4294967296", "-2147483649", "18446744073709551617", "99999999999999999999999999",
      "\xEF\xBC\x91\xEF\xBC\x92",  // full-width digits
  };
  for (const char* text : cases) EXPECT_FALSE(ParseInteger32(text).has_value()) << text;
  EXPECT_FALSE(ParseInteger32(std::string_view("12\0" "3", 4)).has_value());
}

TEST(ParseIntegerOrThrow, NamesTheTextInTheMessage) {
  try {
    ParseIntegerOrThrow("12a");
    FAIL() << "no exception";
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
  }
  EXPECT_THROW(ParseIntegerOrThrow(""), InputError);
  EXPECT_EQ(ParseIntegerOrThrow("42"), 42u);
}

}  // namespace
}  // namespace trelvan
