#include "views/wave_go_input.h"

namespace trelvan {

GoInput ParseGoInput(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return {};
  constexpr uint64_t Int32Max = 2147483647;
  uint64_t value = 0;
  bool tooLarge = false;
  for (char c : text) {
    if (c < '0' || c > '9') return {};
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > Int32Max) {
      tooLarge = true;
      value = Int32Max + 1;  // keeps the sum bounded however long the text
    }
  }
  if (tooLarge || (negative && value != 0)) return {GoInputKind::OutOfRange, 0};
  return {GoInputKind::Number, static_cast<uint32_t>(value)};
}

}  // namespace trelvan
