#pragma once
// The text of one table row: the label "L%08d     " of the 1-based cycle
// number, then AN1..AN8 as "% 2.6f   " of the volts widened to double, or as
// "  0x%04X    " of the raw code taken as unsigned 16-bit.

#include <cstdint>
#include <string>

#include "acquisition/sample_store.h"
#include "format/fixed_format.h"

namespace trelvan {

constexpr uint32_t TablePageRows = 27;
// Character positions per line: 110 of text and 1 for the line break. A
// value of magnitude 10 or more makes its field, and so the line, longer;
// highlights still count 111 per line.
constexpr uint32_t TableRowChars = 111;
// Room a row text may need (large values widen the volts fields).
constexpr int TableRowMaxChars = 14 + Channels * (FixedMaxChars + 3);

// Writes the text of store row `row` (no line break) and returns its end;
// `out` has room for TableRowMaxChars.
char* AppendTableRow(char* out, const SampleStore& store, uint32_t row, bool hexView);

std::string TableRowText(const SampleStore& store, uint32_t row, bool hexView);

// "% 2.6f   ": the Current column's text of a value.
char* AppendCurrentText(char* out, float volts);

}  // namespace trelvan
