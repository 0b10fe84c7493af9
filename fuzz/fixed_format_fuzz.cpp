// The fixed-point texts against snprintf in the "C" locale, byte for byte:
// "% 2.6f" and "% 4.3f" of any float (every bit pattern: subnormals, the
// largest values, infinities, NaNs of either sign) and of any double, then
// "%0Nd" and "%04X", and the eight fields of a .txt line at once (the same
// bytes as "% 2.6f,   " eight times, or refused).

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "fuzz_bytes.h"
#include "format/fixed6_fields.h"
#include "format/fixed_format.h"
#include "fuzz_check.h"

namespace {

void ExpectSame(std::string_view got, const char* format, double value) {
  char want[trelvan::FixedMaxChars + 8];
  const int n = std::snprintf(want, sizeof want, format, value);
  FUZZ_EXPECT(n > 0 && n < static_cast<int>(sizeof want));
  if (got != std::string_view(want, static_cast<std::size_t>(n))) {
    std::fprintf(stderr, "value %a: \"%.*s\" where snprintf(\"%s\") gives \"%s\"\n", value,
                 static_cast<int>(got.size()), got.data(), format, want);
    FUZZ_EXPECT(false);
  }
}

void CheckValue(double value) {
  char out[trelvan::FixedMaxChars];
  char* end = trelvan::AppendFixed6(out, value);
  ExpectSame(std::string_view(out, static_cast<std::size_t>(end - out)), "% 2.6f", value);
  end = trelvan::AppendFixed3(out, value);
  ExpectSame(std::string_view(out, static_cast<std::size_t>(end - out)), "% 4.3f", value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::setlocale(LC_ALL, "C");
  FuzzBytes bytes(data, size);
  while (!bytes.empty()) {
    switch (bytes.Take<uint8_t>() % 5) {
      case 0: {
        float f = bytes.Take<float>();
        CheckValue(f);
        FUZZ_EXPECT(trelvan::FormatFixed6(f).size() < trelvan::FixedFloatMaxChars);
        break;
      }
      case 1:
        CheckValue(bytes.Take<double>());
        break;
      case 2: {
        const uint32_t value = bytes.Take<uint32_t>();
        const int width = 1 + bytes.Take<uint8_t>() % 10;
        char out[trelvan::FixedMaxChars];
        char want[32];
        const char* end = trelvan::AppendZeroPadded(out, value, width);
        const int n = std::snprintf(want, sizeof want, "%0*u", width, value);
        FUZZ_EXPECT(std::string_view(out, static_cast<std::size_t>(end - out)) ==
                    std::string_view(want, static_cast<std::size_t>(n)));
        break;
      }
      case 3: {
        float row[8];
        for (float& v : row) v = bytes.Take<float>();
        char out[8 * trelvan::FixedFloatMaxChars];
        const char* end = trelvan::AppendFixed6Fields(out, row);
        if (end == nullptr) break;
        const char* at = out;
        for (float v : row) {
          char want[trelvan::FixedFloatMaxChars + 8];
          const int n = std::snprintf(want, sizeof want, "% 2.6f,   ", static_cast<double>(v));
          FUZZ_EXPECT(n > 0 && n <= end - at &&
                      std::string_view(at, static_cast<std::size_t>(n)) ==
                          std::string_view(want, static_cast<std::size_t>(n)));
          at += n;
        }
        FUZZ_EXPECT(at == end);
        break;
      }
      default: {
        const uint16_t value = bytes.Take<uint16_t>();
        char out[trelvan::FixedMaxChars];
        char want[16];
        const char* end = trelvan::AppendHex4(out, value);
        const int n = std::snprintf(want, sizeof want, "%04X", value);
        FUZZ_EXPECT(std::string_view(out, static_cast<std::size_t>(end - out)) ==
                    std::string_view(want, static_cast<std::size_t>(n)));
      }
    }
  }
  return 0;
}
