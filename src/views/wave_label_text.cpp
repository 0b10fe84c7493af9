#include "views/wave_label_text.h"

#include <charconv>
#include <cmath>

namespace trelvan {

std::string WaveSampleText(uint64_t cycle) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, cycle).ptr;
  std::string text(digits, end);
  if (text.size() < 4) text.insert(0, 4 - text.size(), ' ');
  return text;
}

std::string WaveVoltsText(double volts) {
  // to_chars rounds exactly as printf does in the "C" locale and never
  // consults the locale; the text is always at least "0.000" wide, so the
  // width 4 of the format never pads.
  char buf[400];
  char* out = buf;
  if (!std::signbit(volts)) *out++ = ' ';
  out = std::to_chars(out, buf + sizeof buf, volts, std::chars_format::fixed, 3).ptr;
  return std::string(buf, out);
}

}  // namespace trelvan
