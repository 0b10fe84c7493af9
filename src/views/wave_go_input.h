#pragma once
// Reading the "Go" box: a cycle number typed or pasted by the user.

#include <cstdint>
#include <string_view>

namespace trelvan {

enum class GoInputKind {
  NotANumber,  // empty, or not an optional "-" followed by decimal digits
  OutOfRange,  // negative, or above the signed 32-bit range
  Number,
};

struct GoInput {
  GoInputKind kind = GoInputKind::NotANumber;
  uint32_t value = 0;  // when kind is Number: 0 .. 2147483647
};

GoInput ParseGoInput(std::string_view text);

}  // namespace trelvan
