// The Factor boxes' parser: whatever it accepts is a decimal number in the
// grammar the boxes allow (sign, digits with one "." or "," as the decimal
// separator, exponent) and has the value the C library's strtod gives for the
// same text with a point; whatever it refuses in that grammar is out of the
// double range. The first byte picks which separator the grammar check uses.

#include <cerrno>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "acquisition/channel_factors.h"
#include "fuzz_check.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Sign, digits with at most one `separator` (at least one digit), optional
// exponent with at least one digit; nothing else.
bool InGrammar(const std::string& text, char separator) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  int digits = 0;
  bool separatorSeen = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++digits;
    } else if (text[i] == separator && !separatorSeen) {
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t first = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == first) return false;
  }
  return i == text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::setlocale(LC_ALL, "C");
  const char separator = data[0] % 2 ? ',' : '.';
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  const auto value = trelvan::ParseDecimal(text);
  const bool grammar = InGrammar(text, separator) || InGrammar(text, separator == ',' ? '.' : ',');
  std::string pointed = text;
  for (char& c : pointed) {
    if (c == ',') c = '.';
  }
  errno = 0;
  char* end = nullptr;
  const double expected = grammar ? std::strtod(pointed.c_str(), &end) : 0.0;
  const bool overflow = grammar && errno == ERANGE;

  if (value) {
    FUZZ_EXPECT(grammar);
    FUZZ_EXPECT(end == pointed.c_str() + pointed.size());
    FUZZ_EXPECT(std::memcmp(&*value, &expected, sizeof expected) == 0);
  } else {
    FUZZ_EXPECT(!grammar || overflow);
  }
  FUZZ_EXPECT(trelvan::NotAFloatMessage(text) == "'" + text + "' is not a valid floating point value");
  return 0;
}
