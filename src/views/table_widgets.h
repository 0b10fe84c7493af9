#pragma once
// What the data table needs from its widgets: the text box, the vertical
// scroll bar, the 32 statistics boxes, the mode button and the page control.
// The window's adapter implements them on real widgets; tests on fakes.

#include <cstdint>
#include <string_view>

namespace trelvan {

// The read-only box that shows the table, one line per row.
class TableTextBox {
 public:
  virtual ~TableTextBox() = default;
  virtual void Clear() = 0;
  // Appends lines of text at the end; each line in `lines` ends with its
  // line break ('\n'). A page goes in one call: the box lays out once.
  virtual void AppendLines(std::string_view lines) = 0;
  // Selects `length` positions from `start`; every line break counts as one
  // position. The selection shows as the highlight.
  virtual void Select(uint32_t start, uint32_t length) = 0;
  // The line (0-based) the caret stands on.
  virtual uint32_t CaretLine() const = 0;
};

// ScrollBar1. Changing the maximum or the position from the program raises
// the table's ScrollBar1Change at once, inside the call, when the position
// changes (a lowered maximum clamps the position).
class TableScrollBar {
 public:
  virtual ~TableScrollBar() = default;
  virtual void SetMaximum(uint32_t maximum) = 0;
  // Clamped to 0..maximum.
  virtual void SetPosition(uint32_t position) = 0;
  virtual uint32_t Position() const = 0;
};

// Columns of the statistics panel "Voltage(V)".
enum class StatsColumn { Current, MaxVol, MinVol, PkPk };

class StatsBoxes {
 public:
  virtual ~StatsBoxes() = default;
  // channel 0..7 stands for AN1..AN8.
  virtual void SetText(StatsColumn column, int channel, std::string_view text) = 0;
};

// Button8, and whether the "WaveForm" page is the one shown.
class TableSurroundings {
 public:
  virtual ~TableSurroundings() = default;
  virtual void SetModeCaption(std::string_view caption) = 0;
  virtual bool WaveformPageActive() const = 0;
};

struct TableWidgetPorts {
  TableTextBox& textBox;
  TableScrollBar& scrollBar;
  StatsBoxes& statsBoxes;
  TableSurroundings& surroundings;
};

}  // namespace trelvan
