#pragma once
// The eight "% 2.6f,   " fields of a .txt line at once: the same bytes as
// eight AppendFixed6Float calls each followed by ",   ", for a row whose
// values are all below 100 in size (every sample's volts are).

namespace trelvan {

// Writes the eight fields of values[0..7] at `out` and returns their end, or
// returns nullptr when a value is 100 or more in size, infinite or NaN, or
// the thread's floating-point mode is not the default one; the caller then
// formats the row one value at a time. Up to three bytes past the end may be
// overwritten.
char* AppendFixed6Fields(char* out, const float* values);

}  // namespace trelvan
