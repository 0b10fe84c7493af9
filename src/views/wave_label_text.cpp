#include "views/wave_label_text.h"

#include <charconv>

#include "format/fixed_format.h"

namespace trelvan {

std::string WaveSampleText(uint64_t cycle) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, cycle).ptr;
  std::string text(digits, end);
  if (text.size() < 4) text.insert(0, 4 - text.size(), ' ');
  return text;
}

std::string WaveVoltsText(double volts) { return FormatFixed3(volts); }

}  // namespace trelvan
