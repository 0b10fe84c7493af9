#include "acquisition/channel_factors.h"

#include <cctype>
#include <charconv>

#include "device/input_error.h"

namespace trelvan {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::optional<double> ParseDecimal(const std::string& text) {
  std::string canonical;
  canonical.reserve(text.size());
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') canonical += '-';
    ++i;
  }
  int digits = 0;
  bool seenSeparator = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      canonical += c;
      ++digits;
    } else if ((c == '.' || c == ',') && !seenSeparator) {
      canonical += '.';
      seenSeparator = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    canonical += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) canonical += text[i++];
    int exponentDigits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++exponentDigits) canonical += text[i];
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;

  double value = 0.0;
  const char* begin = canonical.data();
  const char* end = begin + canonical.size();
  auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::string NotAFloatMessage(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

void ReadChannelFactors(AcquisitionState& state, const FactorTexts& texts) {
  for (int c = 0; c < Channels; ++c) {
    const auto value = ParseDecimal(texts[c]);
    if (!value) throw InputError(NotAFloatMessage(texts[c]), InputBox::Factor, c);
    state.channelFactor[c] = static_cast<float>(*value);
  }
}

void CheckChannelFactors(const FactorTexts& texts) {
  for (int c = 0; c < Channels; ++c) {
    if (!ParseDecimal(texts[c])) throw InputError(NotAFloatMessage(texts[c]), InputBox::Factor, c);
  }
}

}  // namespace trelvan
