#pragma once
// The message log as a Rich Text Format document: one paragraph per line,
// each in its own colour; "\", "{" and "}" escaped, non-ASCII characters as
// Unicode escapes, so every character survives.

#include <cstdint>
#include <string>
#include <vector>

namespace trelvan {

struct LogLine {
  std::string text;  // UTF-8
  uint32_t colour;   // 0x00BBGGRR
};

std::string LogToRtf(const std::vector<LogLine>& lines);

// The log's save name: unchanged when ".txt" occurs anywhere in it
// (case-sensitive), otherwise with ".txt" appended.
std::string LogFileName(const std::string& chosen);

}  // namespace trelvan
