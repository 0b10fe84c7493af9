#pragma once
// In-memory widgets for the data table. The scroll bar raises the table's
// change handler inside SetMaximum and SetPosition when its position changes,
// as the real widget does.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "views/table_widgets.h"

namespace trelvan::test {

struct FakeTextBox : TableTextBox {
  std::vector<std::string> lines;
  int clears = 0;
  int appends = 0;
  bool selected = false;
  uint32_t selectionStart = 0, selectionLength = 0;
  uint32_t caretLine = 0;

  void Clear() override {
    lines.clear();
    ++clears;
  }
  void AppendLines(std::string_view text) override {
    ++appends;
    for (std::size_t from = 0; from < text.size();) {
      const std::size_t end = text.find('\n', from);
      EXPECT_NE(end, std::string_view::npos) << "a line without its line break";
      if (end == std::string_view::npos) break;
      lines.emplace_back(text.substr(from, end - from));
      from = end + 1;
    }
  }
  void Select(uint32_t start, uint32_t length) override {
    selected = true;
    selectionStart = start;
    selectionLength = length;
  }
  uint32_t CaretLine() const override { return caretLine; }

  // The row labels shown, "L00000001" ..., in line order.
  std::vector<std::string> labels() const {
    std::vector<std::string> out;
    for (const std::string& line : lines) out.push_back(line.substr(0, 9));
    return out;
  }
};

struct FakeScrollBar : TableScrollBar {
  uint32_t maximum = 0, position = 0;
  int changes = 0;
  std::function<void()> onChange;

  void SetMaximum(uint32_t value) override {
    maximum = value;
    Move(std::min(position, maximum));
  }
  void SetPosition(uint32_t value) override { Move(std::min(value, maximum)); }
  uint32_t Position() const override { return position; }

  void Move(uint32_t value) {
    if (value == position) return;
    position = value;
    ++changes;
    if (onChange) onChange();
  }
};

struct FakeStatsBoxes : StatsBoxes {
  std::array<std::array<std::string, 8>, 4> texts;  // [column][channel]
  void SetText(StatsColumn column, int channel, std::string_view text) override {
    texts[static_cast<int>(column)][channel] = std::string(text);
  }
  const std::string& at(StatsColumn column, int channel) const {
    return texts[static_cast<int>(column)][channel];
  }
};

struct FakeSurroundings : TableSurroundings {
  std::string caption = "Switch to Hex";
  bool waveformActive = false;
  void SetModeCaption(std::string_view text) override { caption = std::string(text); }
  bool WaveformPageActive() const override { return waveformActive; }
};

// Labels "L<n>" of the 1-based cycle numbers of store rows first..last.
inline std::vector<std::string> LabelsOfRows(uint32_t first, uint32_t last) {
  std::vector<std::string> out;
  char text[16];
  for (uint32_t r = first; r <= last; ++r) {
    std::snprintf(text, sizeof text, "L%08u", r + 1);
    out.emplace_back(text);
  }
  return out;
}

}  // namespace trelvan::test
