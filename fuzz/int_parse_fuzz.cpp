// The integer boxes' parser against a plain reference: an optional "-" and
// digits, taken as the 32-bit pattern when the value lies in
// -2,147,483,648 .. 4,294,967,295.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "device/input_error.h"
#include "device/int_parse.h"
#include "fuzz_check.h"

namespace {

std::optional<uint32_t> Reference(std::string_view text) {
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  uint64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = std::min<uint64_t>(magnitude * 10 + static_cast<uint64_t>(c - '0'), 1ull << 40);
  }
  if (negative) {
    if (magnitude > 2147483648ull) return std::nullopt;
    return static_cast<uint32_t>(-static_cast<int64_t>(magnitude));
  }
  if (magnitude > 4294967295ull) return std::nullopt;
  return static_cast<uint32_t>(magnitude);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto parsed = trelvan::ParseInteger32(text);
  FUZZ_EXPECT(parsed == Reference(text));
  try {
    const uint32_t value = trelvan::ParseIntegerOrThrow(text);
    FUZZ_EXPECT(parsed && value == *parsed);
  } catch (const trelvan::InputError& error) {
    FUZZ_EXPECT(!parsed);
    // what() is a C string: the message as far as its first NUL.
    FUZZ_EXPECT(std::string_view(error.what()) ==
                std::string_view(trelvan::NotAnIntegerMessage(text).c_str()));
  }
  return 0;
}
