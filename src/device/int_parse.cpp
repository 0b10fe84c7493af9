#include "device/int_parse.h"

#include "device/input_error.h"

namespace trelvan {

namespace {
constexpr uint64_t MaxPositive = 4'294'967'295u;
constexpr uint64_t MaxNegative = 2'147'483'648u;
}  // namespace

std::optional<uint32_t> ParseInteger32(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  const uint64_t limit = negative ? MaxNegative : MaxPositive;
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return std::nullopt;  // also keeps the sum far from 64-bit overflow
  }
  const uint32_t magnitude = static_cast<uint32_t>(value);
  return negative ? static_cast<uint32_t>(0u - magnitude) : magnitude;
}

std::string NotAnIntegerMessage(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid integer value";
}

uint32_t ParseIntegerOrThrow(std::string_view text, InputBox box) {
  const std::optional<uint32_t> value = ParseInteger32(text);
  if (!value) throw InputError(NotAnIntegerMessage(text), box);
  return *value;
}

}  // namespace trelvan
