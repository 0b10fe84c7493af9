#include "views/table_row_text.h"

#include <cstring>

namespace trelvan {

char* AppendTableRow(char* out, const SampleStore& store, uint32_t row, bool hexView) {
  *out++ = 'L';
  out = AppendZeroPadded(out, row + 1, 8);
  std::memcpy(out, "     ", 5);
  out += 5;
  if (hexView) {
    const int16_t* codes = store.rawRow(row);
    for (int ch = 0; ch < Channels; ++ch) {
      std::memcpy(out, "  0x", 4);
      out = AppendHex4(out + 4, static_cast<uint16_t>(codes[ch]));
      std::memcpy(out, "    ", 4);
      out += 4;
    }
  } else {
    const float* volts = store.voltsRow(row);
    for (int ch = 0; ch < Channels; ++ch) out = AppendCurrentText(out, volts[ch]);
  }
  return out;
}

std::string TableRowText(const SampleStore& store, uint32_t row, bool hexView) {
  char buffer[TableRowMaxChars];
  return std::string(buffer, AppendTableRow(buffer, store, row, hexView));
}

char* AppendCurrentText(char* out, float volts) {
  out = AppendFixed6(out, volts);
  std::memcpy(out, "   ", 3);
  return out + 3;
}

}  // namespace trelvan
