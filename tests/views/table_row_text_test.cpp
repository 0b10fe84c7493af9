// Row texts of both modes against the C library's format.
#include "views/table_row_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace trelvan {
namespace {

std::string PrintfRow(const SampleStore& store, uint32_t row, bool hex) {
  std::string out;
  char field[400];
  std::snprintf(field, sizeof field, "L%08d     ", static_cast<int>(row + 1));
  out += field;
  for (int ch = 0; ch < Channels; ++ch) {
    if (hex) {
      std::snprintf(field, sizeof field, "  0x%04X    ",
                    static_cast<unsigned>(static_cast<uint16_t>(store.rawRow(row)[ch])));
    } else {
      std::snprintf(field, sizeof field, "% 2.6f   ", static_cast<double>(store.voltsRow(row)[ch]));
    }
    out += field;
  }
  return out;
}

TEST(TableRowText, ExampleRowsOfBothModes) {
  SampleStore store(1);
  store.cycleCount = 1;
  const int16_t codes[8] = {6223, -1638, 0, 0, 0, 0, 0, 0};
  for (int ch = 0; ch < Channels; ++ch) {
    store.rawRow(0)[ch] = codes[ch];
    store.voltsRow(0)[ch] = static_cast<float>(codes[ch]) * 10.0f / 32768.0f;
  }
  EXPECT_EQ(TableRowText(store, 0, false),
            "L00000001      1.899109   -0.499878    0.000000    0.000000    0.000000    "
            "0.000000    0.000000    0.000000   ");
  EXPECT_EQ(TableRowText(store, 0, true),
            "L00000001       0x184F      0xF99A      0x0000      0x0000      0x0000      "
            "0x0000      0x0000      0x0000    ");
}

TEST(TableRowText, BothModesEqualTheCFormatOverATableOfValues) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float step10 = 10.0f / 32768.0f, step5 = 5.0f / 32768.0f;
  const float values[] = {0.0f,   -0.0f,   10.0f, -10.0f, step10, -step10, step5, -step5,
                          9.9997f, 12.5f,  -99.25f, 1e30f, -3.4e38f, inf,   -inf,   nan,
                          -nan,   0.0078125f, 4.76837158203125e-07f, 1e-45f};
  const int16_t codes[] = {0, -1, 1, 32767, -32768, 0x184F, -1638, 255};
  constexpr uint32_t rowCount = 12'345'678 % 97;  // a handful of rows with large labels too
  SampleStore store(rowCount);
  store.cycleCount = rowCount;
  std::size_t v = 0;
  for (uint32_t r = 0; r < rowCount; ++r) {
    for (int ch = 0; ch < Channels; ++ch) {
      store.voltsRow(r)[ch] = values[v++ % std::size(values)];
      store.rawRow(r)[ch] = codes[(r + ch) % std::size(codes)];
    }
  }
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  for (const char* locale : {"C", "de_DE.UTF-8"}) {
    for (uint32_t r = 0; r < rowCount; ++r) {
      ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
      const std::string wantVolts = PrintfRow(store, r, false), wantHex = PrintfRow(store, r, true);
      ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
      EXPECT_EQ(TableRowText(store, r, false), wantVolts) << locale;
      EXPECT_EQ(TableRowText(store, r, true), wantHex) << locale;
    }
  }
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(TableRowText, LabelsUpToAFullStore) {
  SampleStore store;  // pages are committed only for the rows written here
  for (uint32_t r : {0u, 9u, 99'999u, StoreCapacity - 1}) {
    for (int ch = 0; ch < Channels; ++ch) {
      store.rawRow(r)[ch] = static_cast<int16_t>(-ch);
      store.voltsRow(r)[ch] = -1.5f * static_cast<float>(ch);
    }
    store.cycleCount = r + 1;
    EXPECT_EQ(TableRowText(store, r, false), PrintfRow(store, r, false));
    EXPECT_EQ(TableRowText(store, r, true), PrintfRow(store, r, true));
  }
}

}  // namespace
}  // namespace trelvan
