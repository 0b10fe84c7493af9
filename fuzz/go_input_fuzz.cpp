// The Go box's parser against a plain reference: "-"? digits; negative or
// above 2,147,483,647 is out of range, anything else not a number.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "views/wave_go_input.h"

using trelvan::GoInputKind;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const trelvan::GoInput got = trelvan::ParseGoInput(text);

  std::string_view digits = text;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.remove_prefix(1);
  const bool number = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
  if (!number) {
    FUZZ_EXPECT(got.kind == GoInputKind::NotANumber);
    return 0;
  }
  uint64_t value = 0;
  for (char c : digits) value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), 1ull << 40);
  if ((negative && value != 0) || value > 2147483647ull) {
    FUZZ_EXPECT(got.kind == GoInputKind::OutOfRange);
  } else {
    FUZZ_EXPECT(got.kind == GoInputKind::Number);
    FUZZ_EXPECT(got.value == value);
  }
  return 0;
}
