#pragma once
// The data table of the "Data" page: at most one page of 27 rows of the
// sample store in the text box, paged by the scroll bar, in volts or in
// hexadecimal codes; and the statistics panel beside it. It reads the store
// and the statistics and never writes them.

#include <array>
#include <cstdint>
#include <string>

#include "acquisition/sample_store.h"
#include "views/table_row_text.h"
#include "views/table_widgets.h"

namespace trelvan {

class DataTable {
 public:
  DataTable(const SampleStore& store, const std::array<ChannelStats, Channels>& stats,
            TableWidgetPorts widgets);

  // Paging state.
  bool hexView = false;
  uint32_t tableFirstRow = 0;   // store index of the first line
  uint32_t tableShownRows = 0;  // 0..27 lines shown
  uint32_t tableScrollPos = 0;  // the scroll position the table last saw

  // `newCycles` rows have just been appended (cycleCount counts them): shows
  // the newest rows, moves the scroll bar to the newest row and, unless the
  // "WaveForm" page is active, highlights the last line.
  void ShowNewestRows(uint32_t newCycles);
  // Max Vol, Min Vol and PK-PK of every channel.
  void ShowChannelStats();
  // Empties the box, shows no rows, scroll maximum 0, volts mode. Runs after
  // cycleCount has become 0. Ending hex view sets the caption "Switch to HEX".
  void ResetTableView();
  // Empties the 32 statistics boxes.
  void ClearStatsDisplay();

  // Event handlers.
  void ScrollBar1Change();
  void RichEdit2Click();
  void Button8Click();

  // Appends rows first .. first + count - 1 (count 0..27) below the lines in
  // the box, shows the newest row in the Current column and records the
  // scroll position.
  void RenderTableRows(uint32_t first, uint32_t count);
  // The Current column shows store row `row`.
  void ShowCurrentRow(uint32_t row);

 private:
  void Highlight(uint32_t line);
  void RenderPage(uint32_t first, uint32_t count);

  const SampleStore& store_;
  const std::array<ChannelStats, Channels>& stats_;
  TableWidgetPorts widgets_;
  std::string pageText_;  // room for a page of rows on their way to the box
};

}  // namespace trelvan
