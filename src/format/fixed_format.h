#pragma once
// printf-exact number texts, made without printf: the same bytes as the C
// library writes in the "C" locale (a point as the decimal separator,
// whatever the process locale), correctly rounded from the exact binary
// value as the C library rounds (half to even only for exact ties).
//
// Every Append* writes at `out` and returns the end of what it wrote; the
// caller provides room for FixedMaxChars bytes. No terminating zero is
// written.

#include <cstdint>
#include <string>

namespace trelvan {

// "% 2.6f" of -DBL_MAX takes 317 bytes.
constexpr int FixedMaxChars = 320;
// "% 2.6f" of any value a float can hold (-3.4e38 included) takes at most 47.
constexpr int FixedFloatMaxChars = 48;

// "% 2.6f" of value: a space or '-' (the sign bit decides, so -0.0 gives
// "-0.000000"), the integer digits, a point and six decimals; " inf",
// "-inf", " nan", "-nan" for the special values.
char* AppendFixed6(char* out, double value);
// The same text for a float (as "% 2.6f" of the float widened to double),
// made faster: the .txt files hold eight of these a line.
char* AppendFixed6Float(char* out, float value);
// "% 4.3f" of value, the same with three decimals.
char* AppendFixed3(char* out, double value);
// "%0<width>d" of a non-negative value (more digits when it needs them);
// width is 1..10.
char* AppendZeroPadded(char* out, uint32_t value, int width);
// "%04X" of value.
char* AppendHex4(char* out, uint16_t value);

std::string FormatFixed6(double value);
std::string FormatFixed3(double value);

}  // namespace trelvan
