#include "app/parts/log_rtf.h"

#include <algorithm>

namespace trelvan {

namespace {

// Decodes one UTF-8 sequence at `i`; malformed bytes come out as U+FFFD.
char32_t NextCodePoint(const std::string& s, std::size_t& i) {
  const unsigned char b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  const int extra = (b0 >> 5) == 6 ? 1 : (b0 >> 4) == 14 ? 2 : (b0 >> 3) == 30 ? 3 : -1;
  if (extra < 0 || i + extra >= s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = b0 & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += extra + 1;
  return cp;
}

void AppendUnicode(std::string& out, char32_t cp) {
  const auto unit = [&](uint16_t u) {
    out += "\\u" + std::to_string(static_cast<int16_t>(u)) + "?";
  };
  if (cp > 0xFFFF) {
    cp -= 0x10000;
    unit(static_cast<uint16_t>(0xD800 + (cp >> 10)));
    unit(static_cast<uint16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    unit(static_cast<uint16_t>(cp));
  }
}

void AppendEscaped(std::string& out, const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = NextCodePoint(text, i);
    if (cp == '\\' || cp == '{' || cp == '}') {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (cp == '\t') {
      out += "\\tab ";
    } else if (cp >= 0x20 && cp < 0x7F) {
      out += static_cast<char>(cp);
    } else if (cp < 0x20) {
      continue;  // other control characters have no place in a log line
    } else {
      AppendUnicode(out, cp);
    }
  }
}

}  // namespace

std::string LogToRtf(const std::vector<LogLine>& lines) {
  std::vector<uint32_t> colours;
  for (const LogLine& line : lines) {
    if (std::find(colours.begin(), colours.end(), line.colour) == colours.end()) {
      colours.push_back(line.colour);
    }
  }
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Tahoma;}}\n{\\colortbl ;";
  for (uint32_t c : colours) {
    out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) +
           "\\blue" + std::to_string((c >> 16) & 0xFF) + ";";
  }
  out += "}\n\\pard\\f0\\fs17\n";
  for (const LogLine& line : lines) {
    const auto index = std::find(colours.begin(), colours.end(), line.colour) - colours.begin() + 1;
    out += "\\cf" + std::to_string(index) + " ";
    AppendEscaped(out, line.text);
    out += "\\par\n";
  }
  out += "}\n";
  return out;
}

std::string LogFileName(const std::string& chosen) {
  return chosen.find(".txt") != std::string::npos ? chosen : chosen + ".txt";
}

}  // namespace trelvan
