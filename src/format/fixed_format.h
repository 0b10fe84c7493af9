#pragma once
// printf-exact number texts, made without printf: the same bytes as the C
// library writes in the "C" locale (a point as the decimal separator,
// whatever the process locale), correctly rounded as the C library rounds.
//
// Every Append* writes at `out` and returns the end of what it wrote; the
// caller provides room for FixedMaxChars bytes.

#include <cstdint>
#include <string>

namespace trelvan {

constexpr int FixedMaxChars = 64;  // "% 2.6f" of -3.4e38 takes 47 bytes

// "% 2.6f" of value.
char* AppendFixed6(char* out, double value);
// "% 4.3f" of value.
char* AppendFixed3(char* out, double value);
// "%0<width>d" of a non-negative value (more digits when it needs them).
char* AppendZeroPadded(char* out, uint32_t value, int width);
// "%04X" of value.
char* AppendHex4(char* out, uint16_t value);

std::string FormatFixed6(double value);
std::string FormatFixed3(double value);

}  // namespace trelvan
